#pragma once

#include <string>

#include "base/result.h"
#include "process/console_start.h"
#include "process/process_runner.h"

class ApplicationProcessRunner;

// Starts the application by the full path of its executable (a relative one is taken from the
// current directory) and returns the caller's own handles to it. Its first window follows
// `showCommand`, the launcher's own. The runner belongs to its reader thread once started;
// after a failure it is destroyed here.
Result<StartedProcess> startApplication(const std::string& javaExecutable, const std::string& arguments,
                                        ApplicationProcessRunner* runner, int showCommand);

// Starts the application on a console (-c, or a console launcher); its output is not captured.
Result<StartedProcess> startApplicationOnConsole(const std::string& javaExecutable, const std::string& arguments,
                                                 ConsoleUse use, int showCommand);

// Why the start failed: the runner's reason as a sentence ("The command line is too long."), then
// on a line of its own the system's words for its error code.
std::string startFailureReason(const Failure& failure);
// The text shown when the start failed: a first line, then the reason.
std::string startFailureMessage(const Failure& failure);
