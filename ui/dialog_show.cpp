#include "ui/dialog_show.h"

namespace {

// The message box of this thread that is opening, caught as its dialog is set up.
HHOOK openingBoxHook = nullptr;

LRESULT CALLBACK showOpeningBox(int code, WPARAM wParam, LPARAM lParam) {
    // After the box's own WM_INITDIALOG, before the dialog manager shows it.
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (call->message == WM_INITDIALOG) showNormally(call->hwnd);
    }
    return CallNextHookEx(openingBoxHook, code, wParam, lParam);
}

} // namespace

void showNormally(HWND window, int command) {
    ShowWindow(window, command);
    if (!IsWindowVisible(window) || IsIconic(window) || IsZoomed(window)) ShowWindow(window, command);
}

int messageBoxShownNormally(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    // Without the hook the box still shows, as the system decides.
    HHOOK previous = openingBoxHook;
    openingBoxHook = SetWindowsHookExW(WH_CALLWNDPROCRET, showOpeningBox, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(owner, text, caption, type);
    if (openingBoxHook) UnhookWindowsHookEx(openingBoxHook);
    openingBoxHook = previous;
    return answer;
}
