#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "base/unique_handle.h"
#include "launcher/single_instance.h"
#include "launcher/switches.h"
#include "process/application_runner.h"
#include "process/application_wait.h"

// The state of one launch as the settings phase leaves it: what the switches, the string table
// and the VM options file say. Owned by the launch sequence on the main thread.
struct LaunchState {
    CommandLineTail tail;
    bool debugLog = false;
    bool consoleLauncher = false; // a console program: the runtime shares its console
    bool consoleWindow = false;   // -c in the window launcher: the runtime gets a console window
    bool jdkRequired = false;
    std::string javaExecutableName = "javaw.exe";
    std::string executablePath;
    std::string executableDirectory;
    std::string vmOptions;
    std::string jar;
    WaitChoices waitChoices;
    InstanceMarker instance; // with single_instance: the marker of this launch's application
};

// The runtime phase's answer: what to start.
struct JavaRuntime {
    std::string executable;
    std::string home; // "" when the search's stage does not know it
    // The runtime's feature version (8 for 1.8.0_391, 17 for 17.0.15), from its release file or
    // its probe, or from the registry key it was found under; nothing when the stage that chose it
    // could not tell (the working directory's java, a shipped runtime without a release file).
    std::optional<int> featureVersion;
};

// The start phase's result: the application as it runs. The handles are the launch sequence's
// own, closed once when this goes; `output` is shared with the application's reader thread and
// is null when the output is not captured (a console).
struct RunningApplication {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD processId = 0;
    ULONGLONG startedAt = 0;
    std::string commandLine;
    std::shared_ptr<ApplicationOutput> output;
};
