#include "ui/cannot_start_dialog.h"

#include <commctrl.h>
#include <ole2.h>
#include <richedit.h>
#include <shellapi.h>

#include <vector>

#include "ui/cannot_start_text.h"
#include "ui/dialog_template.h"
#include "ui/messages.h"
#include "ui/placement.h"

namespace {

std::u16string utf16FromAnsi(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::u16string wide(length, u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<wchar_t*>(wide.data()),
                        length);
    return wide;
}

// By full path from the system folder: a library of the same name beside the launcher (in a
// downloads folder, on a share) must never be loaded into it.
void loadRichEditLibrary() {
    char systemDirectory[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(systemDirectory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    LoadLibraryA((std::string(systemDirectory) + "\\RICHED32.DLL").c_str());
}

} // namespace

CannotStartDialog::CannotStartDialog(std::string caption, std::string linkUrl, std::string messageText,
                                     int dialogHeight)
    : caption_(std::move(caption)), linkUrl_(std::move(linkUrl)), messageText_(std::move(messageText)),
      dialogHeight_(dialogHeight) {}

INT_PTR CannotStartDialog::showModal(HWND owner) {
    std::vector<std::uint8_t> bytes = cannotStartDialogTemplate(utf16FromAnsi(caption_), dialogHeight_);
    // The template must be DWORD-aligned; a vector of DWORDs guarantees it.
    std::vector<DWORD> aligned((bytes.size() + 3) / 4);
    memcpy(aligned.data(), bytes.data(), bytes.size());
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(aligned.data()), owner,
                                   dialogProcedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CannotStartDialog::dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<CannotStartDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
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
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CannotStartDialog::onInitDialog() {
    HWND messageControl = GetDlgItem(window_, MessageControlId);
    SendMessageA(messageControl, EM_SETEVENTMASK, 0, ENM_LINK);
    SendMessageA(messageControl, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
    SendMessageA(messageControl, EM_AUTOURLDETECT, TRUE, 0);
    SetDlgItemTextA(window_, MessageControlId, messageText_.c_str());
    // Posted: it must run after the dialog manager has selected the text on focusing it.
    PostMessageA(messageControl, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    centre();
    return TRUE;
}

void CannotStartDialog::onLinkNotify(const NMHDR* header) {
    if (!header || header->idFrom != MessageControlId || header->code != EN_LINK) return;
    const auto* link = reinterpret_cast<const ENLINK*>(header);
    if (link->msg == WM_LBUTTONDOWN) ShellExecuteA(nullptr, "open", linkUrl_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CannotStartDialog::centre() {
    HWND owner = GetWindow(window_, GW_OWNER);
    if (owner) {
        LONG ownerStyle = GetWindowLongA(owner, GWL_STYLE);
        if (!(ownerStyle & WS_VISIBLE) || (ownerStyle & WS_MINIMIZE)) owner = nullptr;
    }
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
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
