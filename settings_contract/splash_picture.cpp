#include "settings_contract/splash_picture.h"

#include "base/little_endian.h"

using namespace little_endian;

bool isBitmapHeaderSize(std::uint32_t size) {
    return size == BitmapCoreHeaderSize || size == BitmapInfoHeaderSize || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

std::optional<BitmapHeader> readBitmapHeader(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || !isBitmapHeaderSize(dword(data))) return std::nullopt;
    BitmapHeader header;
    header.headerSize = dword(data);
    if (size < header.headerSize) return std::nullopt;
    std::uint64_t paletteEntry = 4;
    if (header.headerSize == BitmapCoreHeaderSize) {
        header.width = word(data + 4);
        header.height = word(data + 6);
        header.planes = word(data + 8);
        header.bits = word(data + 10);
        paletteEntry = 3;
    } else {
        header.width = static_cast<std::int32_t>(dword(data + 4));
        header.height = static_cast<std::int32_t>(dword(data + 8));
        header.planes = word(data + 12);
        header.bits = word(data + 14);
        header.compression = dword(data + 16);
        header.imageSize = dword(data + 20);
        header.coloursUsed = dword(data + 32);
    }
    std::uint64_t allColours = header.bits <= 8 ? std::uint64_t{1} << header.bits : 0;
    header.colours = header.coloursUsed ? header.coloursUsed : allColours;
    // A BITMAPINFOHEADER with bit fields is followed by its three colour masks; the later forms
    // hold them inside the header.
    std::uint64_t masks = header.headerSize == BitmapInfoHeaderSize && header.compression == BitmapBitfields ? 12 : 0;
    header.paletteEnd = header.headerSize + masks + header.colours * paletteEntry;
    return header;
}
