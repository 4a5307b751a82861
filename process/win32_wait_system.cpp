#include "process/win32_wait_system.h"

#include <versionhelpers.h>

#include <algorithm>

#include "base/system_error.h"
#include "base/text_encoding.h"
#include "process/application_windows.h"
#include "trace/trace_log.h"

const wchar_t* const RuntimeErrorBoxCaption = L"Java Virtual Machine Launcher";

namespace {

// Enough for any reason a runtime puts in its box; longer texts are cut.
constexpr int BoxTextLimit = 4096;
// Windows shown between two looks; more are not kept, as a look at all of them follows.
constexpr std::size_t ShownWindowsLimit = 64;
constexpr UINT TextReadMilliseconds = 1000;
constexpr std::uint64_t HookedPollMilliseconds = 250;

struct ShownWindows {
    HWND windows[ShownWindowsLimit];
    std::size_t count = 0;
    bool overflowed = false;
};

// The windows the hook reported since the last look. A window event procedure has no context
// of its own: this is the one wait's list while its hook is set, null otherwise.
ShownWindows* reportedShows = nullptr;

void CALLBACK windowShown(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (!reportedShows || !window || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    ShownWindows& shows = *reportedShows;
    if (shows.count == ShownWindowsLimit) {
        shows.overflowed = true;
        return;
    }
    shows.windows[shows.count++] = window;
}

std::wstring textOf(HWND window) {
    wchar_t text[BoxTextLimit] = {};
    DWORD_PTR copied = 0;
    // The window is another process's: a hung one must not hold up the launcher.
    if (!SendMessageTimeoutW(window, WM_GETTEXT, BoxTextLimit, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             TextReadMilliseconds, &copied))
        return std::wstring();
    return std::wstring(text, std::min<std::size_t>(copied, BoxTextLimit - 1));
}

bool isRuntimeErrorBox(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return wcscmp(className, L"#32770") == 0 && textOf(window) == RuntimeErrorBoxCaption;
}

BOOL CALLBACK collectBoxText(HWND child, LPARAM parameter) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (_wcsicmp(className, L"Static") != 0) return TRUE;
    std::wstring text = textOf(child);
    if (!text.empty()) {
        std::wstring& all = *reinterpret_cast<std::wstring*>(parameter);
        all += (all.empty() ? L"" : L"\n") + text;
    }
    return TRUE;
}

// The box's text; the box is answered with OK, which lets the runtime end.
std::string takeRuntimeErrorBox(HWND box) {
    std::wstring text;
    EnumChildWindows(box, collectBoxText, reinterpret_cast<LPARAM>(&text));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return narrow(text);
}

struct WindowLook {
    DWORD processId;
    bool takeRuntimeBoxes;
    WindowNews news;
};

// Any window of the application's counts, unless it is the runtime's error box, which is
// taken while a failure would be reported.
void lookAt(HWND window, WindowLook& look) {
    if (!isApplicationWindow(window, look.processId)) return;
    if (look.takeRuntimeBoxes && isRuntimeErrorBox(window)) {
        std::string text = takeRuntimeErrorBox(window);
        traceLog().trace("The Java runtime reported: " + text);
        look.news.runtimeMessages.push_back(text);
        return;
    }
    look.news.applicationWindow = true;
}

// Every input Windows 8 and later wake a message wait for; Windows 7 refuses a wait that asks
// for QS_TOUCH or QS_POINTER.
DWORD messageWakeMask() {
    return IsWindows8OrGreater() ? QS_ALLINPUT : QS_ALLINPUT & ~static_cast<DWORD>(QS_TOUCH | QS_POINTER);
}

std::uint64_t millisecondsOf(const FILETIME& time) {
    return ((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000;
}

class Win32WaitSystem final : public WaitSystem {
public:
    explicit Win32WaitSystem(const WaitTargets& targets) : targets_(targets), wakeMask_(messageWakeMask()) {
        reportedShows = &shows_;
        hook_ = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, windowShown, targets.applicationId, 0,
                                WINEVENT_OUTOFCONTEXT);
        if (!hook_) traceLog().trace("Cannot follow the application's windows: " + systemErrorText(GetLastError()));
    }
    ~Win32WaitSystem() override {
        if (hook_) UnhookWinEvent(hook_);
        reportedShows = nullptr;
    }
    Win32WaitSystem(const Win32WaitSystem&) = delete;
    Win32WaitSystem& operator=(const Win32WaitSystem&) = delete;

    std::uint64_t now() override { return GetTickCount64() - targets_.startedAt; }

    Wake wait(const WaitRequest& request) override {
        HANDLE handles[3];
        Wake woken[3];
        DWORD count = 0;
        auto watch = [&](bool wanted, HANDLE handle, Wake wake) {
            if (!wanted || !handle) return;
            handles[count] = handle;
            woken[count++] = wake;
        };
        watch(request.application, targets_.application, Wake::Application);
        watch(request.outputEnded, targets_.outputEnded, Wake::OutputEnded);
        watch(request.outputArrived, targets_.outputArrived, Wake::OutputArrived);
        DWORD timeout = request.timeoutMilliseconds >= INFINITE ? INFINITE : static_cast<DWORD>(request.timeoutMilliseconds);
        DWORD result = request.messages ? MsgWaitForMultipleObjects(count, handles, FALSE, timeout, wakeMask_)
                       : count > 0      ? WaitForMultipleObjects(count, handles, FALSE, timeout)
                                        : (Sleep(timeout == INFINITE ? WindowPollMilliseconds : timeout), WAIT_TIMEOUT);
        if (result == WAIT_FAILED) {
            traceLog().trace("The wait failed: " + systemErrorText(GetLastError()));
            return Wake::Failed;
        }
        if (result == WAIT_TIMEOUT) return Wake::TimedOut;
        DWORD slot = result - WAIT_OBJECT_0;
        if (slot < count) return woken[slot];
        if (slot == count && request.messages) return Wake::Messages;
        return Wake::Failed; // an abandoned wait: none of ours are mutexes
    }

    void dispatchMessages() override {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            // Nothing of ours asks to quit; a stray quit message must not end the wait.
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    WindowNews lookAtWindows(bool allWindows, bool takeRuntimeBoxes) override {
        WindowLook look{targets_.applicationId, takeRuntimeBoxes, {}};
        if (allWindows || shows_.overflowed) {
            for (HWND window : applicationWindows(look.processId)) lookAt(window, look);
        } else {
            for (std::size_t i = 0; i < shows_.count; ++i) lookAt(shows_.windows[i], look);
        }
        shows_.count = 0;
        shows_.overflowed = false;
        return look.news;
    }

    // Wine sets the hook but reports no shows of other processes' windows: all windows are
    // still looked at, less often where the hook reports shows.
    std::uint64_t windowPollMilliseconds() override { return hook_ ? HookedPollMilliseconds : WindowPollMilliseconds; }

    ApplicationExit applicationExit() override {
        ApplicationExit exit;
        DWORD status = 0;
        // A process whose status cannot be read counts as failed.
        exit.status = GetExitCodeProcess(targets_.application, &status) ? status : 1;
        FILETIME created, ended, kernel, user;
        if (GetProcessTimes(targets_.application, &created, &ended, &kernel, &user) &&
            millisecondsOf(ended) >= millisecondsOf(created))
            exit.ranMilliseconds = millisecondsOf(ended) - millisecondsOf(created);
        return exit;
    }

    void hideSplash() override {
        // Hiding takes time on some systems (Wine waits up to 2 s for a window manager that may
        // not be there): only a visible splash is hidden.
        if (targets_.splash && IsWindowVisible(targets_.splash)) ShowWindow(targets_.splash, SW_HIDE);
    }

    void trace(const std::string& text) override { traceLog().trace(text); }

private:
    const WaitTargets& targets_;
    DWORD wakeMask_;
    ShownWindows shows_;
    HWINEVENTHOOK hook_ = nullptr;
};

} // namespace

WaitOutcome waitForApplication(const WaitPolicy& policy, const WaitTargets& targets) {
    Win32WaitSystem system(targets);
    return followApplication(policy, targets.outputEnded != nullptr, system);
}
