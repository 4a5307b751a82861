#pragma once

#include <string>

// Shown when Copy cannot reach the clipboard.
extern const char* const ReportNotCopiedText;

// Shows the start-failure report modally: `text` in a resizable read-only text area, a Copy
// button that puts all of it on the clipboard and a Close button. Returns when it is closed.
void showStartFailureReport(const std::string& title, const std::string& text);
