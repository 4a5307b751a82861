#include "ui/cannot_start_dialog.h"

#include <commctrl.h>
#include <ole2.h>
#include <richedit.h>
#include <shellapi.h>

#include <optional>
#include <vector>

#include "base/file_system.h"
#include "base/system_library.h"
#include "base/text_encoding.h"
#include "base/utf8.h"
#include "ui/cannot_start_text.h"
#include "ui/dialog_centring.h"
#include "ui/dialog_show.h"
#include "ui/dialog_template.h"
#include "ui/messages.h"
#include "ui/product_name.h"

namespace {

// The rich edit control's library, from the system folder only.
void loadRichEditLibrary() { loadSystemLibrary("RICHED32.DLL"); }

// The read-only message takes the focus to select and copy, but shows no text cursor: the
// control makes its caret anew as it likes, so the caret goes after each message it handles.
WNDPROC richEditProcedure = nullptr;

LRESULT CALLBACK messageWithoutCaret(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcW(richEditProcedure, control, message, wParam, lParam);
    if (message != WM_DESTROY && GetFocus() == control) DestroyCaret();
    return result;
}

BOOL CALLBACK takeFirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    *reinterpret_cast<LPCWSTR*>(found) = name;
    return FALSE;
}

// The executable's first icon, which Explorer shows for it; null when it has none.
HICON executableIcon(int size) {
    HMODULE module = GetModuleHandleW(nullptr);
    LPCWSTR name = nullptr;
    EnumResourceNamesW(module, MAKEINTRESOURCEW(14), takeFirstName, reinterpret_cast<LONG_PTR>(&name));
    if (!name) return nullptr;
    // Names by text are valid only during the enumeration; icon ids are numbers.
    if (!IS_INTRESOURCE(name)) return nullptr;
    return static_cast<HICON>(LoadImageW(module, name, IMAGE_ICON, size, size, LR_SHARED));
}

std::string ownProductName() {
    std::optional<std::string> path = executablePath();
    return path ? configuredProductName(*path) : std::string();
}

} // namespace

CannotStartDialog::CannotStartDialog(std::string productName, std::string linkUrl, std::string messageText,
                                     int dialogHeight)
    : productName_(std::move(productName)), linkUrl_(std::move(linkUrl)), messageText_(std::move(messageText)),
      dialogHeight_(dialogHeight) {}

CannotStartDialog::~CannotStartDialog() {
    if (headingFont_) DeleteObject(headingFont_);
}

INT_PTR CannotStartDialog::showModal(HWND owner) {
    std::vector<std::uint8_t> bytes = cannotStartDialogTemplate(
        utf16FromUtf8(cannotStartCaption(productName_)), dialogHeight_, utf16FromUtf8(productName_));
    // The template must be DWORD-aligned; a vector of DWORDs guarantees it.
    std::vector<DWORD> aligned((bytes.size() + 3) / 4);
    memcpy(aligned.data(), bytes.data(), bytes.size());
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(aligned.data()), owner,
                                   dialogProcedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CannotStartDialog::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<CannotStartDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_INITDIALOG:
        self->window_ = dialog;
        return self->onInitDialog();
    case WM_NOTIFY:
        self->onLinkNotify(reinterpret_cast<const NMHDR*>(lParam));
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CannotStartDialog::onInitDialog() {
    HWND messageControl = GetDlgItem(window_, MessageControlId);
    SendMessageW(messageControl, EM_SETEVENTMASK, 0, ENM_LINK);
    SendMessageW(messageControl, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
    SendMessageW(messageControl, EM_AUTOURLDETECT, TRUE, 0);
    SetDlgItemTextW(window_, MessageControlId, widen(messageText_).c_str());
    richEditProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(messageControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(messageWithoutCaret)));
    // Posted: it must run after the dialog manager has selected the text on focusing it.
    PostMessageW(messageControl, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    showHeading();
    centreDialog(window_);
    showNormally(window_);
    return TRUE;
}

// The icon beside the name, in bold, and for the task bar; without them the dialog still informs.
void CannotStartDialog::showHeading() {
    if (productName_.empty()) return;
    HICON icon = executableIcon(GetSystemMetrics(SM_CXICON));
    if (icon) {
        SendDlgItemMessageW(window_, HeadingIconId, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    if (HICON smallIcon = executableIcon(GetSystemMetrics(SM_CXSMICON)))
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    LOGFONTW font{};
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    if (dialogFont && GetObjectW(dialogFont, sizeof font, &font)) {
        font.lfWeight = FW_BOLD;
        headingFont_ = CreateFontIndirectW(&font);
        if (headingFont_) SendDlgItemMessageW(window_, HeadingTextId, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
    }
}

void CannotStartDialog::onLinkNotify(const NMHDR* header) {
    if (!header || header->idFrom != MessageControlId || header->code != EN_LINK) return;
    const auto* link = reinterpret_cast<const ENLINK*>(header);
    if (link->msg != WM_LBUTTONDOWN) return;
    // The browser must come to the front: the dialog gives up its place above other windows and
    // lets the process that shows the page take the foreground.
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AllowSetForegroundWindow(ASFW_ANY);
    ShellExecuteW(nullptr, L"open", widen(linkUrl_).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void showCannotStartDialog(bool jdkRequired, const std::string& minimumVersion, const std::string& maximumVersion,
                           const std::string& downloadUrlSetting) {
    // The link opens through the shell, which wants COM; without it the dialog still informs.
    HRESULT initialised = CoInitialize(nullptr);
    (void)initialised;
    InitCommonControls();
    loadRichEditLibrary();
    std::string address = downloadAddress(downloadUrlSetting);
    std::string message = cannotStartMessage(jdkRequired, minimumVersion, maximumVersion, address);
    CannotStartDialog dialog(ownProductName(), address, message, 55);
    // Should the dialog not come up (no rich edit control), the user still learns why.
    if (dialog.showModal(GetActiveWindow()) <= 0) showError(message);
}
