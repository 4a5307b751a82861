#include <gtest/gtest.h>

#include <cstring>

#include "base/little_endian.h"
#include "configure/resources/executable_metadata.h"
#include "configure/resources/picture_check.h"

using namespace little_endian;

namespace {

void putBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(Bytes& out, const char* type, const Bytes& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, 0); // the checksum is not looked at
}

Bytes png(std::uint32_t width, std::uint32_t height, std::uint8_t colourType = 6, bool withEnd = true) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", Bytes(20, 0x78));
    if (withEnd) putChunk(out, "IEND", {});
    return out;
}

// A bitmap information header and its pixels; `height` as stored (doubled in icons).
Bytes plainBitmap(std::int32_t width, std::int32_t height, std::uint16_t bits, std::size_t pixelBytes) {
    Bytes out;
    for (std::uint32_t value : {40u, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})
        putDword(out, value);
    putWord(out, 1);
    putWord(out, bits);
    for (int i = 0; i < 6; ++i) putDword(out, 0);
    out.resize(out.size() + (bits <= 8 ? (4u << bits) : 0) + pixelBytes, 0);
    return out;
}

Bytes withFileHeader(const Bytes& plain, std::uint32_t pixelOffset) {
    Bytes out{'B', 'M'};
    putDword(out, static_cast<std::uint32_t>(plain.size() + 14));
    putDword(out, 0);
    putDword(out, pixelOffset);
    out.insert(out.end(), plain.begin(), plain.end());
    return out;
}

Bytes gif(bool withImage) {
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    putWord(out, 3);
    putWord(out, 2);
    out.insert(out.end(), {0x80, 0, 0});       // a global colour table of two colours
    out.resize(out.size() + 6, 0);
    if (withImage) {
        out.push_back(0x2C);
        out.resize(out.size() + 8, 0);
        out.insert(out.end(), {0, 2, 2, 0x4C, 0x01, 0}); // no local table, code size, one block
    }
    out.push_back(0x3B);
    return out;
}

// A GIF whose logical screen is `screen` wide and whose first image is `image` wide, both 2 high.
Bytes gifWithImageWidth(std::uint16_t screen, std::uint16_t image) {
    Bytes out = gif(true);
    out[6] = static_cast<std::uint8_t>(screen);
    out[7] = static_cast<std::uint8_t>(screen >> 8);
    std::size_t descriptor = 13 + 6;
    out[descriptor + 5] = static_cast<std::uint8_t>(image);
    out[descriptor + 6] = static_cast<std::uint8_t>(image >> 8);
    out[descriptor + 7] = 2;
    return out;
}

// The tables a decoder needs before the scan: quantisation table 0, DC and AC Huffman tables 0
// of one code each.
const Bytes JpegTables = [] {
    Bytes tables{0xFF, 0xDB, 0, 67, 0x00};
    tables.resize(tables.size() + 64, 1);
    for (std::uint8_t tableClass : {0x00, 0x10}) {
        tables.insert(tables.end(), {0xFF, 0xC4, 0, 20, tableClass, 1});
        tables.resize(tables.size() + 15, 0);
        tables.push_back(0); // the one symbol
    }
    return tables;
}();

Bytes jpeg(std::uint16_t width, std::uint16_t height) {
    Bytes out{0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F',
              // the frame: precision, height, width, one component
              0xFF, 0xC0, 0, 11, 8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
              static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 1, 1, 0x11, 0};
    // the tables, the scan and two bytes of coded pixels
    const Bytes scan{0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0x12, 0x34, 0xFF, 0xD9};
    for (const Bytes* part : {&JpegTables, &scan})
        for (std::uint8_t byte : *part) out.push_back(byte);
    return out;
}

std::string splashProblem(const Bytes& picture) {
    Result<PictureFacts> facts = checkSplashPicture(picture);
    return facts ? std::string("accepted ") + facts.value().format + " " + std::to_string(facts.value().width) + "x" +
                       std::to_string(facts.value().height)
                 : facts.failure().what;
}

// An icon file of one image with the given directory size.
Bytes icon(std::uint8_t width, std::uint8_t height, const Bytes& image, std::uint32_t entrySize = 0) {
    Bytes out;
    putWord(out, 0);
    putWord(out, 1);
    putWord(out, 1);
    out.insert(out.end(), {width, height, 0, 0});
    putWord(out, 1);
    putWord(out, 32);
    putDword(out, entrySize ? entrySize : static_cast<std::uint32_t>(image.size()));
    putDword(out, 22);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::string iconProblem(const Bytes& file) {
    Result<std::vector<Resource>> icons = iconResources(file);
    return icons ? "accepted" : icons.failure().what;
}

} // namespace

TEST(SplashPicture, EveryFormatTheLauncherShowsIsRecognisedWithItsSize) {
    EXPECT_EQ(splashProblem(png(640, 400)), "accepted PNG 640x400");
    EXPECT_EQ(splashProblem(plainBitmap(3, 2, 24, 2 * 12)), "accepted BMP 3x2");
    EXPECT_EQ(splashProblem(withFileHeader(plainBitmap(3, -2, 24, 2 * 12), 54)), "accepted BMP 3x2");
    EXPECT_EQ(splashProblem(plainBitmap(48, 48, 4, 48 * 24)), "accepted BMP 48x48");
    EXPECT_EQ(splashProblem(gif(true)), "accepted GIF 3x2");
    EXPECT_EQ(splashProblem(jpeg(61, 23)), "accepted JPEG 61x23");
}

TEST(SplashPicture, TextExecutablesAndCutPicturesAreRefusedWithTheReason) {
    std::string text = "jar=app.jar\n";
    EXPECT_EQ(splashProblem(Bytes(text.begin(), text.end())), "not a BMP, GIF, JPEG or PNG picture");
    EXPECT_EQ(splashProblem(Bytes{'M', 'Z', 0x90, 0}), "not a BMP, GIF, JPEG or PNG picture");
    Bytes header = png(10, 10);
    EXPECT_EQ(splashProblem(Bytes(header.begin(), header.begin() + 20)),
              "a PNG picture without its header (IHDR) inside the file");
    EXPECT_EQ(splashProblem(png(10, 10, 6, false)), "a PNG picture cut short");
    EXPECT_EQ(splashProblem(png(10, 10, 5)), "a PNG picture in a form the launcher cannot show");
    EXPECT_EQ(splashProblem(png(0, 10)), "a PNG picture without pixels");
    EXPECT_EQ(splashProblem(png(20000, 10)), "a picture larger than 8192 pixels on a side");
    EXPECT_EQ(splashProblem(png(8192, 2048)), "accepted PNG 8192x2048");
    EXPECT_EQ(splashProblem(png(8192, 2049)), "a picture of more than 16777216 pixels");
    EXPECT_EQ(splashProblem(plainBitmap(3, 2, 24, 23)), "a bitmap whose pixels lie beyond its end");
    EXPECT_EQ(splashProblem(withFileHeader(plainBitmap(3, 2, 24, 24), 5000)), "a bitmap whose pixels lie beyond its end");
    EXPECT_EQ(splashProblem(plainBitmap(3, 2, 7, 100)), "a bitmap in a form the launcher cannot show");
    Bytes colours = plainBitmap(1, 1, 1, 4);
    setDword(colours, 32, 0xFFFFFFFF);
    EXPECT_EQ(splashProblem(colours), "a bitmap with more colours than its pixels can name");
    EXPECT_EQ(splashProblem(gif(false)), "a GIF picture without an image");
    Bytes cutGif = gif(true);
    cutGif.resize(cutGif.size() - 3);
    EXPECT_EQ(splashProblem(cutGif), "a GIF picture cut short");
    Bytes cutJpeg = jpeg(5, 5);
    cutJpeg.resize(12);
    EXPECT_EQ(splashProblem(cutJpeg), "a JPEG picture cut short");
    EXPECT_EQ(splashProblem(jpeg(5, 0)), "a JPEG picture without pixels");
}

TEST(SplashPicture, AGifIsAsLargeAsItsFirstImage) {
    EXPECT_EQ(splashProblem(gifWithImageWidth(100, 9000)), "a picture larger than 8192 pixels on a side");
    EXPECT_EQ(splashProblem(gifWithImageWidth(100, 60)), "accepted GIF 100x2");
    EXPECT_EQ(splashProblem(gifWithImageWidth(100, 300)), "accepted GIF 300x2");
}

namespace {

// Offsets in jpeg(): the frame's marker, precision and component count; the scan's marker.
constexpr std::size_t FrameMarker = 9, FramePrecision = 12, FrameComponents = 17, FrameSampling = 19;
constexpr std::size_t FrameQuantisationTable = 20;
const std::size_t Scan = 21 + JpegTables.size();
const std::size_t ScanComponents = Scan + 4, ScanComponentId = Scan + 5, ScanTables = Scan + 6;
const std::size_t CodedPixels = Scan + 10;

Bytes changed(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes[at] = value;
    return bytes;
}

// jpeg() as a progressive picture: a scan of the DC coefficients, then one of the AC band 1 to 63.
Bytes progressiveJpeg() {
    Bytes out = changed(changed(jpeg(5, 5), FrameMarker, 0xC2), Scan + 8, 0);
    const Bytes acScan{0xFF, 0xDA, 0, 8, 1, 1, 0x00, 1, 63, 0, 0x12, 0x34};
    out.insert(out.end() - 2, acScan.begin(), acScan.end());
    return out;
}

} // namespace

TEST(SplashPicture, OnlyJpegsABaselineOrProgressiveDecoderOpensAreAccepted) {
    const Bytes good = jpeg(5, 5);
    ASSERT_EQ(good[FrameMarker], 0xC0);
    EXPECT_EQ(splashProblem(changed(good, FrameMarker, 0xC1)), "accepted JPEG 5x5"); // extended
    EXPECT_EQ(splashProblem(progressiveJpeg()), "accepted JPEG 5x5");
    const std::string refused = "a JPEG picture in a form the launcher cannot show";
    for (std::uint8_t frame : {0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}) // lossless, hierarchical, arithmetic
        EXPECT_EQ(splashProblem(changed(good, FrameMarker, frame)), refused) << int(frame);
    EXPECT_EQ(splashProblem(changed(good, FramePrecision, 12)), refused);
    EXPECT_EQ(splashProblem(changed(good, FrameComponents, 3)), refused); // three listed in room for one
    EXPECT_EQ(splashProblem(changed(good, FrameComponents, 0)), refused);
    EXPECT_EQ(splashProblem(changed(good, FrameSampling, 0x51)), refused);
    EXPECT_EQ(splashProblem(changed(good, ScanComponents, 2)), refused);
    EXPECT_EQ(splashProblem(changed(good, ScanComponentId, 7)), refused); // a component the frame lacks
    EXPECT_EQ(splashProblem(changed(good, FrameQuantisationTable, 1)), refused); // a table never defined
    EXPECT_EQ(splashProblem(changed(good, ScanTables, 0x10)), refused);
    EXPECT_EQ(splashProblem(changed(good, ScanTables, 0x01)), refused);
    Bytes withoutTables = good;
    withoutTables.erase(withoutTables.begin() + 21, withoutTables.begin() + static_cast<std::ptrdiff_t>(Scan));
    EXPECT_EQ(splashProblem(withoutTables), refused);
    // A progressive scan of AC coefficients needs no DC table, refining DC coefficients no table.
    const Bytes progressive = progressiveJpeg();
    EXPECT_EQ(splashProblem(progressive), "accepted JPEG 5x5");
    const std::size_t acScan = progressive.size() - 2 - 12;
    EXPECT_EQ(splashProblem(changed(progressive, acScan + 6, 0x30)), "accepted JPEG 5x5");
    EXPECT_EQ(splashProblem(changed(progressive, acScan + 6, 0x03)), refused);
    Bytes dcRefinement = changed(changed(progressive, Scan + 6, 0x33), Scan + 9, 0x10);
    EXPECT_EQ(splashProblem(dcRefinement), "accepted JPEG 5x5");
    Bytes twoFrames = good;
    twoFrames.insert(twoFrames.begin() + FrameMarker - 1, good.begin() + FrameMarker - 1, good.begin() + FrameMarker + 12);
    EXPECT_EQ(splashProblem(twoFrames), refused);
}

TEST(SplashPicture, AJpegCutShortInItsPixelsIsRefused) {
    const Bytes good = jpeg(5, 5);
    for (std::size_t cut : {CodedPixels, CodedPixels + 1, good.size() - 1}) {
        Bytes cutShort(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(splashProblem(cutShort), "a JPEG picture cut short in its pixels") << cut;
    }
    // Stuffed bytes and restart markers are part of the coded pixels; a second scan may follow.
    Bytes stuffed = good;
    stuffed.insert(stuffed.begin() + static_cast<std::ptrdiff_t>(CodedPixels), {0xFF, 0x00, 0xFF, 0xD3, 0x55});
    EXPECT_EQ(splashProblem(stuffed), "accepted JPEG 5x5");
    EXPECT_EQ(splashProblem(progressiveJpeg()), "accepted JPEG 5x5");
    Bytes progressiveCut = progressiveJpeg();
    progressiveCut.resize(progressiveCut.size() - 14); // the AC scan and the end
    EXPECT_EQ(splashProblem(progressiveCut), "a JPEG picture cut short in its pixels");
}

TEST(IconFile, ImagesAreCheckedAgainstTheirDirectoryEntries) {
    Bytes bitmap = plainBitmap(16, 32, 32, 16 * 16 * 4 + 16 * 4);
    EXPECT_EQ(iconProblem(icon(16, 16, bitmap)), "accepted");
    EXPECT_EQ(iconProblem(icon(0, 0, png(256, 256))), "accepted");       // 0 means 256
    EXPECT_EQ(iconProblem(icon(16, 16, plainBitmap(16, 32, 32, 16 * 16 * 4))), "accepted"); // no mask, alpha decides
    EXPECT_EQ(iconProblem(icon(16, 16, bitmap, static_cast<std::uint32_t>(bitmap.size() - 100))),
              "icon image 1 is an image larger than its directory entry says");
    EXPECT_EQ(iconProblem(icon(16, 16, plainBitmap(32, 64, 32, 32 * 32 * 4 + 32 * 4))),
              "icon image 1 is a 32 x 32 image where the directory says 16 x 16");
    EXPECT_EQ(iconProblem(icon(16, 16, png(32, 32))), "icon image 1 is a 32 x 32 image where the directory says 16 x 16");
    EXPECT_EQ(iconProblem(icon(16, 16, Bytes{0x42})), "icon image 1 is neither a bitmap nor a PNG");
    EXPECT_EQ(iconProblem(icon(16, 16, Bytes(200, 'x'))), "icon image 1 is neither a bitmap nor a PNG");
    EXPECT_EQ(iconProblem(icon(16, 16, plainBitmap(16, 32, 8, 16 * 16 + 16 * 4 - 1))),
              "icon image 1 is an image larger than its directory entry says");
}
