#pragma once

#include <cstddef>
#include <string>

// The last of the application's output (UTF-8), kept within a fixed bound however much it
// writes, for the start-failure report.
class OutputTail {
public:
    static constexpr std::size_t MaxBytes = 8 * 1024;
    static constexpr std::size_t MaxLines = 40;

    void append(const std::string& text);
    // The last MaxLines lines, or the last MaxBytes bytes when those are fewer; a cut never
    // splits a character.
    std::string text() const;

private:
    std::string kept_;
};
