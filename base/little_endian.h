#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reading and writing the little-endian binary structures of the platform (resources, dialog
// templates, executables) in byte vectors.
// The one byte-buffer type of the launcher and its configuration tool.
using Bytes = std::vector<std::uint8_t>;

namespace little_endian {

using ::Bytes;

inline void putWord(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void putDword(Bytes& out, std::uint32_t value) {
    putWord(out, static_cast<std::uint16_t>(value & 0xFFFF));
    putWord(out, static_cast<std::uint16_t>(value >> 16));
}

// UTF-16 text with its terminating zero.
inline void putString(Bytes& out, const std::u16string& text) {
    for (char16_t unit : text) putWord(out, static_cast<std::uint16_t>(unit));
    putWord(out, 0);
}

inline void alignTo(Bytes& out, std::size_t alignment) {
    while (out.size() % alignment) out.push_back(0);
}

inline std::uint16_t word(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }

inline std::uint32_t dword(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(word(at)) | (static_cast<std::uint32_t>(word(at + 2)) << 16);
}

inline void setWord(Bytes& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void setDword(Bytes& bytes, std::size_t at, std::uint32_t value) {
    setWord(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
    setWord(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

} // namespace little_endian
