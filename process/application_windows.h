#pragma once

#include <windows.h>

#include <vector>

// Which windows are the application's: the visible top-level windows of its process. Hidden
// windows, child windows and message-only windows are not; owned ones (a dialog, shown perhaps
// without any main window) and tool windows are, as the user sees them all. The wait for the
// application's window ends at the first one, and a second start of a single-instance launcher
// brings one of them to the front.
bool isApplicationWindow(HWND window, DWORD processId);

// The application's windows, in the order the system lists top-level windows (front first).
std::vector<HWND> applicationWindows(DWORD processId);
