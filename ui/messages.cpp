#include "ui/messages.h"

#include <windows.h>

#include "base/text_encoding.h"
#include "ui/dialog_show.h"

void showError(const std::string& text) { messageBoxShownNormally(nullptr, widen(text).c_str(), L"", MB_ICONERROR); }

void showInfo(const std::string& text) { messageBoxShownNormally(nullptr, widen(text).c_str(), L"", MB_ICONINFORMATION); }
