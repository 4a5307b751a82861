#include "base/text_encoding.h"

#include <windows.h>

#include <vector>

const char* nextAnsiChar(const char* at) {
    if (!*at) return at;
    if (IsDBCSLeadByte(static_cast<BYTE>(*at)) && at[1]) return at + 2;
    return at + 1;
}

std::string ansiFromUtf16(const wchar_t* text, std::size_t length) {
    if (length == 0) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string ansi(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::string oemToAnsi(const char* data, std::size_t length) {
    if (length == 0) return std::string();
    int size = MultiByteToWideChar(CP_OEMCP, 0, data, static_cast<int>(length), nullptr, 0);
    std::vector<wchar_t> wide(size);
    MultiByteToWideChar(CP_OEMCP, 0, data, static_cast<int>(length), wide.data(), size);
    return ansiFromUtf16(wide.data(), wide.size());
}
