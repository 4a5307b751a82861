#include <gtest/gtest.h>

#include "base/little_endian.h"
#include "ui/cannot_start_text.h"
#include "ui/dialog_template.h"

namespace {

std::uint16_t wordAt(const std::vector<std::uint8_t>& bytes, size_t at) { return little_endian::word(&bytes[at]); }
std::uint32_t dwordAt(const std::vector<std::uint8_t>& bytes, size_t at) { return little_endian::dword(&bytes[at]); }
std::u16string stringAt(const std::vector<std::uint8_t>& bytes, size_t& at) {
    std::u16string text;
    for (std::uint16_t unit; (unit = wordAt(bytes, at)) != 0; at += 2) text.push_back(static_cast<char16_t>(unit));
    at += 2;
    return text;
}

} // namespace

TEST(DialogTemplate, HeaderItemsAndStringsInOrder) {
    std::vector<std::uint8_t> bytes = cannotStartDialogTemplate(u"Caption", 55);
    EXPECT_EQ(dwordAt(bytes, 0), 0x80C000C8u);
    EXPECT_EQ(dwordAt(bytes, 4), 0x8u);
    EXPECT_EQ(wordAt(bytes, 8), 2);
    EXPECT_EQ(wordAt(bytes, 14), 337);
    EXPECT_EQ(wordAt(bytes, 16), 55);
    size_t at = 18;
    EXPECT_EQ(wordAt(bytes, at), 0);
    EXPECT_EQ(wordAt(bytes, at + 2), 0);
    at += 4;
    EXPECT_EQ(stringAt(bytes, at), u"Caption");
    EXPECT_EQ(wordAt(bytes, at), 8);
    at += 2;
    EXPECT_EQ(stringAt(bytes, at), u"MS Shell Dlg");

    at = (at + 3) & ~size_t(3);
    EXPECT_EQ(dwordAt(bytes, at), 0x50010805u);
    EXPECT_EQ(wordAt(bytes, at + 8), 7);
    EXPECT_EQ(wordAt(bytes, at + 10), 7);
    EXPECT_EQ(wordAt(bytes, at + 12), 323);
    EXPECT_EQ(wordAt(bytes, at + 14), 25);
    EXPECT_EQ(wordAt(bytes, at + 16), MessageControlId);
    at += 18;
    EXPECT_EQ(stringAt(bytes, at), u"RichEdit20W");
    EXPECT_EQ(stringAt(bytes, at), u"");
    EXPECT_EQ(wordAt(bytes, at), 0);
    at += 2;

    at = (at + 3) & ~size_t(3);
    EXPECT_EQ(dwordAt(bytes, at), 0x50000001u);
    EXPECT_EQ(wordAt(bytes, at + 8), 141);
    EXPECT_EQ(wordAt(bytes, at + 10), 34);
    EXPECT_EQ(wordAt(bytes, at + 12), 50);
    EXPECT_EQ(wordAt(bytes, at + 14), 14);
    EXPECT_EQ(wordAt(bytes, at + 16), OkButtonId);
    EXPECT_EQ(wordAt(bytes, at + 18), 0xFFFF);
    EXPECT_EQ(wordAt(bytes, at + 20), 0x0080);
    at += 22;
    EXPECT_EQ(stringAt(bytes, at), u"OK");
    EXPECT_EQ(wordAt(bytes, at), 0);
    EXPECT_EQ(bytes.size() % 4, 0u);
}

TEST(DialogTemplate, ControlPositionsFollowTheHeight) {
    std::vector<std::uint8_t> bytes = cannotStartDialogTemplate(u"", 80);
    EXPECT_EQ(wordAt(bytes, 16), 80);
    size_t message = 0, button = 0;
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        if (dwordAt(bytes, at) == 0x50010805u) message = at;
        if (dwordAt(bytes, at) == 0x50000001u) button = at;
    }
    ASSERT_TRUE(message && button);
    EXPECT_EQ(wordAt(bytes, message + 14), 50); // height - 30
    EXPECT_EQ(wordAt(bytes, button + 10), 59);  // height - 21
}

TEST(CannotStartText, NamesKindVersionAndAddress) {
    EXPECT_EQ(cannotStartMessage(false, "1.5", "https://example.invalid/"),
              "This application cannot start since no appropriate JVM was found.\n"
              "It is required to have JRE version 1.5 or higher installed on your computer.\n"
              "Please go to https://example.invalid/ for installation instructions.");
    EXPECT_NE(cannotStartMessage(true, "1.5", "u").find("It is required to have JDK version 1.5 or higher"),
              std::string::npos);
}
