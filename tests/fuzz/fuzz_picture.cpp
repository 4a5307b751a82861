// Splash pictures and icon images: refused with a reason, or recognised with a size the launcher
// can show and, for a bitmap, pixels that lie inside the bytes.
#include <cstdint>

#include "configure/resources/picture_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes picture(data, data + size);
    Result<PictureFacts> splash = checkSplashPicture(picture);
    if (splash) {
        const PictureFacts& facts = splash.value();
        if (facts.width == 0 || facts.height == 0 || facts.width > MaxPictureSide || facts.height > MaxPictureSide)
            __builtin_trap();
        // An uncompressed bitmap in the plain form holds at least one byte a row.
        if (facts.format == std::string("BMP") && size >= 4 && little_endian::dword(data) == 40 &&
            little_endian::dword(data + 16) == 0 && size < 40 + std::uint64_t{facts.height} * 4)
            __builtin_trap();
    }
    // The same bytes as an icon image of the size its first two bytes name.
    if (size >= 2) {
        std::uint32_t width = data[0] ? data[0] : 256, height = data[1] ? data[1] : 256;
        Result<void> image = checkIconImage(data + 2, size - 2, width, height);
        if (image && size - 2 < 8) __builtin_trap(); // no image is this small
    }
    return 0;
}
