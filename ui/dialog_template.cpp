#include "ui/dialog_template.h"

#include "base/little_endian.h"

namespace {

using namespace little_endian;

constexpr std::uint32_t DialogStyle = 0x80C000C8; // popup, caption, modal frame, set font, fixed sys
constexpr std::uint32_t DialogExStyle = 0x8;      // topmost
constexpr std::uint32_t MessageStyle = 0x50010805; // child, visible, tab stop, read-only, multiline, centred
constexpr std::uint32_t ButtonStyle = 0x50000001;  // child, visible, default push button
constexpr std::uint16_t ButtonClassAtom = 0x0080;

void putItemHeader(Bytes& out, std::uint32_t style, int x, int y, int cx, int cy, int id) {
    alignTo(out, 4);
    putDword(out, style);
    putDword(out, 0);
    putWord(out, static_cast<std::uint16_t>(x));
    putWord(out, static_cast<std::uint16_t>(y));
    putWord(out, static_cast<std::uint16_t>(cx));
    putWord(out, static_cast<std::uint16_t>(cy));
    putWord(out, static_cast<std::uint16_t>(id));
}

} // namespace

std::vector<std::uint8_t> cannotStartDialogTemplate(const std::u16string& caption, int height) {
    Bytes out;
    putDword(out, DialogStyle);
    putDword(out, DialogExStyle);
    putWord(out, 2); // items
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, 337);
    putWord(out, static_cast<std::uint16_t>(height));
    putWord(out, 0); // no menu
    putWord(out, 0); // default dialog class
    putString(out, caption);
    putWord(out, 8); // point size
    putString(out, u"MS Shell Dlg");

    putItemHeader(out, MessageStyle, 7, 7, 323, height - 30, MessageControlId);
    putString(out, u"RichEdit20W");
    putString(out, u"");
    putWord(out, 0); // no creation data

    putItemHeader(out, ButtonStyle, 141, height - 21, 50, 14, OkButtonId);
    putWord(out, 0xFFFF);
    putWord(out, ButtonClassAtom);
    putString(out, u"OK");
    putWord(out, 0);
    alignTo(out, 4);
    return out;
}
