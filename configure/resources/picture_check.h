#pragma once

#include <cstdint>
#include <string>

#include "base/result.h"
#include "base/little_endian.h"

// Pictures the launcher can show: the splash picture's formats, recognised from their signature
// and header, with their sizes and parts inside the bytes. Nothing is decoded.

// The launcher's limits (MaxPictureSide, MaxPicturePixels) are those of the splash pictures.
#include "settings_contract/splash_picture.h"

struct PictureFacts {
    const char* format; // "BMP", "GIF", "JPEG", "PNG"
    std::uint32_t width, height;
};

// A complete BMP, GIF, JPEG or PNG file, or a bitmap in the plain resource form (an information
// header with no file header); the reason when the bytes are none of them or are cut short.
Result<PictureFacts> checkSplashPicture(const Bytes& picture);

// One image of an icon file, as its directory entry describes it (a width or height of 0 there
// means 256): a bitmap (its height counts colour and mask) or a PNG of that size, whole within
// the entry's bytes.
Result<void> checkIconImage(const std::uint8_t* image, std::size_t size, std::uint32_t width, std::uint32_t height);
