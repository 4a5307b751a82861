#pragma once

#include <windows.h>

#include <string>

// The launcher's whole run, from its command-line tail (UTF-8) to its exit code.
int runLauncher(HINSTANCE instance, const std::string& commandLine, int showCommand);
