#include "base/text_encoding.h"

#include <windows.h>

#include "base/utf8.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide text is UTF-16");

std::wstring widen(const std::string& utf8) {
    std::u16string wide = utf16FromUtf8(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string narrow(const wchar_t* text, std::size_t length) {
    return utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string narrow(const std::wstring& text) { return narrow(text.data(), text.size()); }

std::string utf8FromCodePage(unsigned codePage, const char* data, std::size_t length) {
    if (length == 0) return std::string();
    int size = MultiByteToWideChar(codePage, 0, data, static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(codePage, 0, data, static_cast<int>(length), wide.data(), size);
    return narrow(wide);
}

std::string codePageFromUtf8(unsigned codePage, const std::string& utf8) {
    std::wstring wide = widen(utf8);
    if (wide.empty()) return std::string();
    int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

bool fitsCodePage(unsigned codePage, const std::string& utf8) {
    std::wstring wide = widen(utf8);
    if (wide.empty()) return true;
    BOOL usedDefault = FALSE;
    // UTF-7 and UTF-8 take neither flag nor the default-character report, and hold everything.
    if (codePage == CP_UTF8 || codePage == CP_UTF7 || (GetACP() == CP_UTF8 && codePage == CP_ACP)) return true;
    int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, &usedDefault);
    return size > 0 && !usedDefault;
}
