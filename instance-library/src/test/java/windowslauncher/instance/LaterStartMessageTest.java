package windowslauncher.instance;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertNull;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.Random;
import java.util.zip.CRC32;

import org.junit.Test;

public class LaterStartMessageTest {
    /** A message as the launcher writes it (its own unit tests hold the same golden bytes). */
    static byte[] message(List<String> arguments) {
        ByteArrayOutputStream payload = new ByteArrayOutputStream();
        writeU32(payload, arguments.size());
        for (String argument : arguments) {
            byte[] bytes = argument.getBytes(StandardCharsets.UTF_8);
            writeU32(payload, bytes.length);
            payload.write(bytes, 0, bytes.length);
        }
        return frame("ARG1", payload.toByteArray());
    }

    static byte[] frame(String magic, byte[] payload) {
        CRC32 crc = new CRC32();
        crc.update(payload);
        ByteBuffer buffer = ByteBuffer.allocate(8 + payload.length + 4).order(ByteOrder.LITTLE_ENDIAN);
        buffer.put(magic.getBytes(StandardCharsets.US_ASCII)).putInt(payload.length).put(payload)
                .putInt((int) crc.getValue());
        return buffer.array();
    }

    private static void writeU32(ByteArrayOutputStream out, int value) {
        for (int shift = 0; shift < 32; shift += 8) out.write(value >>> shift);
    }

    private static final class Received {
        final List<String> arguments;
        final byte[] answer;

        Received(InputStream in) throws IOException {
            ByteArrayOutputStream out = new ByteArrayOutputStream();
            arguments = LaterStartMessage.receive(in, out);
            answer = out.toByteArray();
        }
    }

    private static Received receive(byte[] bytes) throws IOException {
        return new Received(new ByteArrayInputStream(bytes));
    }

    private static final byte[] ACCEPTED = {'A'};
    private static final byte[] REFUSED = {'R'};

    @Test
    public void everyArgumentArrivesExactlyAndIsAccepted() throws IOException {
        List<String> arguments = Arrays.asList("C:\\my docs\\Grüße – 報告 😀.myapp", "", "--read-only", "a\"b\\");
        Received received = receive(message(arguments));
        assertEquals(arguments, received.arguments);
        assertArrayEquals(ACCEPTED, received.answer);

        Received none = receive(message(Collections.<String>emptyList()));
        assertEquals(Collections.emptyList(), none.arguments);
        assertArrayEquals(ACCEPTED, none.answer);
    }

    @Test
    public void theLaunchersGoldenBytesReadAsItsArguments() throws IOException {
        String hex = "4152473111000000020000000300000061206202000000c39c205df85a";
        byte[] golden = new byte[hex.length() / 2];
        for (int i = 0; i < golden.length; i++) golden[i] = (byte) Integer.parseInt(hex.substring(2 * i, 2 * i + 2), 16);
        assertArrayEquals(golden, message(Arrays.asList("a b", "Ü")));
        assertEquals(Arrays.asList("a b", "Ü"), receive(golden).arguments);
    }

    @Test
    public void aMessageAtTheLimitIsTakenOneAboveIsRefusedUnread() throws IOException {
        int overhead = message(Collections.singletonList("")).length;
        char[] fill = new char[LaterStartMessage.LIMIT - overhead];
        Arrays.fill(fill, 'x');
        byte[] atLimit = message(Collections.singletonList(new String(fill)));
        assertEquals(LaterStartMessage.LIMIT, atLimit.length);
        assertEquals(new String(fill), receive(atLimit).arguments.get(0));

        byte[] above = message(Collections.singletonList(new String(fill) + "x"));
        Received refused = receive(above);
        assertNull(refused.arguments);
        assertArrayEquals(REFUSED, refused.answer);

        // A header that claims 4 GB is refused at once: nothing behind it is waited for or kept.
        byte[] huge = {'A', 'R', 'G', '1', (byte) 0xFF, (byte) 0xFF, (byte) 0xFF, (byte) 0xFF};
        Received hugeRefused = receive(huge);
        assertNull(hugeRefused.arguments);
        assertArrayEquals(REFUSED, hugeRefused.answer);
    }

    @Test
    public void malformedMessagesAreRefusedAndDeliverNothing() throws IOException {
        byte[] good = message(Arrays.asList("one", "two"));
        byte[] badMagic = good.clone();
        badMagic[3] = '2';
        byte[] badChecksum = good.clone();
        badChecksum[good.length - 1] ^= 1;
        byte[] flipped = good.clone();
        flipped[14] ^= 0x20; // a payload byte: the checksum no longer fits
        byte[] tooMany = frame("ARG1", new byte[] {(byte) 0xFF, (byte) 0xFF, 0, 0});
        byte[] overrun = frame("ARG1", new byte[] {1, 0, 0, 0, 9, 0, 0, 0, 'a'});
        byte[] trailing = frame("ARG1", new byte[] {0, 0, 0, 0, 'x'});
        byte[] notUtf8 = frame("ARG1", new byte[] {1, 0, 0, 0, 2, 0, 0, 0, (byte) 0xC3, 0x28});
        byte[] surrogate = frame("ARG1", new byte[] {1, 0, 0, 0, 3, 0, 0, 0, (byte) 0xED, (byte) 0xA0, (byte) 0x80});
        byte[] shortPayload = frame("ARG1", new byte[] {0, 0});
        for (byte[] bytes : Arrays.asList(badMagic, badChecksum, flipped, tooMany, overrun, trailing, notUtf8,
                surrogate, shortPayload)) {
            Received received = receive(bytes);
            assertNull(received.arguments);
            assertArrayEquals(REFUSED, received.answer);
        }
    }

    @Test
    public void aMessageCutShortIsNeitherDeliveredNorAnswered() throws IOException {
        byte[] good = message(Arrays.asList("one", "two"));
        for (int length : new int[] {0, 3, 8, good.length - 1}) {
            Received received = receive(Arrays.copyOf(good, length));
            assertNull(received.arguments);
            assertEquals(0, received.answer.length);
        }
    }

    @Test
    public void damagedMessagesNeverFailLoudlyAndWhatIsTakenIsExactlyWhatWasSent() throws IOException {
        Random random = new Random(26);
        byte[] good = message(Arrays.asList("C:\\docs\\a b.txt", "Grüße", "", "😀"));
        int accepted = 0;
        for (int round = 0; round < 20000; round++) {
            byte[] bytes = Arrays.copyOf(good, round % 7 == 0 ? random.nextInt(good.length + 8) : good.length);
            for (int flips = random.nextInt(4); flips > 0 && bytes.length > 0; flips--)
                bytes[random.nextInt(bytes.length)] ^= (byte) (1 << random.nextInt(8));
            // A damaged length may still be fixed up with a checksum that fits: the parser behind it is reached.
            if (round % 3 == 0 && bytes.length >= 12) bytes = frame("ARG1", Arrays.copyOfRange(bytes, 8, bytes.length - 4));
            Received received = receive(bytes);
            assertEquals(received.arguments == null ? 0 : 1, received.answer.length == 1 && received.answer[0] == 'A' ? 1 : 0);
            if (received.arguments != null) {
                // One message is read per connection; bytes behind it are left unread.
                byte[] taken = message(received.arguments);
                assertArrayEquals(Arrays.copyOf(bytes, taken.length), taken);
                accepted++;
            }
        }
        // Some damage leaves a valid message (a flipped bit in an argument with its checksum renewed).
        org.junit.Assert.assertTrue(accepted > 0);
    }
}
