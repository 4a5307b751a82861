#include "ui/messages.h"

#include <windows.h>

void showError(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "", MB_ICONERROR); }

void showInfo(const std::string& text) { MessageBoxA(nullptr, text.c_str(), "", MB_ICONINFORMATION); }
