package hello.modular;

import java.awt.Font;
import java.awt.GraphicsEnvironment;

import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.SwingConstants;
import javax.swing.SwingUtilities;

/**
 * A window that says hello from the module it runs in, with the arguments it was started with;
 * without a display ({@code -Djava.awt.headless=true}) it prints that instead.
 */
public final class Hello {
    private Hello() {
    }

    public static void main(String[] args) {
        String module = Hello.class.getModule().getName();
        String greeting = "Hello from module " + module + (args.length == 0 ? "" : ", " + String.join(" ", args));
        if (GraphicsEnvironment.isHeadless()) {
            System.out.println(greeting);
            return;
        }
        SwingUtilities.invokeLater(() -> {
            JFrame frame = new JFrame("Hello Modular");
            JLabel label = new JLabel(greeting, SwingConstants.CENTER);
            label.setFont(label.getFont().deriveFont(Font.BOLD, 20f));
            frame.add(label);
            frame.setDefaultCloseOperation(JFrame.EXIT_ON_CLOSE);
            frame.setSize(420, 160);
            frame.setLocationRelativeTo(null);
            frame.setVisible(true);
        });
    }
}
