#include "configure/resources/picture_check.h"

#include <algorithm>
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
            // Decoders show the first image at its own size, which the logical screen need not
            // hold: the picture is as large as both.
            if (images == 0) {
                facts.width = std::max<std::uint32_t>(facts.width, word(data + at + 5));
                facts.height = std::max<std::uint32_t>(facts.height, word(data + at + 7));
            }
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

// A frame header a baseline or progressive decoder of 8-bit samples opens: precision 8, one to
// four components, each listed whole with sampling factors of 1 to 4 and a table of 0 to 3.
bool jpegFrameFits(const std::uint8_t* segment, std::uint32_t length) {
    std::uint32_t components = segment[7];
    if (segment[2] != 8 || components < 1 || components > 4 || length != 8 + 3 * components) return false;
    for (std::uint32_t i = 0; i < components; ++i) {
        const std::uint8_t* component = segment + 8 + 3 * i;
        std::uint32_t horizontal = component[1] >> 4, vertical = component[1] & 15;
        if (horizontal < 1 || horizontal > 4 || vertical < 1 || vertical > 4 || component[2] > 3) return false;
    }
    return true;
}

// The quantisation and Huffman tables defined so far, by their numbers 0 to 3.
struct JpegTables {
    bool quantisation[4] = {};
    bool dc[4] = {};
    bool ac[4] = {};
};

// A DQT segment: one or more tables of 64 entries of 8 or 16 bits, each with its number.
bool readQuantisationTables(const std::uint8_t* segment, std::uint32_t length, JpegTables& tables) {
    std::uint32_t at = 2;
    while (at < length) {
        std::uint32_t precision = segment[at] >> 4, number = segment[at] & 15;
        std::uint32_t size = 1 + 64 * (precision + 1);
        if (precision > 1 || number > 3 || at + size > length) return false;
        tables.quantisation[number] = true;
        at += size;
    }
    return length > 2;
}

// A DHT segment: one or more tables, each its class and number, 16 counts and as many symbols.
bool readHuffmanTables(const std::uint8_t* segment, std::uint32_t length, JpegTables& tables) {
    std::uint32_t at = 2;
    while (at < length) {
        std::uint32_t tableClass = segment[at] >> 4, number = segment[at] & 15;
        if (tableClass > 1 || number > 3 || at + 17 > length) return false;
        std::uint32_t symbols = 0;
        for (std::uint32_t i = 1; i <= 16; ++i) symbols += segment[at + i];
        if (symbols == 0 || symbols > 256 || at + 17 + symbols > length) return false;
        (tableClass == 0 ? tables.dc : tables.ac)[number] = true;
        at += 17 + symbols;
    }
    return length > 2;
}

// A scan header that names one to four of the frame's components, listed whole, with the tables
// its coding needs defined before it: the components' quantisation tables, and the DC and AC
// Huffman tables of a sequential scan (a progressive scan codes either DC or AC coefficients,
// and refining DC coefficients needs no table). The coefficients and bits of a progressive scan
// are those such a decoder takes.
bool jpegScanFits(const std::uint8_t* segment, std::uint32_t length, const std::uint8_t* frame, bool progressive,
                  const JpegTables& tables) {
    std::uint32_t components = segment[2];
    if (components < 1 || components > 4 || length != 6 + 2 * components) return false;
    std::uint32_t spectralStart = segment[3 + 2 * components], spectralEnd = segment[4 + 2 * components];
    std::uint32_t approximationHigh = segment[5 + 2 * components] >> 4, approximationLow = segment[5 + 2 * components] & 15;
    // A progressive scan codes the DC coefficients of its components, or one band of AC
    // coefficients of one component; each refinement takes one bit more.
    if (progressive) {
        bool band = spectralStart == 0 ? spectralEnd == 0 : spectralEnd >= spectralStart && spectralEnd <= 63 && components == 1;
        bool bits = approximationLow <= 13 && (approximationHigh == 0 || approximationHigh == approximationLow + 1);
        if (!band || !bits) return false;
    }
    bool needsDc = !progressive || (spectralStart == 0 && approximationHigh == 0);
    bool needsAc = !progressive || spectralStart > 0;
    for (std::uint32_t i = 0; i < components; ++i) {
        const std::uint8_t* frameComponent = nullptr;
        for (std::uint32_t j = 0; j < frame[7]; ++j)
            if (frame[8 + 3 * j] == segment[3 + 2 * i]) frameComponent = frame + 8 + 3 * j;
        if (!frameComponent || !tables.quantisation[frameComponent[2]]) return false;
        std::uint32_t dc = segment[4 + 2 * i] >> 4, ac = segment[4 + 2 * i] & 15;
        if (dc > 3 || ac > 3 || (needsDc && !tables.dc[dc]) || (needsAc && !tables.ac[ac])) return false;
    }
    return true;
}

// Steps over a scan's coded data to the marker behind it; restart markers and stuffed zero
// bytes belong to the data. False when the file ends first.
bool skipScanData(const std::uint8_t* data, std::size_t size, std::size_t& at) {
    for (; at + 1 < size; ++at) {
        if (data[at] != 0xFF) continue;
        std::uint8_t next = data[at + 1];
        if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) return true;
    }
    return false;
}

Result<PictureFacts> checkJpeg(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 2;
    std::optional<PictureFacts> frame;
    const std::uint8_t* frameHeader = nullptr;
    bool progressive = false, scanned = false;
    JpegTables tables;
    while (at + 2 <= size) {
        if (data[at] != 0xFF) return failure("a JPEG picture with a broken marker");
        std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD9) { // the end of the picture
            if (!scanned) break;
            return *frame;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) { // markers without a length
            at += 2;
            continue;
        }
        if (at + 4 > size) break;
        std::uint32_t length = bigEndian16(data + at + 2);
        if (length < 2 || at + 2 + length > size) return failure("a JPEG picture cut short");
        const std::uint8_t* segment = data + at + 2;
        bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            if (length < 8) return failure("a JPEG picture cut short");
            // Baseline, extended and progressive frames of Huffman-coded 8-bit samples: what
            // the system's decoder opens (no lossless, hierarchical or arithmetic-coded ones).
            bool decodable = marker == 0xC0 || marker == 0xC1 || marker == 0xC2;
            if (frame || !decodable || !jpegFrameFits(segment, length))
                return failure("a JPEG picture in a form the launcher cannot show");
            frame = PictureFacts{"JPEG", bigEndian16(segment + 5), bigEndian16(segment + 3)};
            frameHeader = segment;
            progressive = marker == 0xC2;
        }
        if (marker == 0xDB && !readQuantisationTables(segment, length, tables))
            return failure("a JPEG picture in a form the launcher cannot show");
        if (marker == 0xC4 && !readHuffmanTables(segment, length, tables))
            return failure("a JPEG picture in a form the launcher cannot show");
        at += 2 + length;
        if (marker == 0xDA) { // a scan: its coded pixels follow
            if (!frame) return failure("a JPEG picture without a frame header");
            if (length < 3 || !jpegScanFits(segment, length, frameHeader, progressive, tables))
                return failure("a JPEG picture in a form the launcher cannot show");
            if (!skipScanData(data, size, at)) return failure("a JPEG picture cut short in its pixels");
            scanned = true;
        }
    }
    if (scanned) return failure("a JPEG picture cut short in its pixels");
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
