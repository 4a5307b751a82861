#include "ui/dialog_template.h"

#include "base/little_endian.h"

namespace {

using namespace little_endian;

constexpr std::uint32_t DialogStyle = 0x80C000C8; // popup, caption, modal frame, set font, fixed sys
constexpr std::uint32_t DialogExStyle = 0x8;      // topmost
constexpr std::uint32_t MessageStyle = 0x50010805; // child, visible, tab stop, read-only, multiline, centred
constexpr std::uint32_t ButtonStyle = 0x50000001;  // child, visible, default push button
constexpr std::uint32_t IconStyle = 0x50000003;    // child, visible, icon
constexpr std::uint32_t HeadingStyle = 0x50004280; // child, visible, no prefix, centred vertically, ellipsis

// Popup, caption, system menu, sizing border, maximise box, set font, fixed sys.
constexpr std::uint32_t ReportStyle = 0x80CD0048;
// Child, visible, tab stop, vertical scroll bar, border, multi-line, scrolls with the caret,
// keeps its selection shown, read-only.
constexpr std::uint32_t ReportTextStyle = 0x50A10944;
constexpr std::uint32_t PushButtonStyle = 0x50010000;        // child, visible, tab stop
constexpr std::uint32_t DefaultPushButtonStyle = 0x50010001; // the same, default button

void putItem(Bytes& out, const DialogItem& item) {
    alignTo(out, 4);
    putDword(out, item.style);
    putDword(out, 0);
    putWord(out, static_cast<std::uint16_t>(item.x));
    putWord(out, static_cast<std::uint16_t>(item.y));
    putWord(out, static_cast<std::uint16_t>(item.cx));
    putWord(out, static_cast<std::uint16_t>(item.cy));
    putWord(out, static_cast<std::uint16_t>(item.id));
    if (item.classAtom) {
        putWord(out, 0xFFFF);
        putWord(out, item.classAtom);
    } else {
        putString(out, item.className);
    }
    putString(out, item.text);
    putWord(out, 0); // no creation data
}

} // namespace

std::vector<std::uint8_t> dialogTemplate(const DialogLayout& layout) {
    Bytes out;
    putDword(out, layout.style);
    putDword(out, layout.exStyle);
    putWord(out, static_cast<std::uint16_t>(layout.items.size()));
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, static_cast<std::uint16_t>(layout.cx));
    putWord(out, static_cast<std::uint16_t>(layout.cy));
    putWord(out, 0); // no menu
    putWord(out, 0); // default dialog class
    putString(out, layout.caption);
    putWord(out, 8); // point size
    putString(out, u"MS Shell Dlg");
    for (const DialogItem& item : layout.items) putItem(out, item);
    alignTo(out, 4);
    return out;
}

std::vector<std::uint8_t> cannotStartDialogTemplate(const std::u16string& caption, int height,
                                                    const std::u16string& heading) {
    // The heading's line: the icon (32 pixels, about 21 x 20 units) and the name beside it.
    int top = heading.empty() ? 0 : CannotStartHeadingHeight;
    DialogLayout layout{DialogStyle, DialogExStyle, 337, height + top, caption, {}};
    if (!heading.empty()) {
        layout.items.push_back({IconStyle, 7, 7, 21, 20, HeadingIconId, StaticClassAtom, u"", u""});
        layout.items.push_back({HeadingStyle, 35, 7, 295, 20, HeadingTextId, StaticClassAtom, u"", heading});
    }
    layout.items.push_back({MessageStyle, 7, top + 7, 323, height - 30, MessageControlId, 0, u"RichEdit20W", u""});
    layout.items.push_back({ButtonStyle, 141, top + height - 21, 50, 14, OkButtonId, ButtonClassAtom, u"", u"OK"});
    return dialogTemplate(layout);
}

std::vector<std::uint8_t> startFailureReportTemplate(const std::u16string& caption) {
    return dialogTemplate({ReportStyle, 0, 320, 190, caption,
                           {{ReportTextStyle, 7, 7, 306, 156, ReportTextId, EditClassAtom, u"", u""},
                            {PushButtonStyle, 202, 169, 50, 14, ReportCopyId, ButtonClassAtom, u"", u"&Copy"},
                            {DefaultPushButtonStyle, 263, 169, 50, 14, ReportCloseId, ButtonClassAtom, u"", u"Close"}}});
}

ReportPlaces reportPlaces(DialogBaseUnits units, int clientWidth, int clientHeight) {
    // Rounded to the nearest pixel, as MapDialogRect does.
    auto across = [&](int dialogUnits) { return (dialogUnits * units.x + 2) / 4; };
    auto down = [&](int dialogUnits) { return (dialogUnits * units.y + 4) / 8; };
    auto atLeastZero = [](int pixels) { return pixels > 0 ? pixels : 0; };
    constexpr int Margin = 7, ButtonWidth = 50, ButtonHeight = 14, ButtonGap = 11, TextToButtons = 6;
    int buttonWidth = across(ButtonWidth), buttonHeight = down(ButtonHeight);
    int buttonTop = clientHeight - down(Margin) - buttonHeight;
    int closeLeft = clientWidth - across(Margin) - buttonWidth;
    ReportPlaces places;
    places.text = {across(Margin), down(Margin), atLeastZero(clientWidth - 2 * across(Margin)),
                   atLeastZero(buttonTop - down(TextToButtons) - down(Margin))};
    places.copy = {closeLeft - across(ButtonGap) - buttonWidth, buttonTop, buttonWidth, buttonHeight};
    places.close = {closeLeft, buttonTop, buttonWidth, buttonHeight};
    return places;
}
