#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// The splash pictures as the launcher finds and decodes them and as the configuration tool
// stores them.

// Bitmap resources: the splash picture, and the one drawn for high DPI (200 %).
constexpr std::uint16_t SplashResourceId = 104;
constexpr std::uint16_t HighDpiSplashResourceId = 105;

// The largest picture the launcher decodes and scales to (it refuses larger ones at every
// start): more than any screen shows, few enough that the decoded picture always fits in memory
// (64 MiB at 32 bits a pixel).
constexpr std::uint32_t MaxPictureSide = 8192;
constexpr std::uint64_t MaxPicturePixels = 4096ull * 4096ull;

// A bitmap's information header (BITMAPCOREHEADER or BITMAPINFOHEADER and its later forms),
// the form both a bitmap file and a bitmap resource hold.
struct BitmapHeader {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0, height = 0; // height < 0: rows top-down
    std::uint32_t planes = 0, bits = 0, compression = 0, imageSize = 0, coloursUsed = 0;
    std::uint64_t colours = 0;          // palette entries: those used, or all that the bits can name
    std::uint64_t paletteEnd = 0;       // from the header's start: header, colour masks and palette
};

constexpr std::uint32_t BitmapFileHeaderSize = 14;
constexpr std::uint32_t BitmapCoreHeaderSize = 12;
constexpr std::uint32_t BitmapInfoHeaderSize = 40;
constexpr std::uint32_t BitmapRgb = 0, BitmapRle8 = 1, BitmapRle4 = 2, BitmapBitfields = 3;

// Whether `size` is the size of a header form the platform knows.
bool isBitmapHeaderSize(std::uint32_t size);

// The information header at the start of `data`, with where its palette ends; nothing when the
// header is of no known form or lies beyond `size` (the palette may: the caller decides).
std::optional<BitmapHeader> readBitmapHeader(const std::uint8_t* data, std::size_t size);

// Bytes of one row of pixels, padded to four bytes.
constexpr std::uint64_t bitmapRowBytes(std::uint64_t width, std::uint32_t bits) { return (width * bits + 31) / 32 * 4; }
