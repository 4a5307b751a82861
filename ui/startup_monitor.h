#pragma once

#include <windows.h>

// Timer 1 on the splash window, once a second: ends the splash phase, watches the application
// and decides when the launcher ends and with which status.
constexpr UINT_PTR MonitorTimerId = 1;
constexpr UINT MonitorPeriodMilliseconds = 1000;

void CALLBACK StartupMonitor(HWND window, UINT message, UINT_PTR timerId, DWORD time);
bool installStartupMonitor();
