#include "ui/picture_bytes.h"

#include "base/little_endian.h"

namespace {

using namespace little_endian;

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t BitfieldsCompression = 3;

// Where the pixels start behind the information header: the header, its colour masks and palette.
// False when that lies beyond the picture's bytes (counted without wrapping).
bool pixelOffset(const std::uint8_t* data, std::size_t size, std::uint32_t& offset) {
    if (size < CoreHeaderSize) return false;
    std::uint32_t headerSize = dword(data);
    if (headerSize == CoreHeaderSize) {
        std::uint16_t bits = word(data + 10);
        std::uint64_t end = CoreHeaderSize + (bits <= 8 ? (std::uint64_t{1} << bits) * 3 : 0);
        if (end > size) return false;
        offset = static_cast<std::uint32_t>(end);
        return true;
    }
    if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124) return false;
    if (size < 40) return false;
    std::uint16_t bits = word(data + 14);
    std::uint32_t compression = dword(data + 16);
    std::uint32_t coloursUsed = dword(data + 32);
    std::uint64_t colours = coloursUsed ? coloursUsed : (bits <= 8 ? (std::uint64_t{1} << bits) : 0);
    std::uint64_t masks = (headerSize == 40 && compression == BitfieldsCompression) ? 12 : 0;
    std::uint64_t end = headerSize + masks + colours * 4;
    if (end > size) return false;
    offset = static_cast<std::uint32_t>(end);
    return true;
}

} // namespace

std::vector<std::uint8_t> pictureFileBytes(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file;
    std::uint32_t offset = 0;
    bool isFile = size >= 2 && data[0] == 'B' && data[1] == 'M';
    if (!isFile && pixelOffset(data, size, offset)) {
        file.push_back('B');
        file.push_back('M');
        putDword(file, static_cast<std::uint32_t>(size + FileHeaderSize));
        putDword(file, 0);
        putDword(file, offset + FileHeaderSize);
    }
    file.insert(file.end(), data, data + size);
    return file;
}
