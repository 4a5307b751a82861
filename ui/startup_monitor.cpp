#include "ui/startup_monitor.h"

#include <cstdlib>

#include "launcher/launch_state.h"
#include "ui/monitor_decisions.h"

namespace {

BOOL CALLBACK ApplicationWindowCheck(HWND window, LPARAM) {
    LaunchState& state = launchState();
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != state.childProcessId) return TRUE;
    if (!(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    state.splashActive = false;
    ShowWindow(state.splashWindow, SW_HIDE);
    if (!state.stayAlive) std::exit(0); // the application runs on; the launcher's job is done
    return FALSE;
}

// Asks the application's own process handle: its signalled state tells the end, so an exit
// status of 259 is not mistaken for a running process.
PollResult pollApplication(DWORD& status) {
    HANDLE process = launchState().childProcess.get();
    if (!process) return PollResult::Unavailable;
    DWORD wait = WaitForSingleObject(process, 0);
    if (wait == WAIT_TIMEOUT) return PollResult::Running;
    if (wait != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &status)) return PollResult::Unavailable;
    return PollResult::Ended;
}

} // namespace

void CALLBACK StartupMonitor(HWND, UINT, UINT_PTR, DWORD) {
    LaunchState& state = launchState();
    if (state.splashActive) {
        MonitorFields fields{state.splashActive, state.splashSecondsLeft, state.waitForWindow, state.stayAlive};
        SplashTick tick = countSplashTick(fields);
        state.splashSecondsLeft = fields.splashSecondsLeft;
        state.splashActive = fields.splashActive;
        if (tick.hideSplash) ShowWindow(state.splashWindow, SW_HIDE);
        if (tick.lookForWindow) EnumWindows(ApplicationWindowCheck, 0);
        if (splashEndsLauncher(fields)) {
            KillTimer(state.splashWindow, MonitorTimerId);
            DWORD status = 0;
            PollResult poll = pollApplication(status);
            state.exitCode = statusAtSplashEnd(poll, status);
            PostQuitMessage(0);
            return;
        }
    }
    DWORD status = 0;
    PollResult poll = pollApplication(status);
    std::uint32_t exitCode = state.exitCode;
    PollDecision decision = decideAfterPoll(poll, status, exitCode);
    state.exitCode = exitCode;
    if (decision.stopTimer) KillTimer(state.splashWindow, MonitorTimerId);
    if (decision.quit) PostQuitMessage(0);
}

bool installStartupMonitor() {
    return SetTimer(launchState().splashWindow, MonitorTimerId, MonitorPeriodMilliseconds, StartupMonitor) != 0;
}
