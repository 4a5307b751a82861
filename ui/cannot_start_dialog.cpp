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
#include "ui/dialog_template.h"
#include "ui/messages.h"
#include "ui/placement.h"

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
    centre();
    return TRUE;
}

void CannotStartDialog::onLinkNotify(const NMHDR* header) {
    if (!header || header->idFrom != MessageControlId || header->code != EN_LINK) return;
    const auto* link = reinterpret_cast<const ENLINK*>(header);
    if (link->msg == WM_LBUTTONDOWN) ShellExecuteW(nullptr, L"open", widen(linkUrl_).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CannotStartDialog::centre() {
    HWND owner = GetWindow(window_, GW_OWNER);
    if (owner) {
        LONG ownerStyle = GetWindowLongW(owner, GWL_STYLE);
        if (!(ownerStyle & WS_VISIBLE) || (ownerStyle & WS_MINIMIZE)) owner = nullptr;
    }
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT reference = work;
    if (owner) GetWindowRect(owner, &reference);
    RECT own;
    GetWindowRect(window_, &own);
    Point at = centredInside(Rect{reference.left, reference.top, reference.right, reference.bottom},
                             Rect{work.left, work.top, work.right, work.bottom}, own.right - own.left,
                             own.bottom - own.top);
    SetWindowPos(window_, nullptr, at.x, at.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void showCannotStartDialog(bool jdkRequired, const std::string& minimumVersion) {
    // The link opens through the shell, which wants COM; without it the dialog still informs.
    HRESULT initialised = CoInitialize(nullptr);
    (void)initialised;
    InitCommonControls();
    loadRichEditLibrary();
    std::string message = cannotStartMessage(jdkRequired, minimumVersion, JavaDownloadUrl);
    CannotStartDialog dialog(CannotStartCaption, JavaDownloadUrl, message, 55);
    // Should the dialog not come up (no rich edit control), the user still learns why.
    if (dialog.showModal(GetActiveWindow()) <= 0) showError(message);
}
