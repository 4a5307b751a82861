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

TEST(DialogTemplate, HeadingLinePushesMessageAndButtonDown) {
    std::vector<std::uint8_t> plain = cannotStartDialogTemplate(u"", 55);
    std::vector<std::uint8_t> bytes = cannotStartDialogTemplate(u"", 55, u"My App");
    EXPECT_EQ(wordAt(plain, 8), 2);
    EXPECT_EQ(wordAt(bytes, 8), 4);
    EXPECT_EQ(wordAt(bytes, 16), 55 + CannotStartHeadingHeight);
    size_t icon = 0, heading = 0, message = 0, button = 0;
    for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        std::uint32_t style = dwordAt(bytes, at);
        if (style == 0x50000003u) icon = at;
        if (style == 0x50004280u) heading = at;
        if (style == 0x50010805u) message = at;
        if (style == 0x50000001u) button = at;
    }
    ASSERT_TRUE(icon && heading && message && button);
    EXPECT_EQ(wordAt(bytes, icon + 16), HeadingIconId);
    EXPECT_EQ(wordAt(bytes, heading + 16), HeadingTextId);
    size_t text = heading + 22;
    EXPECT_EQ(stringAt(bytes, text), u"My App");
    // The heading's line ends above the message; the button keeps its place under it.
    EXPECT_LE(wordAt(bytes, heading + 10) + wordAt(bytes, heading + 14), wordAt(bytes, message + 10));
    EXPECT_LE(wordAt(bytes, icon + 10) + wordAt(bytes, icon + 14), wordAt(bytes, message + 10));
    EXPECT_EQ(wordAt(bytes, message + 10), 7 + CannotStartHeadingHeight);
    EXPECT_EQ(wordAt(bytes, button + 10), 55 + CannotStartHeadingHeight - 21);
    EXPECT_LE(wordAt(bytes, heading + 8) + wordAt(bytes, heading + 12), 337 - 7); // inside the margin
}

TEST(DialogTemplate, ReportIsResizableWithTextCopyAndClose) {
    std::vector<std::uint8_t> bytes = startFailureReportTemplate(u"My App");
    std::uint32_t style = dwordAt(bytes, 0);
    EXPECT_EQ(style & 0x00040000u, 0x00040000u); // sizing border
    EXPECT_EQ(style & 0x00080000u, 0x00080000u); // system menu: a close box
    EXPECT_EQ(style & 0x40u, 0x40u);             // the system's dialog font, as the cannot-start dialog
    EXPECT_EQ(dwordAt(bytes, 4) & 0x8u, 0u);     // not above every other window
    EXPECT_EQ(wordAt(bytes, 8), 3);
    size_t at = 22;
    EXPECT_EQ(stringAt(bytes, at), u"My App");
    at += 2;
    EXPECT_EQ(stringAt(bytes, at), u"MS Shell Dlg");
    std::vector<int> ids;
    std::vector<std::uint16_t> classes;
    for (int item = 0; item < 3; ++item) {
        at = (at + 3) & ~size_t(3);
        ids.push_back(wordAt(bytes, at + 16));
        EXPECT_EQ(wordAt(bytes, at + 18), 0xFFFF);
        classes.push_back(wordAt(bytes, at + 20));
        if (item == 0) {
            EXPECT_EQ(dwordAt(bytes, at) & 0x804u, 0x804u); // read-only, multi-line
        }
        at += 22;
        stringAt(bytes, at);
        at += 2;
    }
    EXPECT_EQ(ids, (std::vector<int>{ReportTextId, ReportCopyId, ReportCloseId}));
    EXPECT_EQ(classes, (std::vector<std::uint16_t>{EditClassAtom, ButtonClassAtom, ButtonClassAtom}));
    EXPECT_EQ(at, bytes.size());
}

TEST(DialogTemplate, ReportLayoutScalesWidthsAcrossAndHeightsDown) {
    // A font whose units differ across and down (6 x 13 pixels), at the template's own size.
    DialogBaseUnits units{6, 13};
    int width = (320 * 6 + 2) / 4, height = (190 * 13 + 4) / 8;
    ReportPlaces places = reportPlaces(units, width, height);
    auto across = [](int du) { return (du * 6 + 2) / 4; };
    auto down = [](int du) { return (du * 13 + 4) / 8; };
    // Where the template puts them, so the first layout moves nothing.
    EXPECT_EQ(places.text.x, across(7));
    EXPECT_EQ(places.text.y, down(7));
    EXPECT_EQ(places.text.width, width - 2 * across(7));
    EXPECT_EQ(places.copy.width, across(50));
    EXPECT_EQ(places.copy.height, down(14));
    EXPECT_EQ(places.close.x, width - across(7) - across(50));
    EXPECT_EQ(places.close.y, height - down(7) - down(14));
    EXPECT_EQ(places.copy.x, places.close.x - across(11) - across(50));
    EXPECT_EQ(places.text.y + places.text.height + down(6), places.close.y);
    // Far too small: nothing negative.
    ReportPlaces tiny = reportPlaces(units, 10, 10);
    EXPECT_EQ(tiny.text.width, 0);
    EXPECT_EQ(tiny.text.height, 0);
}

TEST(CannotStartText, NamesKindVersionsAndAddress) {
    EXPECT_EQ(cannotStartMessage(false, "1.5", "", "https://example.invalid/"),
              "This application cannot start since no appropriate JVM was found.\n"
              "It is required to have JRE version 1.5 or higher installed on your computer.\n"
              "Please go to https://example.invalid/ for installation instructions.");
    EXPECT_NE(cannotStartMessage(true, "1.5", "", "u").find("It is required to have JDK version 1.5 or higher"),
              std::string::npos);
    EXPECT_NE(cannotStartMessage(false, "11", "17", "u").find("JRE version 11 up to 17 installed on your computer.\n"),
              std::string::npos);
}

TEST(CannotStartText, CaptionNamesTheProductWhenThereIsOne) {
    EXPECT_EQ(cannotStartCaption(""), "Application Cannot Start");
    EXPECT_EQ(cannotStartCaption("My App"), "My App - Application Cannot Start");
}

TEST(CannotStartText, OnlyWebAddressesAreOpened) {
    EXPECT_EQ(downloadAddress(""), JavaDownloadUrl);
    EXPECT_EQ(downloadAddress("https://adoptium.net/"), "https://adoptium.net/");
    EXPECT_EQ(downloadAddress("HTTP://intranet/java"), "HTTP://intranet/java");
    for (const char* refused : {"C:\\Windows\\system32\\calc.exe", "file:///C:/x.exe", "https://", "http://a b",
                                "https://x\"y", "javascript:alert(1)"})
        EXPECT_EQ(downloadAddress(refused), JavaDownloadUrl) << refused;
}
