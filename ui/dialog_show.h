#pragma once

#include <windows.h>

// The launcher's own windows (splash, dialogs, message boxes) always show at their own size and
// place: the show value the launcher was started with is the application's.
//
// The process's first ShowWindow call ignores the value it is given when the starter gave one
// in STARTUPINFO, and uses that instead; later calls take the value as given (ShowWindow,
// "nCmdShow ... is ignored the first time an application calls ShowWindow, if the program that
// launched the application provides a STARTUPINFO structure"). So a window that did not come
// out as asked is shown once more.
void showNormally(HWND window, int command = SW_SHOWNORMAL);

// A message box shown with showNormally as it opens; `type` as for MessageBoxW.
int messageBoxShownNormally(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
