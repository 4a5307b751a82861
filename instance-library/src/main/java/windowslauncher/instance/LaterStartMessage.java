package windowslauncher.instance;

import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.zip.CRC32;

/**
 * One later start's message, as the launcher writes it, little-endian throughout:
 * "ARG1", the payload's length (u32), the payload, its CRC-32 (u32); the payload is the argument
 * count (u32), then each argument's length (u32) and its UTF-8 bytes. At most {@link #LIMIT}
 * bytes in all. The answer is one byte: {@link #ACCEPTED} or {@link #REFUSED}.
 */
final class LaterStartMessage {
    static final int LIMIT = 64 * 1024;
    static final int ACCEPTED = 'A';
    static final int REFUSED = 'R';
    private static final int HEADER = 8;
    private static final int TRAILER = 4;
    private static final byte[] MAGIC = {'A', 'R', 'G', '1'};

    private LaterStartMessage() {
    }

    /**
     * Reads one message and answers it. The arguments once the whole message has arrived intact
     * and its acceptance was written; null for a message cut short, malformed or too large
     * (refused, when the sender still listens), and nothing of it reaches the application.
     */
    static List<String> receive(InputStream in, OutputStream out) throws IOException {
        byte[] header = readExactly(in, HEADER);
        if (header == null) return null;
        long length = u32(header, 4);
        if (!startsWithMagic(header) || length < 4 || length > LIMIT - HEADER - TRAILER) return refuse(out);
        byte[] rest = readExactly(in, (int) length + TRAILER);
        if (rest == null) return null;
        CRC32 crc = new CRC32();
        crc.update(rest, 0, (int) length);
        if (crc.getValue() != u32(rest, (int) length)) return refuse(out);
        List<String> arguments = arguments(rest, (int) length);
        if (arguments == null) return refuse(out);
        out.write(ACCEPTED);
        out.flush();
        return arguments;
    }

    private static List<String> arguments(byte[] payload, int length) {
        long count = u32(payload, 0);
        // Each argument takes at least its four length bytes.
        if (count > (length - 4) / 4) return null;
        List<String> arguments = new ArrayList<>((int) count);
        int at = 4;
        for (long i = 0; i < count; i++) {
            if (length - at < 4) return null;
            long size = u32(payload, at);
            at += 4;
            if (size > length - at) return null;
            String argument = strictUtf8(payload, at, (int) size);
            if (argument == null) return null;
            arguments.add(argument);
            at += (int) size;
        }
        return at == length ? Collections.unmodifiableList(arguments) : null;
    }

    private static String strictUtf8(byte[] bytes, int offset, int length) {
        try {
            return StandardCharsets.UTF_8.newDecoder().onMalformedInput(CodingErrorAction.REPORT)
                    .onUnmappableCharacter(CodingErrorAction.REPORT).decode(ByteBuffer.wrap(bytes, offset, length))
                    .toString();
        } catch (CharacterCodingException e) {
            return null;
        }
    }

    private static List<String> refuse(OutputStream out) {
        try {
            out.write(REFUSED);
            out.flush();
        } catch (IOException gone) {
            // The sender has gone; nothing was delivered either way.
        }
        return null;
    }

    private static boolean startsWithMagic(byte[] header) {
        for (int i = 0; i < MAGIC.length; i++)
            if (header[i] != MAGIC[i]) return false;
        return true;
    }

    private static long u32(byte[] bytes, int at) {
        return (bytes[at] & 0xFFL) | (bytes[at + 1] & 0xFFL) << 8 | (bytes[at + 2] & 0xFFL) << 16
                | (bytes[at + 3] & 0xFFL) << 24;
    }

    /** Exactly {@code count} bytes, or null when the stream ends before. */
    private static byte[] readExactly(InputStream in, int count) throws IOException {
        byte[] bytes = new byte[count];
        int done = 0;
        while (done < count) {
            int read = in.read(bytes, done, count - done);
            if (read < 0) return null;
            done += read;
        }
        return bytes;
    }
}
