#pragma once

#include <windows.h>

#include <string>

// The launcher's whole run, from its command-line tail (UTF-8) to its exit code. `showCommand` is the
// show value the launcher was started with, for the application alone (-1: none given).
int runLauncher(HINSTANCE instance, const std::string& commandLine, int showCommand);
