#include <gtest/gtest.h>

#include "process/output_tail.h"
#include "ui/start_failure_text.h"

namespace {

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t found = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++found;
    return found;
}

} // namespace

TEST(StartFailureText, HoldsStatusRuntimeCommandLineAndOutput) {
    StartFailure failure{"My App", 1, "C:\\jre\\bin\\javaw.exe", "17.0.9", "\"C:\\jre\\bin\\javaw.exe\" -jar app.jar",
                         "Error: Unable to access jarfile app.jar\n", {}};
    EXPECT_EQ(startFailureReportText(failure),
              "My App could not start.\r\n"
              "The application ended with exit status 1 before it showed a window.\r\n\r\n"
              "Java runtime: C:\\jre\\bin\\javaw.exe\r\n"
              "Java version: 17.0.9\r\n"
              "Command line: \"C:\\jre\\bin\\javaw.exe\" -jar app.jar\r\n\r\n"
              "Last output of the application:\r\n"
              "Error: Unable to access jarfile app.jar");
    failure.lastOutput.clear();
    failure.javaVersion.clear();
    std::string text = startFailureReportText(failure);
    EXPECT_NE(text.find("Java version: unknown"), std::string::npos);
    EXPECT_NE(text.find("The application wrote no output."), std::string::npos);
}

TEST(StartFailureText, TheRuntimesOwnMessagesComeBeforeTheOutput) {
    StartFailure failure{"My App", 1, "C:\\jre\\bin\\javaw.exe", "", "javaw -jar app.jar", "Unrecognized option: -x\n",
                         {"Error: Could not create the Java Virtual Machine.", "Error: A fatal exception has occurred."}};
    std::string text = startFailureReportText(failure);
    EXPECT_NE(text.find("Command line: javaw -jar app.jar\r\n\r\n"
                        "The Java runtime reported:\r\n"
                        "Error: Could not create the Java Virtual Machine.\r\n"
                        "Error: A fatal exception has occurred.\r\n\r\n"
                        "Last output of the application:\r\n"
                        "Unrecognized option: -x"),
              std::string::npos)
        << text;
}

TEST(StartFailureText, StatusesAndLineEnds) {
    EXPECT_EQ(exitStatusText(1), "1");
    EXPECT_EQ(exitStatusText(0xC0000005u), "3221225477 (0xC0000005)");
    EXPECT_EQ(exitStatusText(0x10000u), "65536 (0x00010000)");
    EXPECT_EQ(hexText(0x409, 4) + hexText(0x4B0, 4), "040904B0"); // a version resource's language key
    EXPECT_EQ(withWindowsLineEnds("a\nb\r\nc\rd\r\n\ne"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(withWindowsLineEnds(std::string("a\0b", 3)), "ab");
}

TEST(OutputTail, KeepsTheLastFortyLines) {
    OutputTail tail;
    for (int line = 1; line <= 100; ++line) tail.append("line " + std::to_string(line) + "\n");
    std::string text = tail.text();
    EXPECT_EQ(count(text, "\n"), 40u);
    EXPECT_EQ(text.substr(0, 8), "line 61\n");
    EXPECT_EQ(text.substr(text.size() - 9), "line 100\n");
}

TEST(OutputTail, LongLinesAreCutAtTheByteBoundWithoutSplittingACharacter) {
    OutputTail tail;
    std::string euro = "\xE2\x82\xAC"; // three bytes
    for (int piece = 0; piece < 20000; ++piece) tail.append(euro);
    std::string text = tail.text();
    EXPECT_LE(text.size(), OutputTail::MaxBytes);
    EXPECT_GE(text.size(), OutputTail::MaxBytes - 2);
    EXPECT_EQ(text.size() % 3, 0u);
    EXPECT_EQ(text.substr(0, 3), euro);

    OutputTail mixed;
    mixed.append(std::string(100000, 'x') + "\nreason\n");
    EXPECT_EQ(mixed.text().substr(mixed.text().size() - 8), "\nreason\n");
    EXPECT_LE(mixed.text().size(), OutputTail::MaxBytes);
}
