package windowslauncher.instance;

import java.io.Closeable;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.util.List;
import java.util.concurrent.atomic.AtomicReference;
import java.util.function.Consumer;

/** Takes later starts' messages, one connection at a time, and hands each to the handler. */
final class Listener implements Runnable {
    /** How often the channel is tried while no later start waits on it. */
    static final long POLL_MILLISECONDS = 100;

    /** Where later starts wait: a connection to one of them, or null when none waits now. */
    interface Channel {
        Connection open() throws IOException;
    }

    interface Connection extends Closeable {
        InputStream input() throws IOException;

        OutputStream output() throws IOException;
    }

    private final Channel channel;
    private final AtomicReference<Consumer<List<String>>> handler;

    Listener(Channel channel, AtomicReference<Consumer<List<String>>> handler) {
        this.channel = channel;
        this.handler = handler;
    }

    @Override
    public void run() {
        while (!Thread.currentThread().isInterrupted()) {
            if (!serveOne()) {
                try {
                    Thread.sleep(POLL_MILLISECONDS);
                } catch (InterruptedException e) {
                    return;
                }
            }
        }
    }

    /** Serves the later start that waits now, if one does; false when none did. */
    boolean serveOne() {
        List<String> arguments;
        try (Connection connection = channel.open()) {
            if (connection == null) return false;
            arguments = LaterStartMessage.receive(connection.input(), connection.output());
        } catch (IOException e) {
            // A later start that went away mid-way delivered nothing; the next one may.
            return true;
        }
        if (arguments != null) deliver(arguments);
        return true;
    }

    private void deliver(List<String> arguments) {
        try {
            handler.get().accept(arguments);
        } catch (RuntimeException e) {
            // The application's fault must not end its listening for later starts.
            Thread thread = Thread.currentThread();
            thread.getUncaughtExceptionHandler().uncaughtException(thread, e);
        }
    }
}
