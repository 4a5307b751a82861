#include "ui/start_failure_text.h"

// Hexadecimal digits by hand: the C library's formatting would bring its whole printf family
// into the launcher for two numbers.
std::string hexText(std::uint32_t value, int digits) {
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int at = digits - 1; at >= 0 && value != 0; --at, value >>= 4) text[at] = "0123456789ABCDEF"[value & 0xF];
    return text;
}

std::string exitStatusText(std::uint32_t status) {
    std::string text = std::to_string(status);
    if (status >= 0x10000) text += " (0x" + hexText(status, 8) + ")";
    return text;
}

std::string withWindowsLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c == '\r') {
            out += "\r\n";
            if (at + 1 < text.size() && text[at + 1] == '\n') ++at;
        } else if (c == '\n') {
            out += "\r\n";
        } else if (c != '\0') {
            out += c;
        }
    }
    return out;
}

std::string startFailureReportText(const StartFailure& failure) {
    std::string text = failure.productName + " could not start.\n";
    text += "The application ended with exit status " + exitStatusText(failure.status) +
            " before it showed a window.\n\n";
    text += "Java runtime: " + failure.javaExecutable + "\n";
    text += "Java version: " + (failure.javaVersion.empty() ? std::string("unknown") : failure.javaVersion) + "\n";
    text += "Command line: " + failure.commandLine + "\n\n";
    if (!failure.runtimeMessages.empty()) {
        text += "The Java runtime reported:\n";
        for (const std::string& message : failure.runtimeMessages) text += message + "\n";
        text += "\n";
    }
    std::string output = failure.lastOutput;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (output.empty())
        text += "The application wrote no output.";
    else
        text += "Last output of the application:\n" + output;
    return withWindowsLineEnds(text);
}
