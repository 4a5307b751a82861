#include <gtest/gtest.h>

#include "base/utf8.h"

namespace {

// Shift-JIS in miniature: 0x81 to 0x9F lead a two-byte character whose trail may be 0x5C ('\').
bool shiftJisLead(unsigned char byte) { return byte >= 0x81 && byte <= 0x9F; }

} // namespace

TEST(Utf8, RoundTripsEveryPlane) {
    const std::string text = "C:\\Users\\\xC5\x81ukasz\\\xD0\x9F\xD1\x80\xD0\xB8\\\xE3\x82\xA2\xE3\x83\x97\xE3\x83\xAA "
                             "\xF0\x9F\x98\x80";
    std::u16string wide = utf16FromUtf8(text);
    EXPECT_EQ(wide, u"C:\\Users\\\u0141ukasz\\\u041f\u0440\u0438\\\u30a2\u30d7\u30ea \U0001F600");
    EXPECT_EQ(utf8FromUtf16(wide), text);
}

TEST(Utf8, InvalidSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(utf16FromUtf8("a\x80z"), u"a\uFFFDz");          // a lone continuation byte
    EXPECT_EQ(utf16FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");    // an overlong NUL
    EXPECT_EQ(utf16FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // a surrogate
    EXPECT_EQ(utf16FromUtf8("Caf\xE9"), u"Caf\uFFFD");        // 1252, not UTF-8
    EXPECT_EQ(utf16FromUtf8("\xE3\x82"), u"\uFFFD\uFFFD");    // cut short
    EXPECT_EQ(utf8FromUtf16(u"\xD800x"), "\xEF\xBF\xBDx");    // an unpaired surrogate
}

TEST(Utf8, ValidityIsStrict) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("-Dcity=\xC5\x81\xC3\xB3" "d\xC5\xBA \xEF\xBF\xBD"));
    EXPECT_FALSE(isValidUtf8("-Dname=Caf\xE9"));
    EXPECT_FALSE(isValidUtf8("\xF5\x80\x80\x80"));
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));
}

TEST(Utf8, NextCharacterStepsOverWholeSequences) {
    const char* text = "\xC5\x81-\xF0\x9F\x98\x80/\x80";
    const char* at = nextUtf8Char(text);
    EXPECT_EQ(at, text + 2);
    EXPECT_EQ(at = nextUtf8Char(nextUtf8Char(at)), text + 7);
    EXPECT_EQ(at = nextUtf8Char(nextUtf8Char(at)), text + 9);
    EXPECT_EQ(nextUtf8Char(at), at);
}

TEST(Utf8, DoubleByteCharacterSplitBetweenReadsWaitsForItsTrailByte) {
    EXPECT_EQ(wholeDoubleByteCharacters("ab\x81", 3, shiftJisLead), 2u);
    EXPECT_EQ(wholeDoubleByteCharacters("\x81\x5C", 2, shiftJisLead), 2u);
    EXPECT_EQ(wholeDoubleByteCharacters("a\x81\x5C\x81", 4, shiftJisLead), 3u);
    EXPECT_EQ(wholeDoubleByteCharacters("\x5C\x5C", 2, shiftJisLead), 2u);
    EXPECT_EQ(wholeDoubleByteCharacters("", 0, shiftJisLead), 0u);
}
