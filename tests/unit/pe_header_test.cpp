#include <gtest/gtest.h>

#include <string>

#include "base/little_endian.h"
#include "base/pe_header.h"
#include "configure/resources/pe_image.h"
#include "jvm/executable_machine.h"

namespace {

// An MZ header pointing at 0x80, the signature there and an x86_64 file header after it.
Bytes headerBytes() {
    Bytes bytes(0x80 + 4 + PeFileHeaderSize, 0);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = 0x80;
    bytes[0x80] = 'P';
    bytes[0x81] = 'E';
    little_endian::setWord(bytes, 0x84, PeMachineAmd64);
    little_endian::setWord(bytes, 0x86, 3);
    little_endian::setWord(bytes, 0x84 + 16, 240);
    little_endian::setWord(bytes, 0x84 + 18, 0x0022);
    return bytes;
}

std::string verdict(const Bytes& bytes) {
    Result<PeFileHeader> header = readPeFileHeader(bytes.data(), bytes.size());
    return header ? "read" : header.failure().what;
}

} // namespace

TEST(PeHeader, FieldsAreReadWhereTheMzHeaderSays) {
    Bytes bytes = headerBytes();
    Result<PeFileHeader> header = readPeFileHeader(bytes.data(), bytes.size());
    ASSERT_TRUE(header);
    EXPECT_EQ(header.value().offset, 0x84u);
    EXPECT_EQ(header.value().machine, PeMachineAmd64);
    EXPECT_EQ(header.value().sectionCount, 3u);
    EXPECT_EQ(header.value().optionalHeaderSize, 240u);
    EXPECT_EQ(header.value().characteristics, 0x0022u);
}

// The launcher's reader of a runtime's machine and the tool's reader of an executable take the
// same bytes for a header, and refuse the same ones.
TEST(PeHeader, LauncherAndToolReadTheSameBytesAsAHeader) {
    Bytes whole = headerBytes();
    Bytes cutFileHeader(whole.begin(), whole.end() - 1);
    Bytes noMz = whole;
    noMz[1] = 'X';
    Bytes wrapping = whole;
    little_endian::setDword(wrapping, 0x3C, 0xFFFFFFFEu);
    Bytes pastTheEnd = whole;
    little_endian::setDword(pastTheEnd, 0x3C, static_cast<std::uint32_t>(whole.size()));
    Bytes noSignature = whole;
    noSignature[0x82] = 'X';
    struct Case {
        const char* name;
        Bytes bytes;
        std::string verdict;
    };
    const std::string notMz = "not a Windows executable (no MZ header)";
    const std::string notPe = "not a PE executable (no PE signature)";
    for (const Case& c : {Case{"whole", whole, "read"}, Case{"MZ header only", Bytes(whole.begin(), whole.begin() + 0x40), notPe},
                          Case{"MZ header cut", Bytes(whole.begin(), whole.begin() + 0x3F), notMz},
                          Case{"file header cut", cutFileHeader, notPe}, Case{"no MZ", noMz, notMz},
                          Case{"offset wraps", wrapping, notPe}, Case{"offset past the end", pastTheEnd, notPe},
                          Case{"no signature", noSignature, notPe}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(verdict(c.bytes), c.verdict);
        std::string head(c.bytes.begin(), c.bytes.end());
        EXPECT_EQ(machineOfExecutable(head), c.verdict == "read" ? Machine::X64 : Machine::Unknown);
        Result<PeImage> image = PeImage::parse(c.bytes);
        ASSERT_FALSE(image); // no optional header: no executable for the tool, even when its header reads
        if (c.verdict != "read") {
            EXPECT_EQ(image.failure().what, c.verdict);
        }
    }
}
