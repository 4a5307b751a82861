#pragma once

#include <windows.h>

#include <string>

// The system's own text for an error code, without its trailing line break.
std::string systemErrorText(DWORD error);
