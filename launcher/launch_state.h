#pragma once

#include <windows.h>

#include <string>

#include "process/unique_handle.h"

struct IPicture;

// The one process-wide state that the launch sequence, the runtime search, the splash and the
// startup monitor share. Everything but `outputEnded` is used on the main thread only.
struct LaunchState {
    LaunchState();
    ~LaunchState();

    bool splashActive = true;
    int splashSecondsLeft = 3;
    bool stayAlive = true;
    bool waitForWindow = false;
    bool jdkRequired = false;
    bool debugLog = false; // set before any reader thread exists, read by them
    std::string javaExecutableName = "javaw.exe";
    std::string minimumJavaVersion = "1.3";
    std::string javaHome;

    HWND splashWindow = nullptr;
    IPicture* splashPicture = nullptr;

    // The application's process and thread: handles of our own, closed once by closeChildHandles.
    UniqueHandle childProcess;
    UniqueHandle childThread;
    DWORD childProcessId = 0;
    DWORD childThreadId = 0;
    DWORD exitCode = 0;

    // Signalled by the application's reader thread when its output has ended.
    UniqueHandle outputEnded;
    void applicationOutputEnded() { SetEvent(outputEnded.get()); }

    void closeChildHandles() {
        childThread.reset();
        childProcess.reset();
    }
};

LaunchState& launchState();
