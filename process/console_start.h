#pragma once

#include <string>

#include "base/result.h"
#include "process/process_runner.h"

enum class ConsoleUse {
    SharedWithLauncher, // the launcher is a console program: same console, same standard handles
    NewWindow,          // the launcher has no console: the runtime gets a console window of its own
};

// Starts the application on a console, its output not captured, and returns the caller's own
// handles to it. A console window of its own appears as `showCommand` says (-1: the default).
Result<StartedProcess> startOnConsole(const std::string& commandLine, ConsoleUse use, int showCommand);
