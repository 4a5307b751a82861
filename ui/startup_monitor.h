#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/monitor_decisions.h"

// While the splash or the start watch waits for the application's window, it is looked for
// this often.
constexpr DWORD WindowCheckMilliseconds = 100;

// What the wait follows, all borrowed from the launch sequence: the application's process and
// id, its output's events (null when its output is not captured), the splash window (null
// when none) and the moment of the start (GetTickCount64).
struct WaitTargets {
    HANDLE application = nullptr;
    DWORD applicationId = 0;
    HANDLE outputArrived = nullptr;
    HANDLE outputEnded = nullptr;
    HWND splash = nullptr;
    ULONGLONG startedAt = 0;
};

struct WaitOutcome {
    ApplicationEnd end;
    bool startFailed = false; // show the start-failure report
    std::uint32_t exitCode = 0;
};

// The hidden pop-up that shows the splash picture; null when it cannot be made.
HWND createSplashWindow(HINSTANCE instance);

// Waits as the policy says, pumping the thread's messages all the while. The application's end
// is noticed in one way only: its process handle, among the handles of the message wait. The
// splash is hidden when its time is over, at the application's window when asked for, and
// before the last output of an ended application is read.
WaitOutcome waitForApplication(const WaitPolicy& policy, const WaitTargets& targets);
