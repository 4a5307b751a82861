#include "base/utf8.h"

namespace {

constexpr char32_t Replacement = 0xFFFD;

// Decodes one character at `at`: false for a byte that starts no valid sequence, which then
// counts as one byte of its own.
bool decode(std::string_view text, std::size_t at, char32_t& value, std::size_t& length) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char first = byte(at);
    length = 1;
    value = Replacement;
    if (first < 0x80) {
        value = first;
        return true;
    }
    std::size_t extra = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
    if (extra == 0 || first > 0xF4 || at + extra >= text.size()) return false;
    char32_t decoded = first & (0x3F >> extra);
    for (std::size_t i = 1; i <= extra; ++i) {
        unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80) return false;
        decoded = (decoded << 6) | (next & 0x3F);
    }
    static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (decoded < smallest[extra] || decoded > 0x10FFFF || (decoded >= 0xD800 && decoded <= 0xDFFF)) return false;
    value = decoded;
    length = extra + 1;
    return true;
}

} // namespace

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        char32_t value = 0;
        decode(text, at, value, length);
        at += length;
        if (value >= 0x10000) {
            value -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(value));
        }
    }
    return out;
}

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        char32_t value = text[at];
        if (value >= 0xD800 && value <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF) {
            value = 0x10000 + ((value - 0xD800) << 10) + (text[++at] - 0xDC00);
        } else if (value >= 0xD800 && value <= 0xDFFF) {
            value = Replacement;
        }
        if (value < 0x80) {
            out.push_back(static_cast<char>(value));
        } else if (value < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (value >> 6)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else if (value < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (value >> 12)));
            out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (value >> 18)));
            out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
        }
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 0;
        char32_t value = 0;
        if (!decode(text, at, value, length)) return false;
        at += length;
    }
    return true;
}

const char* nextUtf8Char(const char* at) {
    if (!*at) return at;
    std::size_t available = 0;
    while (available < 4 && at[available]) ++available;
    std::size_t length = 0;
    char32_t value = 0;
    decode(std::string_view(at, available), 0, value, length);
    return at + length;
}

std::size_t wholeDoubleByteCharacters(const char* data, std::size_t length, bool (*isLeadByte)(unsigned char)) {
    std::size_t at = 0;
    while (at < length) {
        if (!isLeadByte(static_cast<unsigned char>(data[at]))) {
            ++at;
        } else if (at + 1 < length) {
            at += 2;
        } else {
            return at;
        }
    }
    return length;
}
