#include "base/character_tail.h"

#include "base/utf8.h"

namespace {

bool isShiftJisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool isHighLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; } // GBK, UHC, Big5
bool isDigit(unsigned char byte) { return byte >= 0x30 && byte <= 0x39; }

std::size_t utf8Tail(const unsigned char* data, std::size_t length) {
    // Back over at most three continuation bytes to the byte that leads them.
    std::size_t continuations = 0;
    while (continuations < 3 && continuations < length && (data[length - 1 - continuations] & 0xC0) == 0x80)
        ++continuations;
    if (continuations == length) return 0;
    unsigned char lead = data[length - 1 - continuations];
    std::size_t size = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xC2 && lead <= 0xDF ? 2 : 1;
    return continuations + 1 < size ? continuations + 1 : 0;
}

// GB18030: one byte up to 0x80, two bytes (a lead, then 0x40 to 0xFE but 0x7F), or four (lead,
// digit, lead, digit).
std::size_t gb18030Tail(const unsigned char* data, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        std::size_t left = length - at;
        if (!isHighLead(data[at])) {
            at += 1;
        } else if (left == 1) {
            return 1;
        } else if (!isDigit(data[at + 1])) {
            at += 2;
        } else if (left == 2 || (left == 3 && isHighLead(data[at + 2]))) {
            return left;
        } else {
            at += left >= 4 && isHighLead(data[at + 2]) && isDigit(data[at + 3]) ? 4 : 2;
        }
    }
    return 0;
}

} // namespace

std::size_t incompleteCharacterTail(unsigned codePage, const char* data, std::size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    switch (codePage) {
    case 65001:
        return utf8Tail(bytes, length);
    case 54936:
        return gb18030Tail(bytes, length);
    case 932:
        return length - wholeDoubleByteCharacters(data, length, isShiftJisLead);
    case 936:
    case 949:
    case 950:
        return length - wholeDoubleByteCharacters(data, length, isHighLead);
    default:
        return 0;
    }
}
