package windowslauncher.instance;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.Deque;
import java.util.List;
import java.util.concurrent.atomic.AtomicReference;
import java.util.function.Consumer;

import org.junit.Test;

public class ListenerTest {
    /** Later starts waiting in turn, each with the bytes it sends; then none. */
    private static final class Waiting implements Listener.Channel {
        final Deque<Listener.Connection> connections = new ArrayDeque<>();
        final List<ByteArrayOutputStream> answers = new ArrayList<>();

        Waiting send(byte[] bytes) {
            ByteArrayOutputStream answer = new ByteArrayOutputStream();
            answers.add(answer);
            connections.add(connection(new ByteArrayInputStream(bytes), answer));
            return this;
        }

        Waiting sendToOneWhoLeft(byte[] bytes) {
            OutputStream gone = new OutputStream() {
                @Override
                public void write(int b) throws IOException {
                    throw new IOException("The pipe has been ended");
                }
            };
            connections.add(connection(new ByteArrayInputStream(bytes), gone));
            return this;
        }

        @Override
        public Listener.Connection open() {
            return connections.poll();
        }

        private static Listener.Connection connection(InputStream in, OutputStream out) {
            return new Listener.Connection() {
                @Override
                public InputStream input() {
                    return in;
                }

                @Override
                public OutputStream output() {
                    return out;
                }

                @Override
                public void close() {
                }
            };
        }
    }

    private static List<List<String>> serveAll(Waiting waiting, Consumer<List<String>> also) {
        List<List<String>> delivered = new ArrayList<>();
        AtomicReference<Consumer<List<String>>> handler = new AtomicReference<>(arguments -> {
            delivered.add(arguments);
            also.accept(arguments);
        });
        Listener listener = new Listener(waiting, handler);
        while (listener.serveOne()) {
            // each waiting later start in turn
        }
        return delivered;
    }

    @Test
    public void eachWholeMessageIsDeliveredOnceTheRestNot() {
        Waiting waiting = new Waiting().send(LaterStartMessageTest.message(Arrays.asList("first.myapp")))
                .send(new byte[] {'A', 'R', 'G', '1', 1}) // cut short
                .send(new byte[] {'J', 'U', 'N', 'K', 0, 0, 0, 0})
                .sendToOneWhoLeft(LaterStartMessageTest.message(Arrays.asList("never.myapp")))
                .send(LaterStartMessageTest.message(Arrays.asList("zweite Datei.myapp", "€")));
        List<List<String>> delivered = serveAll(waiting, arguments -> {
        });
        assertEquals(Arrays.asList(Collections.singletonList("first.myapp"), Arrays.asList("zweite Datei.myapp", "€")),
                delivered);
        assertEquals("A", waiting.answers.get(0).toString());
        assertEquals("", waiting.answers.get(1).toString());
        assertEquals("R", waiting.answers.get(2).toString());
        assertEquals("A", waiting.answers.get(3).toString());
    }

    @Test
    public void aHandlerThatFailsDoesNotEndTheListening() {
        Thread.currentThread().setUncaughtExceptionHandler((thread, e) -> {
        });
        try {
            Waiting waiting = new Waiting().send(LaterStartMessageTest.message(Arrays.asList("bad")))
                    .send(LaterStartMessageTest.message(Arrays.asList("good")));
            List<List<String>> delivered = serveAll(waiting, arguments -> {
                if (arguments.get(0).equals("bad")) throw new IllegalStateException("the application's fault");
            });
            assertEquals(Arrays.asList(Collections.singletonList("bad"), Collections.singletonList("good")), delivered);
        } finally {
            Thread.currentThread().setUncaughtExceptionHandler(null);
        }
    }

    @Test
    public void withoutTheLaunchersChannelNothingListens() {
        System.clearProperty(Instance.CHANNEL_PROPERTY);
        assertFalse(Instance.onStart(arguments -> {
        }));
        System.setProperty(Instance.CHANNEL_PROPERTY, "/tmp/not-a-pipe");
        try {
            assertFalse(Instance.onStart(arguments -> {
            }));
        } finally {
            System.clearProperty(Instance.CHANNEL_PROPERTY);
        }
        assertTrue(new Listener(() -> null, new AtomicReference<>()).serveOne() == false);
    }
}
