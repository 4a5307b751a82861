#include "ui/picture_bytes.h"

#include "base/little_endian.h"
#include "settings_contract/splash_picture.h"

using namespace little_endian;

namespace {

// Where the pixels start behind the information header: the header, its colour masks and palette.
// False when that lies beyond the picture's bytes (counted without wrapping).
bool pixelOffset(const std::uint8_t* data, std::size_t size, std::uint32_t& offset) {
    std::optional<BitmapHeader> header = readBitmapHeader(data, size);
    if (!header || header->paletteEnd > size) return false;
    offset = static_cast<std::uint32_t>(header->paletteEnd);
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
        putDword(file, static_cast<std::uint32_t>(size + BitmapFileHeaderSize));
        putDword(file, 0);
        putDword(file, offset + BitmapFileHeaderSize);
    }
    file.insert(file.end(), data, data + size);
    return file;
}
