#pragma once

#include <cstddef>
#include <string>

// The launcher's text is UTF-8; the system's is UTF-16. These convert at the system's calls
// (Windows' wchar_t is UTF-16), and between UTF-8 and the system's code pages.
std::wstring widen(const std::string& utf8);
std::string narrow(const wchar_t* text, std::size_t length);
std::string narrow(const std::wstring& text);

// Bytes in a code page (CP_ACP, CP_OEMCP, ...) as UTF-8, and back; characters the code page
// lacks become its default character.
std::string utf8FromCodePage(unsigned codePage, const char* data, std::size_t length);
std::string codePageFromUtf8(unsigned codePage, const std::string& utf8);

// True when the code page holds every character of the UTF-8 text (no default character and no
// nearest look-alike would stand in for one).
bool fitsCodePage(unsigned codePage, const std::string& utf8);
