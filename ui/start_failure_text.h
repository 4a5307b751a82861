#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the start-failure report says: the application ended with an error before it showed a
// window, with what the user's support needs to see why.
struct StartFailure {
    std::string productName;
    std::uint32_t status = 0;
    std::string javaExecutable;
    std::string javaVersion; // "" when the runtime's home does not name it
    std::string commandLine;
    std::string lastOutput; // UTF-8, any line ends
    std::vector<std::string> runtimeMessages; // what the runtime showed in boxes of its own, UTF-8
};

// The report's whole text, as shown and as copied, with CR LF line ends (an edit control's).
std::string startFailureReportText(const StartFailure& failure);

// `value`'s lowest `digits` hexadecimal digits, in capitals.
std::string hexText(std::uint32_t value, int digits);

// An exit status as users and support read it: decimal, and in hexadecimal too where it is a
// system status (a crash's 0xC0000005).
std::string exitStatusText(std::uint32_t status);

// Text with every line end (LF, CR LF, lone CR) as CR LF, and NUL characters left out.
std::string withWindowsLineEnds(const std::string& text);
