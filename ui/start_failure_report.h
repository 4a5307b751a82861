#pragma once

#include <string>

// Shown when Copy cannot reach the clipboard.
extern const char* const ReportNotCopiedText;

// The ProductName of the executable's version resource; empty when it has none.
std::string configuredProductName(const std::string& executablePath);

// The launcher's own product name: the ProductName of its version resource, or its file name
// when it has none. Titles the windows the launcher shows of its own.
std::string productNameOf(const std::string& executablePath);

// Shows the start-failure report modally: `text` in a resizable read-only text area, a Copy
// button that puts all of it on the clipboard and a Close button. Returns when it is closed.
void showStartFailureReport(const std::string& title, const std::string& text);
