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
        if (targets.splash && !tracker.splashShowing() && IsWindowVisible(targets.splash))
            ShowWindow(targets.splash, SW_HIDE);
        if (tracker.lookingForWindow() && now >= nextWindowCheck) {
            nextWindowCheck = now + WindowCheckMilliseconds;
            if (applicationWindowShown(targets.applicationId)) tracker.windowSeen();
            continue;
        }
        if (tracker.done()) break;

        HANDLE handles[3];
        DWORD count = 0;
        bool watchingApplication = tracker.applicationRunning() && targets.application;
        if (watchingApplication) handles[count++] = targets.application;
        DWORD outputEndedSlot = count, outputArrivedSlot = MAXDWORD;
        if (tracker.waitsForOutputEnd()) handles[count++] = targets.outputEnded;
        else outputEndedSlot = MAXDWORD;
        if (tracker.draining() && targets.outputArrived) {
            outputArrivedSlot = count;
            handles[count++] = targets.outputArrived;
        }

        std::uint64_t until = tracker.nextDeadline();
        if (tracker.lookingForWindow()) until = std::min(until, nextWindowCheck);
        DWORD timeout = until == UINT64_MAX ? INFINITE
                                            : static_cast<DWORD>(std::min<std::uint64_t>(until > now ? until - now : 0,
                                                                                         INFINITE - 1));
        DWORD wait = MsgWaitForMultipleObjects(count, handles, FALSE, timeout, QS_ALLINPUT);
        if (wait == WAIT_FAILED) break; // should never be: end rather than spin
        DWORD slot = wait - WAIT_OBJECT_0;
        if (slot < count) {
            if (watchingApplication && slot == 0)
                tracker.applicationEnded(exitStatusOf(targets.application), elapsed());
            else if (slot == outputEndedSlot)
                tracker.outputEnded();
            else if (slot == outputArrivedSlot)
                tracker.outputArrived(elapsed());
        } else if (slot == count) {
            dispatchWaitingMessages();
        }
    }
    if (targets.splash && IsWindowVisible(targets.splash) && !tracker.applicationRunning())
        ShowWindow(targets.splash, SW_HIDE);
    return WaitOutcome{tracker.end(), tracker.startFailed(), tracker.exitCode()};
}
