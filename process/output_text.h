#pragma once

#include <cstddef>
#include <string>

// A child's output as UTF-8 text, read piece by piece. Programs write to a pipe in the ANSI code
// page (Java in its native encoding), so that is how the bytes are read; a double-byte character
// split between two reads waits for its second byte and is converted whole.
class AnsiOutputDecoder {
public:
    std::string decode(const char* data, std::size_t length);
    // What is left at the end of the output: a lead byte whose second byte never came.
    std::string finish();

private:
    std::string carried_;
};
