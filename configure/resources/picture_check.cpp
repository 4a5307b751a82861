#include "configure/resources/picture_check.h"

#include <cstring>
#include <optional>

using namespace little_endian;

namespace {

std::uint32_t bigEndian32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 | at[2] << 8 | at[3];
}
std::uint32_t bigEndian16(const std::uint8_t* at) { return static_cast<std::uint32_t>(at[0] << 8 | at[1]); }

bool startsWith(const std::uint8_t* data, std::size_t size, const char* signature, std::size_t length) {
    return size >= length && std::memcmp(data, signature, length) == 0;
}

const char* const PngSignature = "\x89PNG\r\n\x1A\n";

Failure failure(const std::string& what) { return Failure{0, what}; }

struct BitmapLayout {
    std::uint32_t width = 0;
    std::uint64_t rows = 0;
    std::uint32_t bits = 0, compression = BitmapRgb, imageSize = 0;
    std::uint64_t paletteEnd = 0; // where the colour masks and the palette end
};

// A bitmap's information header at `header`, with its colour masks and palette inside the bytes.
Result<BitmapLayout> readBitmapLayout(const std::uint8_t* data, std::size_t size, std::size_t header) {
    if (size < header + 4) return failure("a bitmap cut short in its header");
    if (!isBitmapHeaderSize(dword(data + header))) return failure("a bitmap with an unknown header");
    std::optional<BitmapHeader> read = readBitmapHeader(data + header, size - header);
    if (!read) return failure("a bitmap cut short in its header");
    const BitmapHeader& info = *read;
    BitmapLayout layout;
    layout.bits = info.bits;
    layout.compression = info.compression;
    layout.imageSize = info.imageSize;
    std::uint32_t bits = info.bits, compression = info.compression;
    bool bitsFit = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    bool compressionFits = compression == BitmapRgb || (compression == BitmapRle8 && bits == 8) ||
                           (compression == BitmapRle4 && bits == 4) ||
                           (compression == BitmapBitfields && (bits == 16 || bits == 32));
    if (info.planes != 1 || !bitsFit || !compressionFits) return failure("a bitmap in a form the launcher cannot show");
    std::uint64_t maximumColours = bits <= 8 ? std::uint64_t{1} << bits : 256;
    if (info.coloursUsed > maximumColours) return failure("a bitmap with more colours than its pixels can name");
    layout.paletteEnd = header + info.paletteEnd;
    if (layout.paletteEnd > size) return failure("a bitmap whose palette lies beyond its end");
    layout.rows = static_cast<std::uint64_t>(info.height < 0 ? -info.height : info.height);
    if (info.width <= 0 || layout.rows == 0) return failure("a bitmap without pixels");
    if (info.width > MaxPictureSide || layout.rows > 2 * MaxPictureSide)
        return failure("a picture larger than " + std::to_string(MaxPictureSide) + " pixels on a side");
    layout.width = static_cast<std::uint32_t>(info.width);
    return layout;
}

// A whole bitmap; its pixels start at `pixels` when a file header says so, right behind the
// palette otherwise.
Result<PictureFacts> checkBitmap(const std::uint8_t* data, std::size_t size, std::size_t header,
                                 std::optional<std::uint64_t> pixels) {
    Result<BitmapLayout> read = readBitmapLayout(data, size, header);
    if (!read) return read.failure();
    const BitmapLayout& layout = read.value();
    std::uint64_t pixelStart = pixels.value_or(layout.paletteEnd);
    bool compressed = layout.compression == BitmapRle8 || layout.compression == BitmapRle4;
    std::uint64_t pixelBytes = compressed ? layout.imageSize : bitmapRowBytes(layout.width, layout.bits) * layout.rows;
    if (pixelStart < layout.paletteEnd || pixelBytes == 0 || pixelStart + pixelBytes > size)
        return failure("a bitmap whose pixels lie beyond its end");
    return PictureFacts{"BMP", layout.width, static_cast<std::uint32_t>(layout.rows)};
}

// Steps over a run of GIF sub-blocks (each a length byte and its bytes, a zero length ends them).
bool skipSubBlocks(const std::uint8_t* data, std::size_t size, std::size_t& at) {
    while (at < size) {
        std::size_t length = data[at++];
        if (length == 0) return true;
        at += length;
    }
    return false;
}

Result<PictureFacts> checkGif(const std::uint8_t* data, std::size_t size) {
    if (size < 13) return failure("a GIF picture cut short in its header");
    PictureFacts facts{"GIF", word(data + 6), word(data + 8)};
    std::size_t at = 13;
    if (data[10] & 0x80) at += std::size_t{3} << ((data[10] & 7) + 1);
    int images = 0;
    while (at < size && data[at] != 0x3B) { // up to the trailer
        std::uint8_t block = data[at];
        if (block == 0x21) {
            at += 2;
        } else if (block == 0x2C) {
            if (at + 11 > size) return failure("a GIF picture cut short");
            std::uint8_t flags = data[at + 9];
            at += 10;
            if (flags & 0x80) at += std::size_t{3} << ((flags & 7) + 1);
            at += 1; // the code size
            ++images;
        } else {
            return failure("a GIF picture with an unknown block");
        }
        if (!skipSubBlocks(data, size, at)) return failure("a GIF picture cut short");
    }
    if (at > size) return failure("a GIF picture cut short");
    if (images == 0) return failure("a GIF picture without an image");
    return facts;
}

Result<PictureFacts> checkJpeg(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 2;
    std::optional<PictureFacts> frame;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return failure("a JPEG picture with a broken marker");
        std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) { // markers without a length
            at += 2;
            continue;
        }
        if (marker == 0xD9) break;
        std::uint32_t length = bigEndian16(data + at + 2);
        if (length < 2 || at + 2 + length > size) return failure("a JPEG picture cut short");
        bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (length < 8) return failure("a JPEG picture cut short");
            frame = PictureFacts{"JPEG", bigEndian16(data + at + 7), bigEndian16(data + at + 5)};
        }
        if (marker == 0xDA) { // the scan: the coded pixels follow
            if (!frame) return failure("a JPEG picture without a frame header");
            return *frame;
        }
        at += 2 + length;
    }
    return failure("a JPEG picture cut short before its pixels");
}

bool pngDepthFits(std::uint8_t colourType, std::uint8_t depth) {
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: case 4: case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

Result<PictureFacts> checkPng(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* header = data + 8;
    if (size < 8 + 25 || bigEndian32(header) != 13 || std::memcmp(header + 4, "IHDR", 4) != 0)
        return failure("a PNG picture without its header (IHDR) inside the file");
    PictureFacts facts{"PNG", bigEndian32(header + 8), bigEndian32(header + 12)};
    std::uint8_t depth = header[16], colourType = header[17];
    if (!pngDepthFits(colourType, depth) || header[18] != 0 || header[19] != 0 || header[20] > 1)
        return failure("a PNG picture in a form the launcher cannot show");
    bool palette = false, pixels = false;
    for (std::size_t at = 8; at + 12 <= size;) {
        std::uint64_t length = bigEndian32(data + at);
        if (at + 12 + length > size) break;
        const std::uint8_t* type = data + at + 4;
        if (std::memcmp(type, "PLTE", 4) == 0) palette = true;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            if (colourType == 3 && !palette) return failure("a PNG picture whose palette is missing");
            pixels = true;
        }
        if (std::memcmp(type, "IEND", 4) == 0) {
            if (!pixels) return failure("a PNG picture without pixels (IDAT)");
            return facts;
        }
        at += 12 + length;
    }
    return failure("a PNG picture cut short");
}

Result<PictureFacts> recognise(const std::uint8_t* data, std::size_t size) {
    if (startsWith(data, size, "BM", 2)) {
        if (size < BitmapFileHeaderSize) return failure("a bitmap cut short in its header");
        return checkBitmap(data, size, BitmapFileHeaderSize, dword(data + 10));
    }
    if (startsWith(data, size, "GIF87a", 6) || startsWith(data, size, "GIF89a", 6)) return checkGif(data, size);
    if (startsWith(data, size, "\xFF\xD8\xFF", 3)) return checkJpeg(data, size);
    if (startsWith(data, size, PngSignature, 8)) return checkPng(data, size);
    if (size >= 4 && isBitmapHeaderSize(dword(data)))
        return checkBitmap(data, size, 0, std::nullopt);
    return failure("not a BMP, GIF, JPEG or PNG picture");
}

} // namespace

Result<PictureFacts> checkSplashPicture(const Bytes& picture) {
    Result<PictureFacts> facts = recognise(picture.data(), picture.size());
    if (!facts) return facts;
    const PictureFacts& size = facts.value();
    if (size.width == 0 || size.height == 0) return failure(std::string("a ") + size.format + " picture without pixels");
    if (size.width > MaxPictureSide || size.height > MaxPictureSide)
        return failure("a picture larger than " + std::to_string(MaxPictureSide) + " pixels on a side");
    if (std::uint64_t{size.width} * size.height > MaxPicturePixels)
        return failure("a picture of more than " + std::to_string(MaxPicturePixels) + " pixels");
    return facts;
}

Result<void> checkIconImage(const std::uint8_t* image, std::size_t size, std::uint32_t width, std::uint32_t height) {
    std::uint32_t imageWidth = 0, imageHeight = 0;
    if (startsWith(image, size, PngSignature, 8)) {
        Result<PictureFacts> png = checkPng(image, size);
        if (!png) return png.failure();
        imageWidth = png.value().width;
        imageHeight = png.value().height;
    } else if (size >= 4 && dword(image) == BitmapInfoHeaderSize) {
        Result<BitmapLayout> read = readBitmapLayout(image, size, 0);
        if (!read) return read.failure();
        const BitmapLayout& bitmap = read.value();
        if (bitmap.compression != BitmapRgb) return failure("a bitmap in a form the launcher cannot show");
        // The bitmap's height counts its colour pixels and the mask below them; with 32 bits a
        // pixel the alpha decides, and some editors leave the mask out.
        imageWidth = bitmap.width;
        imageHeight = static_cast<std::uint32_t>(bitmap.rows / 2);
        std::uint64_t mask = bitmap.bits == 32 ? 0 : bitmapRowBytes(imageWidth, 1);
        std::uint64_t needed = bitmap.paletteEnd + (bitmapRowBytes(imageWidth, bitmap.bits) + mask) * imageHeight;
        if (needed > size) return failure("an image larger than its directory entry says");
    } else {
        return failure("neither a bitmap nor a PNG");
    }
    if (imageWidth != width || imageHeight != height)
        return failure("a " + std::to_string(imageWidth) + " x " + std::to_string(imageHeight) +
                       " image where the directory says " + std::to_string(width) + " x " + std::to_string(height));
    return {};
}
