#pragma once

#include <cstddef>
#include <string>

// Code-page helpers on the system's kernel alone, so that a launch loads no window library.
const char* nextAnsiChar(const char* at);              // a double-byte character is one step
std::string oemToAnsi(const char* data, std::size_t length); // console output to the ANSI code page
std::string ansiFromUtf16(const wchar_t* text, std::size_t length);
