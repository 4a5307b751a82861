#include "ui/start_failure_report.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "base/text_encoding.h"
#include "base/utf8.h"
#include "ui/dialog_centring.h"
#include "ui/dialog_show.h"
#include "ui/dialog_template.h"
#include "ui/messages.h"
#include "ui/start_failure_text.h"

const char* const ReportNotCopiedText =
    "The report could not be put on the clipboard: another program is using it. Please try Copy again.";

namespace {

class StartFailureReport {
public:
    explicit StartFailureReport(std::wstring text) : text_(std::move(text)) {}

    INT_PTR showModal(const std::string& title) {
        std::vector<std::uint8_t> bytes = startFailureReportTemplate(utf16FromUtf8(title));
        std::vector<DWORD> aligned((bytes.size() + 3) / 4);
        std::memcpy(aligned.data(), bytes.data(), bytes.size());
        return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(aligned.data()),
                                       nullptr, dialogProcedure, reinterpret_cast<LPARAM>(this));
    }

private:
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<StartFailureReport*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!self) return FALSE;
        switch (message) {
        case WM_INITDIALOG:
            self->window_ = dialog;
            return self->onInitDialog();
        case WM_COMMAND:
            if (LOWORD(wParam) == ReportCopyId) {
                self->copyToClipboard();
                return TRUE;
            }
            if (LOWORD(wParam) == ReportCloseId || LOWORD(wParam) == IDOK) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_SIZE:
            self->layOut();
            return TRUE;
        case WM_GETMINMAXINFO:
            // Never smaller than it opens, so that the buttons always fit.
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = self->minimumSize_;
            return TRUE;
        case WM_CTLCOLORSTATIC:
            // The read-only text reads like a document, on the window colour.
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog, ReportTextId)) {
                SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
                SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
                return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
            }
            return FALSE;
        default:
            return FALSE;
        }
    }

    BOOL onInitDialog() {
        SetDlgItemTextW(window_, ReportTextId, text_.c_str());
        RECT initial;
        GetWindowRect(window_, &initial);
        minimumSize_ = POINT{initial.right - initial.left, initial.bottom - initial.top};
        ready_ = true;
        layOut();
        centreDialog(window_);
        showNormally(window_);
        SetFocus(GetDlgItem(window_, ReportCloseId));
        // Shown and activated, the dialog focused and so selected the text; Close has the focus.
        SendDlgItemMessageW(window_, ReportTextId, EM_SETSEL, 0, 0);
        return FALSE; // the focus is set
    }

    // The text fills the window above a row of buttons at its lower right.
    void layOut() {
        if (!ready_) return;
        RECT base{0, 0, 4, 8};
        MapDialogRect(window_, &base);
        RECT client;
        GetClientRect(window_, &client);
        ReportPlaces places = reportPlaces({static_cast<int>(base.right), static_cast<int>(base.bottom)},
                                           static_cast<int>(client.right), static_cast<int>(client.bottom));
        HDWP positions = BeginDeferWindowPos(3);
        auto place = [&](int id, const ControlBox& box) {
            if (positions)
                positions = DeferWindowPos(positions, GetDlgItem(window_, id), nullptr, box.x, box.y, box.width,
                                           box.height, SWP_NOZORDER | SWP_NOACTIVATE);
        };
        place(ReportTextId, places.text);
        place(ReportCopyId, places.copy);
        place(ReportCloseId, places.close);
        if (positions) EndDeferWindowPos(positions);
        InvalidateRect(window_, nullptr, TRUE);
    }

    // Another program may hold the clipboard for a moment (a clipboard manager reading what
    // changed): the launcher asks again for half a second, then tells the user.
    void copyToClipboard() {
        constexpr int Attempts = 20;
        constexpr DWORD Pause = 25;
        bool opened = false;
        for (int attempt = 0; attempt < Attempts && !(opened = OpenClipboard(window_) != FALSE); ++attempt)
            Sleep(Pause);
        bool copied = opened && putTextOnOpenClipboard();
        if (opened) CloseClipboard();
        if (!copied)
            messageBoxShownNormally(window_, widen(ReportNotCopiedText).c_str(), L"", MB_ICONWARNING);
    }

    bool putTextOnOpenClipboard() const {
        std::size_t bytes = (text_.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        void* at = memory ? GlobalLock(memory) : nullptr;
        if (!at) {
            if (memory) GlobalFree(memory);
            return false;
        }
        std::memcpy(at, text_.c_str(), bytes);
        GlobalUnlock(memory);
        EmptyClipboard();
        // On success the clipboard owns the memory.
        if (SetClipboardData(CF_UNICODETEXT, memory)) return true;
        GlobalFree(memory);
        return false;
    }

    std::wstring text_;
    HWND window_ = nullptr;
    POINT minimumSize_{0, 0};
    bool ready_ = false;
};

} // namespace

void showStartFailureReport(const std::string& title, const std::string& text) {
    InitCommonControls();
    StartFailureReport report(widen(text));
    // Should the window not come up, the user still learns why.
    if (report.showModal(title) <= 0) showError(text);
}
