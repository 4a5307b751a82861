package windowslauncher.instance;

import java.util.List;
import java.util.concurrent.atomic.AtomicReference;
import java.util.function.Consumer;
import java.util.function.Function;

/**
 * The arguments of later starts of a single-instance launcher, for the application that the
 * first start runs.
 *
 * <p>With {@code single_instance} on, a later start of the launcher starts no second application:
 * it hands its arguments to this one. Register once, early in {@code main}:
 *
 * <pre>{@code
 * Instance.onStart(args -> SwingUtilities.invokeLater(() -> open(args)));
 * }</pre>
 *
 * The handler runs on a thread of its own (a daemon thread: listening ends with the
 * application), once for each later start, with that start's arguments as given (an empty list
 * when there are none, or when the launcher does not pass arguments).
 */
public final class Instance {
    /** The system property in which the launcher names where later starts deliver. */
    public static final String CHANNEL_PROPERTY = "windowslauncher.instance.channel";

    static final AtomicReference<Consumer<List<String>>> HANDLER = new AtomicReference<>();
    private static Thread listening;
    /** The channel for a name; null where there is none (a pipe name off Windows). */
    static Function<String, Listener.Channel> channels = Instance::pipeOnWindows;

    private Instance() {
    }

    /**
     * Calls {@code handler} with the arguments of each later start; a later call replaces the
     * handler. Returns whether later starts can reach this application: false when it was not
     * started by a single-instance launcher (then the handler is never called).
     */
    public static synchronized boolean onStart(Consumer<List<String>> handler) {
        if (handler == null) throw new NullPointerException("handler");
        if (listening == null) {
            Listener.Channel channel = channels.apply(System.getProperty(CHANNEL_PROPERTY, ""));
            if (channel == null) return false;
            listening = new Thread(new Listener(channel, HANDLER), "later starts");
            listening.setDaemon(true);
            listening.start();
        }
        HANDLER.set(handler);
        return true;
    }

    private static Listener.Channel pipeOnWindows(String name) {
        boolean windows = System.getProperty("os.name", "").startsWith("Windows");
        return windows && name.startsWith("\\\\.\\pipe\\") ? new PipeChannel(name) : null;
    }
}
