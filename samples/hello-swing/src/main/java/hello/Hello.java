package hello;

import java.awt.Font;
import java.awt.GraphicsEnvironment;

import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.SwingConstants;
import javax.swing.SwingUtilities;

/**
 * A window that says the greeting its launcher gives (or hello), and the arguments it was started
 * with; without a display ({@code -Djava.awt.headless=true}) it prints them instead.
 */
public final class Hello {
    private Hello() {
    }

    public static void main(String[] args) {
        String hello = System.getProperty("hello.greeting", "Hello");
        String greeting = args.length == 0 ? hello : hello + ", " + String.join(" ", args);
        if (GraphicsEnvironment.isHeadless()) {
            System.out.println(greeting);
            return;
        }
        SwingUtilities.invokeLater(() -> {
            JFrame frame = new JFrame("Hello Swing");
            JLabel label = new JLabel(greeting, SwingConstants.CENTER);
            label.setFont(label.getFont().deriveFont(Font.BOLD, 24f));
            frame.add(label);
            frame.setDefaultCloseOperation(JFrame.EXIT_ON_CLOSE);
            frame.setSize(360, 160);
            frame.setLocationRelativeTo(null);
            frame.setVisible(true);
        });
    }
}
