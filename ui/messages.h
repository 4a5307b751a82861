#pragma once

#include <string>

// Message boxes with no owner, an empty caption and an OK button, shown normally whatever show
// value the launcher was started with.
void showError(const std::string& text);
void showInfo(const std::string& text);
