#include <gtest/gtest.h>

#include "launcher/switches.h"

namespace {

const char* singleByte(const char* at) { return at + 1; }
// A double-byte code page in miniature: 0x81 leads a two-byte character.
const char* withLeadByte(const char* at) {
    return (static_cast<unsigned char>(*at) == 0x81 && at[1]) ? at + 2 : at + 1;
}

SwitchAction scan(const char* line) { return scanSwitches(line, singleByte); }

} // namespace

TEST(Switches, NoSwitchWithoutHyphenOrSlash) {
    EXPECT_EQ(scan(""), SwitchAction::None);
    EXPECT_EQ(scan("file.txt other"), SwitchAction::None);
    EXPECT_EQ(scanSwitches(nullptr, singleByte), SwitchAction::None);
}

TEST(Switches, ConsoleAndDebugInEitherCaseAndSeparator) {
    for (const char* line : {"-c", "/c", "-C", "/C"}) EXPECT_EQ(scan(line), SwitchAction::ConsoleJava) << line;
    for (const char* line : {"-d", "/d", "-D", "/D"}) EXPECT_EQ(scan(line), SwitchAction::DebugLog) << line;
}

TEST(Switches, EverythingElseShowsUsage) {
    for (const char* line : {"-h", "/h", "-?", "/?", "-x", "--c", "-c -d", "-d ", "-cd", "a/b/c", "my-app"})
        EXPECT_EQ(scan(line), SwitchAction::ShowUsage) << line;
}

TEST(Switches, WholeRestOfLineAfterFirstSeparatorDecides) {
    EXPECT_EQ(scan("some file -c"), SwitchAction::ConsoleJava);
    EXPECT_EQ(scan("name-d"), SwitchAction::DebugLog);
}

TEST(Switches, FindOneOfReturnsPositionBehindTheMatch) {
    const char* text = "ab/cd";
    EXPECT_EQ(findOneOf(text, "-/", singleByte), text + 3);
    EXPECT_EQ(findOneOf("abc", "-/", singleByte), nullptr);
    EXPECT_EQ(findOneOf("", "-/", singleByte), nullptr);
}

TEST(Switches, TrailByteOfDoubleByteCharacterIsNoSeparator) {
    EXPECT_EQ(scanSwitches("\x81-c", withLeadByte), SwitchAction::None);
    EXPECT_EQ(scanSwitches("\x81x-c", withLeadByte), SwitchAction::ConsoleJava);
}

TEST(Switches, UsageTextIsExact) {
    EXPECT_STREQ(UsageText,
                 "Options: \nuse -c or /c to run java with console window\nuse -d or /d to get output to log file\n"
                 "use -h, /h, -? or /? to get help about usage.");
}
