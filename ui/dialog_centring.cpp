#include "ui/dialog_centring.h"

#include "ui/placement.h"

void centreDialog(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner) {
        LONG ownerStyle = GetWindowLongW(owner, GWL_STYLE);
        if (!(ownerStyle & WS_VISIBLE) || (ownerStyle & WS_MINIMIZE)) owner = nullptr;
    }
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT reference = work;
    if (owner) GetWindowRect(owner, &reference);
    RECT own;
    GetWindowRect(dialog, &own);
    Point at = centredInside(Rect{reference.left, reference.top, reference.right, reference.bottom},
                             Rect{work.left, work.top, work.right, work.bottom}, own.right - own.left,
                             own.bottom - own.top);
    SetWindowPos(dialog, nullptr, at.x, at.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
