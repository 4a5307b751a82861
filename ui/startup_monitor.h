#pragma once

#include <windows.h>

#include "ui/monitor_decisions.h"

// Timer 1 on the monitor window, once a second: ends the splash phase, watches the application
// and decides when the launcher ends and with which status.
constexpr UINT_PTR MonitorTimerId = 1;
constexpr UINT MonitorPeriodMilliseconds = 1000;
// While the splash waits for the application's window, it is looked for this often.
constexpr DWORD WindowCheckMilliseconds = 100;

// What the splash and the startup monitor share on the main thread. The timer reaches it
// through its window; the launch sequence owns it and the application's handle it borrows.
struct MonitorState {
    MonitorFields fields{true, 3, false, true};
    HWND window = nullptr;
    HANDLE application = nullptr; // null until the application runs
    DWORD applicationId = 0;
    DWORD exitCode = 0;
    bool leftRunning = false; // the application's window was found and it runs on without us
    bool applicationEnded = false;
};

// The hidden pop-up that owns the monitor's timer and, with the splash on, shows the picture.
[[nodiscard]] bool createMonitorWindow(HINSTANCE instance, MonitorState& state);
[[nodiscard]] bool installStartupMonitor(MonitorState& state);

// The launcher's message loop. It waits on the application's process together with the
// messages, so the launcher ends as soon as the application does, and looks for the
// application's window every WindowCheckMilliseconds while the splash waits for it.
void runMessageLoop(MonitorState& state);
