#include "process/application_windows.h"

namespace {

struct WindowsOfProcess {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK collectApplicationWindow(HWND window, LPARAM parameter) {
    auto& collect = *reinterpret_cast<WindowsOfProcess*>(parameter);
    if (isApplicationWindow(window, collect.processId)) collect.windows.push_back(window);
    return TRUE;
}

} // namespace

bool isApplicationWindow(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId && GetAncestor(window, GA_PARENT) == GetDesktopWindow() &&
           (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
}

std::vector<HWND> applicationWindows(DWORD processId) {
    WindowsOfProcess collect{processId, {}};
    EnumWindows(collectApplicationWindow, reinterpret_cast<LPARAM>(&collect));
    return collect.windows;
}
