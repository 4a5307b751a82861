#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Control ids of the cannot-start dialog.
constexpr int MessageControlId = 1004;
constexpr int OkButtonId = 1;
constexpr int HeadingIconId = 1007;
constexpr int HeadingTextId = 1008;
// Dialog units the heading adds above the message.
constexpr int CannotStartHeadingHeight = 26;

// Control ids of the start-failure report (its Close button is IDCANCEL).
constexpr int ReportTextId = 1005;
constexpr int ReportCopyId = 1006;
constexpr int ReportCloseId = 2;

// One control of an in-memory dialog: a predefined class by its atom (0x0080 button, 0x0081
// edit, 0x0082 static), or a class by name when the atom is 0.
struct DialogItem {
    std::uint32_t style;
    int x, y, cx, cy;
    int id;
    std::uint16_t classAtom;
    std::u16string className;
    std::u16string text;
};

// A dialog in dialog units with the system's dialog font (8 point "MS Shell Dlg").
struct DialogLayout {
    std::uint32_t style;
    std::uint32_t exStyle;
    int cx, cy;
    std::u16string caption;
    std::vector<DialogItem> items;
};

constexpr std::uint16_t ButtonClassAtom = 0x0080;
constexpr std::uint16_t EditClassAtom = 0x0081;
constexpr std::uint16_t StaticClassAtom = 0x0082;

// The classic in-memory template (not the extended one): items start on 4-byte boundaries,
// strings are zero-terminated UTF-16, no item has creation data.
std::vector<std::uint8_t> dialogTemplate(const DialogLayout& layout);

// The cannot-start dialog: 337 dialog units wide and `height` high, a read-only rich edit for
// the message and an OK button. A `heading` (the application's name) adds a line above them,
// CannotStartHeadingHeight high, with the icon and the heading.
std::vector<std::uint8_t> cannotStartDialogTemplate(const std::u16string& caption, int height,
                                                    const std::u16string& heading = u"");

// The start-failure report: resizable, a read-only multi-line text area, Copy and Close.
std::vector<std::uint8_t> startFailureReportTemplate(const std::u16string& caption);

// The dialog's base units in pixels, as MapDialogRect uses them: 4 horizontal dialog units are
// `x` pixels, 8 vertical ones `y` pixels.
struct DialogBaseUnits {
    int x, y;
};

// A control's place in the client area, in pixels.
struct ControlBox {
    int x, y, width, height;
};

struct ReportPlaces {
    ControlBox text, copy, close;
};

// The start-failure report at any size: the text fills the client area above a row of Copy and
// Close at its lower right, margins and sizes as in the template. Never negative.
ReportPlaces reportPlaces(DialogBaseUnits units, int clientWidth, int clientHeight);
