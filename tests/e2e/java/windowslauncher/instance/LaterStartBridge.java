package windowslauncher.instance;

import java.awt.Component;
import java.awt.Container;
import java.awt.Frame;
import java.awt.Rectangle;
import java.awt.Robot;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.lang.reflect.Method;
import java.net.InetAddress;
import java.net.ServerSocket;
import java.net.Socket;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.function.Consumer;

import javax.imageio.ImageIO;
import javax.swing.JLabel;
import javax.swing.SwingUtilities;

/**
 * For the end-to-end tests: the library in this machine's JDK, receiving what a later start under
 * Wine sends. A Linux JVM cannot open a Wine named pipe, so the application's test double opens
 * the pipe that the first start named to it and relays its bytes both ways to the loopback socket
 * here; the socket stands in for the pipe, and all behind it (reading, checking, answering,
 * handing over) is the library's own.
 *
 *   LaterStartBridge             registers with Instance.onStart and prints each delivery
 *   LaterStartBridge SHOT MAIN   runs the application MAIN (which registers itself), and after
 *                                each delivery prints its window's labels and saves the window
 *                                as the PNG file SHOT
 * It first prints "port=N"; each delivery as "delivered=HEX,HEX,..." (UTF-8 bytes in hex).
 */
public final class LaterStartBridge {
    private static final String CHANNEL = "\\\\.\\pipe\\bridged";

    public static void main(String[] args) throws Exception {
        ServerSocket server = new ServerSocket(0, 1, InetAddress.getLoopbackAddress());
        Instance.channels = name -> name.equals(CHANNEL) ? () -> connection(server.accept()) : null;
        System.setProperty(Instance.CHANNEL_PROPERTY, CHANNEL);
        if (args.length == 0) {
            if (!Instance.onStart(LaterStartBridge::print)) throw new IllegalStateException("not listening");
        } else {
            Method main = Class.forName(args[1]).getMethod("main", String[].class);
            main.invoke(null, (Object) new String[0]);
            while (Instance.HANDLER.get() == null) Thread.sleep(50);
            Consumer<List<String>> application = Instance.HANDLER.get();
            File shot = new File(args[0]);
            Instance.HANDLER.set(arguments -> {
                application.accept(arguments);
                print(arguments);
                showWindow(shot);
            });
        }
        System.out.println("port=" + server.getLocalPort());
        System.out.flush();
        // Until the test closes standard input.
        while (System.in.read() >= 0) {
            // nothing to do
        }
        System.exit(0); // also with the application's windows open
    }

    private static void print(List<String> arguments) {
        List<String> hex = new ArrayList<>();
        for (String argument : arguments) {
            StringBuilder bytes = new StringBuilder();
            for (byte b : argument.getBytes(StandardCharsets.UTF_8)) bytes.append(String.format("%02x", b));
            hex.add(bytes.toString());
        }
        System.out.println("delivered=" + String.join(",", hex));
        System.out.flush();
    }

    private static void showWindow(File shot) {
        try {
            // The application's own invokeLater runs first; then its window is as the user sees it.
            Thread.sleep(300);
            final List<String> labels = new ArrayList<>();
            final Rectangle[] bounds = new Rectangle[1];
            SwingUtilities.invokeAndWait(() -> {
                for (Frame frame : Frame.getFrames()) {
                    if (!frame.isShowing()) continue;
                    collectLabels(frame, labels);
                    bounds[0] = frame.getBounds();
                }
            });
            for (String label : labels) System.out.println("label=" + hexOf(label));
            if (bounds[0] != null) ImageIO.write(new Robot().createScreenCapture(bounds[0]), "png", shot);
            System.out.println("shot=" + (bounds[0] != null));
            System.out.flush();
        } catch (Exception e) {
            e.printStackTrace();
        }
    }

    private static String hexOf(String text) {
        StringBuilder bytes = new StringBuilder();
        for (byte b : text.getBytes(StandardCharsets.UTF_8)) bytes.append(String.format("%02x", b));
        return bytes.toString();
    }

    private static void collectLabels(Container container, List<String> labels) {
        for (Component component : container.getComponents()) {
            if (component instanceof JLabel) labels.add(((JLabel) component).getText());
            if (component instanceof Container) collectLabels((Container) component, labels);
        }
    }

    private static Listener.Connection connection(Socket socket) throws IOException {
        return new Listener.Connection() {
            @Override
            public InputStream input() throws IOException {
                return socket.getInputStream();
            }

            @Override
            public OutputStream output() throws IOException {
                return socket.getOutputStream();
            }

            @Override
            public void close() throws IOException {
                socket.close();
            }
        };
    }

    private LaterStartBridge() {
    }

}
