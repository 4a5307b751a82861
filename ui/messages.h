#pragma once

#include <string>

// Message boxes with no owner, an empty caption and an OK button.
void showError(const std::string& text);
void showInfo(const std::string& text);
