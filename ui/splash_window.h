#pragma once

#include <windows.h>

extern const char* const SplashLoadFailedText;

// The hidden pop-up that owns the monitor's timer and, with the splash on, shows the picture.
bool createMonitorWindow(HINSTANCE instance);

// Loads the splash picture from the executable, puts it into the window, centres the window on
// the primary screen and shows it with the start-up show value. False when the picture does
// not decode.
bool showSplash(int showCommand);
