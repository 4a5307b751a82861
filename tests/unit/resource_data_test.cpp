#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "settings_contract/setting_ids.h"
#include "configure/resources/executable_metadata.h"
#include "configure/resources/res_file.h"
#include "configure/resources/resource_data.h"

namespace {

std::uint16_t wordAt(const Bytes& bytes, size_t at) { return little_endian::word(&bytes[at]); }
std::uint32_t dwordAt(const Bytes& bytes, size_t at) { return little_endian::dword(&bytes[at]); }

// The texts of a string table block, as LoadString would find them.
std::vector<std::u16string> blockTexts(const Bytes& block) {
    std::vector<std::u16string> texts;
    size_t at = 0;
    for (int slot = 0; slot < 16; ++slot) {
        std::uint16_t length = wordAt(block, at);
        at += 2;
        std::u16string text;
        for (int i = 0; i < length; ++i, at += 2) text.push_back(static_cast<char16_t>(wordAt(block, at)));
        texts.push_back(text);
    }
    EXPECT_EQ(at, block.size());
    return texts;
}

} // namespace

TEST(StringTable, SettingsLandInBlockSevenAtTheirSlots) {
    LauncherConfiguration configuration;
    std::string longText(300, 'x');
    configuration.strings = {{SettingJar, "app.jar"}, {SettingVmOptions, longText}, {SettingJdkRequired, "yes"}};
    std::vector<Resource> resources = stringTableResources(configuration);
    ASSERT_EQ(resources.size(), 1u);
    EXPECT_EQ(resources[0].type, ResourceTypeString);
    EXPECT_EQ(resources[0].name, 7);
    std::vector<std::u16string> texts = blockTexts(resources[0].data);
    EXPECT_EQ(texts[SettingJar % 16], u"app.jar");
    EXPECT_EQ(texts[SettingVmOptions % 16], std::u16string(300, u'x'));
    EXPECT_EQ(texts[SettingJdkRequired % 16], u"yes");
    EXPECT_EQ(texts[SettingSplash % 16], u"");
}

TEST(StringTable, EntriesAreTheUtf8ValuesAsUtf16) {
    LauncherConfiguration configuration;
    configuration.strings[SettingJar] = "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80.jar";
    std::vector<Resource> resources = stringTableResources(configuration);
    ASSERT_EQ(resources.size(), 1u);
    EXPECT_EQ(stringBlockTexts(resources[0].data)[SettingJar % 16], u"caf\u00E9 \u20AC \U0001F600.jar");
}

TEST(ResFile, EntriesHaveHeadersAndDwordAlignedData) {
    Bytes bytes = resFileBytes({Resource{ResourceTypeBitmap, 104, 0, Bytes{1, 2, 3}}});
    ASSERT_EQ(bytes.size(), 32u + 32u + 4u);
    EXPECT_EQ(dwordAt(bytes, 0), 0u);  // the empty leading entry
    EXPECT_EQ(dwordAt(bytes, 4), 32u);
    EXPECT_EQ(dwordAt(bytes, 32), 3u); // data size
    EXPECT_EQ(dwordAt(bytes, 36), 32u);
    EXPECT_EQ(wordAt(bytes, 40), 0xFFFF);
    EXPECT_EQ(wordAt(bytes, 42), ResourceTypeBitmap);
    EXPECT_EQ(wordAt(bytes, 46), 104);
    EXPECT_EQ(bytes[64], 1);
    EXPECT_EQ(bytes[67], 0);
}

TEST(DefaultSplash, PlainSixteenColourBitmapOf1256Bytes) {
    Bytes bitmap = defaultSplashBitmap();
    ASSERT_EQ(bitmap.size(), 1256u);
    EXPECT_EQ(dwordAt(bitmap, 0), 40u);
    EXPECT_EQ(dwordAt(bitmap, 4), 48u);
    EXPECT_EQ(dwordAt(bitmap, 8), 48u);
    EXPECT_EQ(wordAt(bitmap, 14), 4);
    EXPECT_NE(bitmap[0], 'B');
}

TEST(IconFile, ManyEntriesSharingOneImageAreRefused) {
    // 65,535 directory entries that all name one 16 KiB image: each would become an image.
    Bytes ico;
    little_endian::putWord(ico, 0);
    little_endian::putWord(ico, 1);
    little_endian::putWord(ico, 65535);
    std::uint32_t imageAt = 6 + 65535 * 16;
    for (int i = 0; i < 65535; ++i) {
        for (int k = 0; k < 8; ++k) ico.push_back(0);
        little_endian::putDword(ico, 16384);
        little_endian::putDword(ico, imageAt);
    }
    ico.resize(imageAt + 16384, 0);
    Result<std::vector<Resource>> icons = iconResources(ico);
    ASSERT_FALSE(icons);
    EXPECT_EQ(icons.failure().what, "icon file has more than 64 images");
    EXPECT_TRUE(iconResources(defaultIconFile()));
}
