#pragma once

#include <windows.h>

#include <string>

class ApplicationProcessRunner;

// The boot class path made of the jars in the Java home's lib folder (empty when none).
std::string buildBootClassPath(const std::string& javaHome);

struct StartResult {
    bool started = false;
    DWORD error = 0; // the system's error for a failed start
};

// Starts the application; on success LaunchState holds its own handles and ids.
// The runner belongs to its reader thread once started; after a failure it is destroyed here.
StartResult startApplication(const std::string& javaExecutable, const std::string& arguments,
                             ApplicationProcessRunner* runner);

// The text shown when the start failed.
std::string startFailureMessage(DWORD error);
