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

TEST(Switches, EverythingElseAfterHyphenOrSlashShowsUsage) {
    for (const char* line : {"-h", "/h", "-?", "/?", "-x", "--c", "-c -d", "-cd", "  -h", "/docs/report.txt"})
        EXPECT_EQ(scan(line), SwitchAction::ShowUsage) << line;
}

TEST(Switches, BlanksAroundASwitchAreNoPartOfItInEitherMode) {
    for (bool passArguments : {false, true}) {
        for (const char* line : {"-c ", " /C\t", "-c \t "})
            EXPECT_EQ(readCommandLineTail(line, passArguments, singleByte).action, SwitchAction::ConsoleJava) << line;
        for (const char* line : {"/d\t", "  -D  "})
            EXPECT_EQ(readCommandLineTail(line, passArguments, singleByte).action, SwitchAction::DebugLog) << line;
        EXPECT_NE(readCommandLineTail("- c", passArguments, singleByte).action, SwitchAction::ConsoleJava);
    }
}

TEST(Switches, TailsNotStartingWithHyphenOrSlashAreNeverSwitches) {
    // Documents double-clicked in Explorer: paths with hyphens and slashes inside, quoted or not.
    for (const char* line : {"C:\\docs\\quarterly-report.myapp", "\"C:\\Users\\Jean-Luc\\a b.myapp\"", "a/b/c",
                             "my-app", "some file -c", "name-d"})
        EXPECT_EQ(scan(line), SwitchAction::None) << line;
}

TEST(CommandLineTail, WithoutPassingArgumentsTheTailIsOnlySwitches) {
    CommandLineTail document = readCommandLineTail("C:\\docs\\report-1.myapp", false, singleByte);
    EXPECT_EQ(document.action, SwitchAction::None);
    EXPECT_EQ(document.applicationArguments, "");
    EXPECT_EQ(readCommandLineTail("-h", false, singleByte).action, SwitchAction::ShowUsage);
}

TEST(CommandLineTail, PassingArgumentsKeepsOnlyTheExactSwitches) {
    for (const char* line : {"-c", "/C", " -c "}) {
        CommandLineTail tail = readCommandLineTail(line, true, singleByte);
        EXPECT_EQ(tail.action, SwitchAction::ConsoleJava) << line;
        EXPECT_EQ(tail.applicationArguments, "") << line;
    }
    EXPECT_EQ(readCommandLineTail("/d", true, singleByte).action, SwitchAction::DebugLog);
    for (const char* line : {"--open x", "-h", "-c -d", "\"C:\\my docs\\a-b.txt\" /flag", "report.txt"}) {
        CommandLineTail tail = readCommandLineTail(line, true, singleByte);
        EXPECT_EQ(tail.action, SwitchAction::None) << line;
        EXPECT_EQ(tail.applicationArguments, line);
    }
    EXPECT_EQ(readCommandLineTail("", true, singleByte).applicationArguments, "");
}

TEST(Switches, FindOneOfReturnsPositionBehindTheMatch) {
    const char* text = "ab/cd";
    EXPECT_EQ(findOneOf(text, "-/", singleByte), text + 3);
    EXPECT_EQ(findOneOf("abc", "-/", singleByte), nullptr);
    EXPECT_EQ(findOneOf("", "-/", singleByte), nullptr);
}

TEST(Switches, TrailByteOfDoubleByteCharacterIsNoSeparator) {
    // A tail that begins with a double-byte character is no switch at all; within a switch tail
    // a trail byte equal to '-' or '/' is not taken for the separator.
    EXPECT_EQ(scanSwitches("\x81-c", withLeadByte), SwitchAction::None);
    EXPECT_EQ(findOneOf("\x81-c", "-/", withLeadByte), nullptr);
    EXPECT_EQ(scanSwitches("-\x81/", withLeadByte), SwitchAction::ShowUsage);
}

TEST(Switches, UsageTextIsExact) {
    EXPECT_STREQ(UsageText,
                 "Options: \nuse -c or /c to run java with console window\nuse -d or /d to get output to log file\n"
                 "use -h, /h, -? or /? to get help about usage.");
}
