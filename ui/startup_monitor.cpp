#include "ui/startup_monitor.h"

namespace {

MonitorState* stateOf(HWND window) { return reinterpret_cast<MonitorState*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

void endLauncher(MonitorState& state) {
    KillTimer(state.window, MonitorTimerId);
    PostQuitMessage(0);
}

BOOL CALLBACK ApplicationWindowCheck(HWND window, LPARAM parameter) {
    MonitorState& state = *reinterpret_cast<MonitorState*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != state.applicationId) return TRUE;
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    state.fields.splashActive = false;
    ShowWindow(state.window, SW_HIDE);
    if (!state.fields.stayAlive) {
        // The application runs on; the launcher's job is done.
        state.exitCode = 0;
        state.leftRunning = true;
        endLauncher(state);
    }
    return FALSE;
}

// Asks the application's own process handle: its signalled state tells the end, so an exit
// status of 259 is not mistaken for a running process.
PollResult pollApplication(const MonitorState& state, DWORD& status) {
    if (!state.application) return PollResult::Unavailable;
    DWORD wait = WaitForSingleObject(state.application, 0);
    if (wait == WAIT_TIMEOUT) return PollResult::Running;
    if (wait != WAIT_OBJECT_0 || !GetExitCodeProcess(state.application, &status)) return PollResult::Unavailable;
    return PollResult::Ended;
}

// The application has ended: the launcher ends with its status.
void onApplicationEnd(MonitorState& state) {
    DWORD status = 0;
    state.exitCode = GetExitCodeProcess(state.application, &status) ? status : 1;
    state.applicationEnded = true;
    endLauncher(state);
}

void CALLBACK StartupMonitor(HWND window, UINT, UINT_PTR, DWORD) {
    MonitorState* found = stateOf(window);
    if (!found) return;
    MonitorState& state = *found;
    if (state.fields.splashActive) {
        SplashTick tick = countSplashTick(state.fields);
        if (tick.hideSplash) ShowWindow(state.window, SW_HIDE);
        if (tick.lookForWindow) {
            EnumWindows(ApplicationWindowCheck, reinterpret_cast<LPARAM>(&state));
            if (state.leftRunning) return;
        }
        if (splashEndsLauncher(state.fields)) {
            DWORD status = 0;
            PollResult poll = pollApplication(state, status);
            state.exitCode = statusAtSplashEnd(poll, status);
            endLauncher(state);
            return;
        }
    }
    DWORD status = 0;
    PollResult poll = pollApplication(state, status);
    std::uint32_t exitCode = state.exitCode;
    PollDecision decision = decideAfterPoll(poll, status, exitCode);
    state.exitCode = exitCode;
    if (poll == PollResult::Ended) state.applicationEnded = true;
    if (decision.stopTimer) KillTimer(state.window, MonitorTimerId);
    if (decision.quit) PostQuitMessage(0);
}

} // namespace

bool createMonitorWindow(HINSTANCE instance, MonitorState& state) {
    state.window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | SS_BITMAP, 0, 0, CW_USEDEFAULT,
                                   CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!state.window) return false;
    SetWindowLongPtrW(state.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    return true;
}

bool installStartupMonitor(MonitorState& state) {
    return SetTimer(state.window, MonitorTimerId, MonitorPeriodMilliseconds, StartupMonitor) != 0;
}

void runMessageLoop(MonitorState& state) {
    for (;;) {
        bool watching = state.application && !state.applicationEnded;
        bool lookingForWindow = watching && state.fields.splashActive && state.fields.waitForWindow;
        HANDLE application = state.application;
        DWORD wait = MsgWaitForMultipleObjects(watching ? 1 : 0, &application, FALSE,
                                               lookingForWindow ? WindowCheckMilliseconds : INFINITE, QS_ALLINPUT);
        if (wait == WAIT_FAILED) return;
        if (watching && wait == WAIT_OBJECT_0) {
            onApplicationEnd(state);
        } else if (wait == WAIT_TIMEOUT) {
            EnumWindows(ApplicationWindowCheck, reinterpret_cast<LPARAM>(&state));
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}
