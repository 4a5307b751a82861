#pragma once

#include <memory>
#include <string>

#include "base/result.h"
#include "launcher/launch_state.h"
#include "process/argument_file_writer.h"

// How the application is started, from the jar, main-class and module settings (variables
// expanded in the paths, entries below the launcher's folder).
LaunchForm launchFormSetting(const LaunchState& state);

// What the runtime is started with: its arguments, and the argument file they name when the
// command line would be too long for process creation without one.
struct JavaStart {
    std::string arguments;
    std::unique_ptr<ArgumentFile> argumentFile;
};

// The Java arguments for the runtime: every path in a form Java can read, the options in an
// argument file where the command line would be too long otherwise; or the message that says
// why it cannot start.
Result<JavaStart> javaStartFor(const LaunchState& state, const JavaRuntime& runtime);

// Whether the runtime can be started with these arguments: its command line within what
// process creation takes.
bool fitsCommandLine(const JavaRuntime& runtime, const std::string& arguments);
