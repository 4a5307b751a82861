#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Control ids of the cannot-start dialog.
constexpr int MessageControlId = 1004;
constexpr int OkButtonId = 1;

// The cannot-start dialog's in-memory template (classic form, not the extended one):
// 337 dialog units wide and `height` high, a read-only rich edit for the message and an OK
// button. Items start on 4-byte boundaries; strings are zero-terminated UTF-16.
std::vector<std::uint8_t> cannotStartDialogTemplate(const std::u16string& caption, int height);
