#pragma once

#include <windows.h>

// The launcher's whole run, from its switches to its exit code.
int runLauncher(HINSTANCE instance, const char* commandLine, int showCommand);
