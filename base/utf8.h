#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The launcher and its configuration tool keep their text in UTF-8 and meet UTF-16 only at the
// system's calls and in the executable's resources. These conversions are the platform-free half,
// the one pair both use. A byte that starts no valid sequence (a stray byte, a sequence cut
// short, an overlong form, a surrogate, a value past U+10FFFF) gives one U+FFFD (the replacement
// character), and an unpaired surrogate gives U+FFFD the other way.
std::u16string utf16FromUtf8(std::string_view text);
std::string utf8FromUtf16(std::u16string_view text);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view text);

// One character on: a UTF-8 sequence is one step (a lone byte of a broken one is one step too).
const char* nextUtf8Char(const char* at);

// How many of the bytes form whole characters of a double-byte code page: a lead byte at the end
// waits for its trail byte in the next chunk.
std::size_t wholeDoubleByteCharacters(const char* data, std::size_t length, bool (*isLeadByte)(unsigned char));
