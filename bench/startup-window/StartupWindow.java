import java.awt.BorderLayout;
import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;

import javax.swing.JButton;
import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.JScrollPane;
import javax.swing.JTable;
import javax.swing.JTextField;
import javax.swing.SwingUtilities;
import javax.swing.table.DefaultTableModel;

/**
 * A small desktop window (a label, a text field, a button and a table) that prints the time its
 * window opened ("opened MILLIS", wall-clock milliseconds) and ends normally, so that a cache
 * written at exit is written.
 */
public final class StartupWindow {
    private StartupWindow() {
    }

    public static void main(String[] args) {
        SwingUtilities.invokeLater(() -> {
            JFrame frame = new JFrame("Startup");
            JPanel top = new JPanel();
            top.add(new JLabel("Name:"));
            top.add(new JTextField(16));
            top.add(new JButton("Add"));
            DefaultTableModel model = new DefaultTableModel(new Object[] {"Item", "Count"}, 0);
            for (int i = 0; i < 20; i++) model.addRow(new Object[] {"Row " + i, i});
            frame.add(top, BorderLayout.NORTH);
            frame.add(new JScrollPane(new JTable(model)), BorderLayout.CENTER);
            frame.addWindowListener(new WindowAdapter() {
                @Override
                public void windowOpened(WindowEvent event) {
                    System.out.println("opened " + System.currentTimeMillis());
                    System.out.flush();
                    frame.dispose();
                    System.exit(0);
                }
            });
            frame.pack();
            frame.setVisible(true);
        });
    }
}
