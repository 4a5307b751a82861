#include "ui/cannot_start_dialog.h"

#include <commctrl.h>
#include <ole2.h>
#include <richedit.h>
#include <shellapi.h>

#include <vector>

#include "base/system_library.h"
#include "base/text_encoding.h"
#include "base/utf8.h"
#include "ui/cannot_start_text.h"
#include "ui/dialog_centring.h"
#include "ui/dialog_template.h"
#include "ui/messages.h"

namespace {

// The rich edit control's library, from the system folder only.
void loadRichEditLibrary() { loadSystemLibrary("RICHED32.DLL"); }

} // namespace

CannotStartDialog::CannotStartDialog(std::string caption, std::string linkUrl, std::string messageText,
                                     int dialogHeight)
    : caption_(std::move(caption)), linkUrl_(std::move(linkUrl)), messageText_(std::move(messageText)),
      dialogHeight_(dialogHeight) {}

INT_PTR CannotStartDialog::showModal(HWND owner) {
    std::vector<std::uint8_t> bytes = cannotStartDialogTemplate(utf16FromUtf8(caption_), dialogHeight_);
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
    // Posted: it must run after the dialog manager has selected the text on focusing it.
    PostMessageW(messageControl, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    centreDialog(window_);
    return TRUE;
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
    CannotStartDialog dialog(CannotStartCaption, address, message, 55);
    // Should the dialog not come up (no rich edit control), the user still learns why.
    if (dialog.showModal(GetActiveWindow()) <= 0) showError(message);
}
