#include "ui/startup_monitor.h"

#include <algorithm>

namespace {

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK ApplicationWindowCheck(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    search->found = true;
    return FALSE;
}

// Whether the application shows a visible top-level window; hidden ones do not count.
bool applicationWindowShown(DWORD processId) {
    WindowSearch search{processId, false};
    EnumWindows(ApplicationWindowCheck, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void dispatchWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // Nothing of ours asks to quit; a stray quit message must not end the wait.
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::uint32_t exitStatusOf(HANDLE process) {
    DWORD status = 0;
    // A process whose status cannot be read counts as failed.
    return GetExitCodeProcess(process, &status) ? status : 1;
}

} // namespace

HWND createSplashWindow(HINSTANCE instance) {
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | SS_BITMAP, 0, 0, CW_USEDEFAULT,
                           CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

WaitOutcome waitForApplication(const WaitPolicy& policy, const WaitTargets& targets) {
    WaitTracker tracker(policy);
    if (!targets.outputEnded) tracker.outputEnded(); // nothing captured: nothing to wait for
    auto elapsed = [&] { return static_cast<std::uint64_t>(GetTickCount64() - targets.startedAt); };
    std::uint64_t nextWindowCheck = 0;
    for (;;) {
        std::uint64_t now = elapsed();
        tracker.timePassed(now);
        if (tracker.lookingForWindow() && now >= nextWindowCheck) {
            nextWindowCheck = now + WindowCheckMilliseconds;
            if (applicationWindowShown(targets.applicationId)) tracker.windowSeen();
            continue;
        }
        // A launcher that is done leaves its splash to vanish with it; hiding takes time on
        // some systems (Wine waits up to 2 s for a window manager that may not be there).
        if (tracker.done()) break;
        if (targets.splash && !tracker.splashShowing() && IsWindowVisible(targets.splash))
            ShowWindow(targets.splash, SW_HIDE);

        // The handles this wait watches, each in its slot (NoSlot when not watched).
        constexpr DWORD NoSlot = MAXDWORD;
        HANDLE handles[3];
        DWORD count = 0;
        auto watch = [&](HANDLE handle) {
            handles[count] = handle;
            return count++;
        };
        DWORD applicationSlot = tracker.applicationRunning() ? watch(targets.application) : NoSlot;
        DWORD outputEndedSlot = tracker.waitsForOutputEnd() ? watch(targets.outputEnded) : NoSlot;
        DWORD outputArrivedSlot = tracker.draining() && targets.outputArrived ? watch(targets.outputArrived) : NoSlot;

        std::uint64_t until = tracker.nextDeadline();
        if (tracker.lookingForWindow()) until = std::min(until, nextWindowCheck);
        DWORD timeout = until == UINT64_MAX ? INFINITE
                                            : static_cast<DWORD>(std::min<std::uint64_t>(until > now ? until - now : 0,
                                                                                         INFINITE - 1));
        DWORD wait = MsgWaitForMultipleObjects(count, handles, FALSE, timeout, QS_ALLINPUT);
        if (wait == WAIT_FAILED) break; // should never be: end rather than spin
        DWORD slot = wait - WAIT_OBJECT_0;
        if (slot < count) {
            if (slot == applicationSlot)
                tracker.applicationEnded(exitStatusOf(targets.application), elapsed());
            else if (slot == outputEndedSlot)
                tracker.outputEnded();
            else if (slot == outputArrivedSlot)
                tracker.outputArrived(elapsed());
        } else if (slot == count) {
            dispatchWaitingMessages();
        }
    }
    // The start-failure report comes next: the splash goes first.
    if (targets.splash && tracker.startFailed() && IsWindowVisible(targets.splash)) ShowWindow(targets.splash, SW_HIDE);
    return WaitOutcome{tracker.end(), tracker.startFailed(), tracker.exitCode()};
}
