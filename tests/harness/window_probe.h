#pragma once

#include <windows.h>

#include <string>
#include <vector>

std::vector<HWND> topLevelWindowsOf(DWORD processId);
std::string windowText(HWND window);
// The whole text of a window, however long, in UTF-8.
std::string wholeWindowTextUtf8(HWND window);
// The clipboard's Unicode text in UTF-8 ("" when it holds none).
std::string clipboardTextUtf8();
std::string windowClass(HWND window);

// "error", "information" or "none": which standard icon a message box shows, told by drawing
// both candidates and comparing them with what is on the screen.
std::string messageBoxIcon(HWND box);
// The message text of a message box (its static control that is not the icon).
std::string messageBoxText(HWND box);

std::string rectFields(const char* prefix, const RECT& rect);

// Saves what the screen shows inside `rect` as a 24-bit BMP file.
bool saveScreenshot(const RECT& rect, const std::string& path);
