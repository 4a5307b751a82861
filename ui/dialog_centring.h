#pragma once

#include <windows.h>

// Centres a dialog on its owner, or on the work area when it has no visible owner, and keeps it
// inside the work area.
void centreDialog(HWND dialog);
