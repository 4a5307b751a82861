#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle.h"
#include "ui/splash_window.h"
#include "ui/startup_monitor.h"

// The state of one launch, owned by the launch sequence on the main thread. The startup monitor
// reaches its part through the monitor window; the application's reader thread touches none of it.
struct LaunchState {
    LaunchState()
        : outputArrived(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          outputEnded(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    bool jdkRequired = false;
    bool debugLog = false;
    bool consoleLauncher = false; // a console program: the runtime shares its console
    bool consoleWindow = false;   // -c in the window launcher: the runtime gets a console window
    std::string javaExecutableName = "javaw.exe";
    std::string minimumJavaVersion = "1.3";
    std::string javaHome;

    MonitorState monitor;
    SplashPicture splashPicture;

    // The application's process and thread: handles of our own, closed once by closeChildHandles.
    UniqueHandle childProcess;
    UniqueHandle childThread;

    // Signalled by the application's reader thread, through handles of its own, at each chunk
    // of the application's output and when that output has ended.
    UniqueHandle outputArrived;
    UniqueHandle outputEnded;

    void closeChildHandles() {
        childThread.reset();
        childProcess.reset();
    }
};
