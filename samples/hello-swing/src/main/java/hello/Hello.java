package hello;

import java.awt.Font;
import java.awt.GraphicsEnvironment;

import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.SwingConstants;
import javax.swing.SwingUtilities;

import windowslauncher.instance.Instance;

/**
 * A window that says the greeting its launcher gives (or hello), and the arguments it was started
 * with; a later start of its launcher shows its own arguments in the same window. Without a
 * display ({@code -Djava.awt.headless=true}) it prints them instead.
 */
public final class Hello {
    private Hello() {
    }

    public static void main(String[] args) {
        String hello = System.getProperty("hello.greeting", "Hello");
        if (GraphicsEnvironment.isHeadless()) {
            System.out.println(greeting(hello, args));
            return;
        }
        SwingUtilities.invokeLater(() -> {
            JFrame frame = new JFrame("Hello Swing");
            JLabel label = new JLabel(greeting(hello, args), SwingConstants.CENTER);
            label.setFont(label.getFont().deriveFont(Font.BOLD, 24f));
            frame.add(label);
            frame.setDefaultCloseOperation(JFrame.EXIT_ON_CLOSE);
            frame.setSize(360, 160);
            frame.setLocationRelativeTo(null);
            frame.setVisible(true);
            // The launcher's later starts (single_instance) arrive on a thread of their own.
            Instance.onStart(later -> SwingUtilities.invokeLater(() -> {
                label.setText(greeting(hello, later.toArray(new String[0])));
                // Wide enough for a long document path.
                frame.setSize(Math.max(360, label.getPreferredSize().width + 40), 160);
                frame.toFront();
            }));
        });
    }

    private static String greeting(String hello, String[] args) {
        return args.length == 0 ? hello : hello + ", " + String.join(" ", args);
    }
}
