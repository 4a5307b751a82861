#pragma once

#include <cstddef>
#include <string>

// A child's output as UTF-8 text, read piece by piece. Programs write to a pipe in the ANSI code
// page (Java in its native encoding), so that is how the bytes are read; a character split
// between two reads (a double-byte one, a UTF-8 or GB18030 sequence) waits for its other bytes and
// is converted whole.
class AnsiOutputDecoder {
public:
    AnsiOutputDecoder();
    std::string decode(const char* data, std::size_t length);
    // What is left at the end of the output: the start of a character that never came whole.
    std::string finish();

private:
    const unsigned codePage_;
    std::string carried_;
};
