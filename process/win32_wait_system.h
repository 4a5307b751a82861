#pragma once

#include <windows.h>

#include "process/application_wait.h"

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

// The caption of the message box in which the windowed Java runtime shows why it could not
// start the application.
extern const wchar_t* const RuntimeErrorBoxCaption;

// Waits as the policy says, pumping the thread's messages all the while. The application's end
// is noticed in one way only: its process handle, among the handles of the message wait. Its
// windows are noticed as they are shown, by an event hook on that process.
WaitOutcome waitForApplication(const WaitPolicy& policy, const WaitTargets& targets);
