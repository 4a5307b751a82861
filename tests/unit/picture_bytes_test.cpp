#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "configure/resources/resource_data.h"
#include "ui/picture_bytes.h"
#include "ui/placement.h"

namespace {

std::uint32_t dwordAt(const std::vector<std::uint8_t>& bytes, size_t at) { return little_endian::dword(&bytes[at]); }

std::vector<std::uint8_t> convert(const std::vector<std::uint8_t>& bytes) {
    return pictureFileBytes(bytes.data(), bytes.size());
}

} // namespace

TEST(PictureBytes, PlainBitmapGetsTheFileHeaderItLacks) {
    Bytes plain = defaultSplashBitmap();
    std::vector<std::uint8_t> file = convert(plain);
    ASSERT_EQ(file.size(), plain.size() + 14);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(dwordAt(file, 2), 1270u);
    EXPECT_EQ(dwordAt(file, 10), 14u + 40u + 16u * 4u);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), file.begin() + 14));
}

TEST(PictureBytes, BitfieldMasksAndTrueColourHaveNoPalette) {
    std::vector<std::uint8_t> header(40 + 12 + 16, 0);
    header[0] = 40;
    header[14] = 32; // bits per pixel
    header[16] = 3;  // bit fields
    EXPECT_EQ(dwordAt(convert(header), 10), 14u + 40u + 12u);
    header[16] = 0;
    header[14] = 24;
    EXPECT_EQ(dwordAt(convert(header), 10), 14u + 40u);
}

TEST(PictureBytes, PictureFilesAndUnknownBytesPassUnchanged) {
    std::vector<std::uint8_t> bmp = {'B', 'M', 1, 2, 3};
    std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16};
    std::vector<std::uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    for (const auto& bytes : {bmp, gif, jpeg, junk}) EXPECT_EQ(convert(bytes), bytes);
    EXPECT_TRUE(convert({}).empty());
}

TEST(PictureBytes, HeadersWhosePaletteLiesBeyondThePictureGetNoFileHeader) {
    // A 12-byte core header claiming 8 bits a pixel: its palette would end past the bytes.
    Bytes core = {12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 8, 0, 0xFF};
    EXPECT_EQ(convert(core), core);
    // A colour count whose palette size wraps 32 bits.
    Bytes header(40, 0);
    little_endian::setDword(header, 0, 40);
    little_endian::setWord(header, 14, 8);
    little_endian::setDword(header, 32, 0x40000001);
    header.resize(64, 0);
    EXPECT_EQ(convert(header), header);
}

TEST(Placement, SplashCentredWithOddPixelRightAndBelow) {
    Point at = centredOnScreen(1024, 768, 49, 37);
    EXPECT_EQ(at.x, 487);
    EXPECT_EQ(at.y, 365);
    Point large = centredOnScreen(800, 600, 1001, 1001);
    EXPECT_EQ(large.x, -100);
    EXPECT_EQ(large.y, -200);
}

TEST(Placement, DialogCentredOnReferenceAndKeptInsideWorkArea) {
    Rect work{0, 0, 1024, 738};
    Point centred = centredInside(work, work, 597, 115);
    EXPECT_EQ(centred.x, 512 - 298);
    EXPECT_EQ(centred.y, 369 - 57);
    Point clamped = centredInside(Rect{900, 700, 1100, 800}, work, 400, 100);
    EXPECT_EQ(clamped.x, 1024 - 400);
    EXPECT_EQ(clamped.y, 738 - 100);
    Point left = centredInside(Rect{-500, -500, -300, -300}, work, 400, 100);
    EXPECT_EQ(left.x, 0);
    EXPECT_EQ(left.y, 0);
}
