package windowslauncher.instance;

import java.io.FileInputStream;
import java.io.FileNotFoundException;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.io.RandomAccessFile;

/**
 * The launcher's named pipe (\\.\pipe\...), opened as a file: each later start creates it for
 * one delivery, only for this user and only for local clients. While no later start waits, the
 * name does not exist and opening it fails at once.
 */
final class PipeChannel implements Listener.Channel {
    private final String name;

    PipeChannel(String name) {
        this.name = name;
    }

    @Override
    public Listener.Connection open() throws IOException {
        final RandomAccessFile pipe;
        try {
            pipe = new RandomAccessFile(name, "rw");
        } catch (FileNotFoundException nobodyWaits) {
            return null;
        }
        return new Listener.Connection() {
            @Override
            public InputStream input() throws IOException {
                return new FileInputStream(pipe.getFD());
            }

            @Override
            public OutputStream output() throws IOException {
                return new FileOutputStream(pipe.getFD());
            }

            @Override
            public void close() throws IOException {
                pipe.close();
            }
        };
    }
}
