#include <gtest/gtest.h>

#include "process/vm_options.h"

TEST(VmOptions, EachLineFollowedByOneBlank) {
    EXPECT_EQ(joinVmOptionLines(""), "");
    EXPECT_EQ(joinVmOptionLines("A\n"), "A ");
    EXPECT_EQ(joinVmOptionLines("A\nB\n"), "A B ");
    EXPECT_EQ(joinVmOptionLines("A\nB"), "A B ");
}

TEST(VmOptions, CrLfReadsLikeLf) {
    EXPECT_EQ(joinVmOptionLines("-Xmx512m\r\n-Dname=\"two words\"\r\n"), joinVmOptionLines("-Xmx512m\n-Dname=\"two words\"\n"));
}

TEST(VmOptions, LinesAreVerbatimButCommentsAndBlankLinesAreSkipped) {
    EXPECT_EQ(joinVmOptionLines("  -Xmx1g  \n# a comment\n   #indented comment\n\n  \t \r\n-Da=#1"), "  -Xmx1g   -Da=#1 ");
}

TEST(VmOptions, ByteOrderMarkIsSkipped) {
    EXPECT_EQ(joinVmOptionLines("\xEF\xBB\xBF-Xmx1g\n"), "-Xmx1g ");
    EXPECT_EQ(joinVmOptionLines("-Da=\xEF\xBB\xBF"), "-Da=\xEF\xBB\xBF ");
}

TEST(VmOptions, LongLinesAreReadWholeAndLaterLinesKept) {
    std::string longLine(10000, 'x');
    EXPECT_EQ(joinVmOptionLines(longLine + "\n-Dlast=1"), longLine + " -Dlast=1 ");
}

TEST(VmOptions, EncodingIsUtf8WithAMarkOrWhenValidElseTheAnsiCodePage) {
    EXPECT_EQ(vmOptionsEncoding("\xEF\xBB\xBF-Dcity=\xC5\x81\xC3\xB3""d\xC5\xBA"), VmOptionsEncoding::Utf8);
    EXPECT_EQ(vmOptionsEncoding("-Dcity=\xC5\x81\xC3\xB3""d\xC5\xBA"), VmOptionsEncoding::Utf8);
    EXPECT_EQ(vmOptionsEncoding("-Xmx1g"), VmOptionsEncoding::Utf8);
    EXPECT_EQ(vmOptionsEncoding("-Dname=Caf\xE9"), VmOptionsEncoding::AnsiCodePage); // 1252
    EXPECT_EQ(vmOptionsEncoding("-Da=\xC3"), VmOptionsEncoding::AnsiCodePage);        // cut short
}

TEST(VmOptions, CrAloneEndsALineToo) {
    EXPECT_EQ(joinVmOptionLines("-Xmx1g\r-Da=1\r\r# note\r-Db=2"), "-Xmx1g -Da=1 -Db=2 ");
}

TEST(VmOptions, Utf16FilesWithAMarkReadLikeTheirUtf8Twins) {
    // "-Dcity=Łódź" CR LF "-Xmx1g", then a character outside the basic plane (U+1F600).
    std::u16string text = u"-Dcity=\u0141\u00F3d\u017A\r\n-Xmx1g\r\n-Dface=\U0001F600";
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char16_t unit : text) {
        little += static_cast<char>(unit & 0xFF);
        little += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit >> 8);
        big += static_cast<char>(unit & 0xFF);
    }
    ASSERT_EQ(vmOptionsEncoding(little), VmOptionsEncoding::Utf16LittleEndian);
    ASSERT_EQ(vmOptionsEncoding(big), VmOptionsEncoding::Utf16BigEndian);
    std::string twin = joinVmOptionLines("-Dcity=\xC5\x81\xC3\xB3""d\xC5\xBA\n-Xmx1g\n-Dface=\xF0\x9F\x98\x80");
    EXPECT_EQ(joinVmOptionLines(utf8FromUtf16File(little, VmOptionsEncoding::Utf16LittleEndian)), twin);
    EXPECT_EQ(joinVmOptionLines(utf8FromUtf16File(big + std::string(1, '\0'), VmOptionsEncoding::Utf16BigEndian)), twin);
    EXPECT_EQ(twin.find('\0'), std::string::npos);
}

TEST(VmOptions, Utf16WithoutAMarkIsToldByItsNulBytesAndAnythingWithANulCharacterIsRefused) {
    auto utf16 = [](const std::u16string& text, bool bigEndian) {
        std::string bytes;
        for (char16_t unit : text) {
            char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        return bytes;
    };
    // U+0100 has a NUL low byte: the first character, not a count of NULs, tells the order.
    std::u16string text = u"-Dname=\u0100\u0141\r\n[17] -Xss2m\r\n";
    std::string little = utf16(text, false), big = utf16(text, true);
    ASSERT_EQ(vmOptionsEncoding(little), VmOptionsEncoding::Utf16LittleEndian);
    ASSERT_EQ(vmOptionsEncoding(big), VmOptionsEncoding::Utf16BigEndian);
    std::string twin = "-Dname=\xC4\x80\xC5\x81\r\n[17] -Xss2m\r\n";
    EXPECT_EQ(utf8FromUtf16File(little, VmOptionsEncoding::Utf16LittleEndian), twin);
    EXPECT_EQ(utf8FromUtf16File(big, VmOptionsEncoding::Utf16BigEndian), twin);
    EXPECT_EQ(vmOptionsEncoding(little + "x"), VmOptionsEncoding::Unreadable);                       // odd length
    EXPECT_EQ(vmOptionsEncoding(little + std::string(2, '\0')), VmOptionsEncoding::Unreadable);      // a NUL character
    EXPECT_EQ(vmOptionsEncoding(utf16(u"\u0141-Da", false)), VmOptionsEncoding::Unreadable);         // no ASCII start
    EXPECT_EQ(vmOptionsEncoding(std::string("-Xmx1g\0\n", 8)), VmOptionsEncoding::Unreadable);       // UTF-8, a stray NUL
    EXPECT_EQ(vmOptionsEncoding("\xFF\xFE" + utf16(std::u16string(u"-D\0a", 4), false)), VmOptionsEncoding::Unreadable); // marked, a NUL
    EXPECT_EQ(vmOptionsEncoding(std::string("\0", 1)), VmOptionsEncoding::Unreadable);
}
