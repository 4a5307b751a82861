#include "launcher/single_instance.h"

#include <sddl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/text_encoding.h"
#include "launcher/later_start.h"
#include "launcher/later_start_rules.h"
#include "process/application_windows.h"
#include "launcher/user_only_security.h"
#include "trace/trace_log.h"

namespace {

// What the marker holds: the running application's process id, 0 while it is being started;
// and the token of the channel its later starts hand their arguments over, once written.
struct MarkerRecord {
    volatile LONG processId;
    volatile LONG tokenWritten;
    char token[LaterStartTokenLength];
};

constexpr DWORD PollMilliseconds = 100;

std::optional<std::string> currentUserSid() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.receive())) return std::nullopt;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return std::nullopt;
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return std::nullopt;
    std::string sid = narrow(std::wstring(text));
    LocalFree(text);
    return sid;
}

// Upper case by the invariant locale: the same launcher under any spelling of its path.
std::string caseFolded(const std::string& path) {
    std::wstring wide = widen(path);
    int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), static_cast<int>(wide.size()),
                               nullptr, 0, nullptr, nullptr, 0);
    if (length <= 0) return path;
    std::wstring folded(static_cast<std::size_t>(length), L'\0');
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), static_cast<int>(wide.size()), folded.data(),
                  length, nullptr, nullptr, 0);
    return narrow(folded);
}

MarkerRecord* recordOf(void* view) { return static_cast<MarkerRecord*>(view); }

// Creates the marker, or opens it when another start has made it. Made with the user's own
// security: an elevated start's marker would otherwise be the administrators' and of high
// integrity, which a normal start of the same user cannot open. A start below medium integrity
// may not give the marker a medium label, and goes without it.
UniqueHandle createMarker(const std::string& name, const std::string& sid) {
    std::wstring wideName = widen(name);
    for (bool mediumLabel : {true, false}) {
        UserOnlySecurity security(sid, mediumLabel);
        if (!security.attributes()) continue;
        SetLastError(ERROR_SUCCESS);
        UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, security.attributes(), PAGE_READWRITE, 0,
                                                sizeof(MarkerRecord), wideName.c_str()));
        if (mapping || GetLastError() == ERROR_ACCESS_DENIED) return mapping;
    }
    SetLastError(ERROR_SUCCESS);
    return UniqueHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(MarkerRecord),
                                           wideName.c_str()));
}

HWND windowToBringForwardOf(DWORD processId, bool lastLook) {
    std::vector<HWND> windows = applicationWindows(processId);
    std::vector<WindowFacts> facts;
    for (HWND window : windows)
        facts.push_back({GetWindow(window, GW_OWNER) != nullptr, (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0});
    std::optional<std::size_t> chosen = windowToBringForward(facts, lastLook);
    return chosen ? windows[*chosen] : nullptr;
}

// This start was made by the user, so it may set the foreground window (it was started by the
// foreground process); it lets the application do so too, for what it shows next.
void bringForward(HWND window, DWORD processId) {
    AllowSetForegroundWindow(processId);
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A modal dialog of the application is what the user must see, when one is up; a hidden
    // pop-up (GetLastActivePopup also gives those) is not.
    HWND active = GetLastActivePopup(window);
    SetForegroundWindow(active && IsWindowVisible(active) ? active : window);
}

enum class Recorded { Starting, Running, Ended };

Recorded recordedApplication(DWORD processId) {
    if (processId == 0) return Recorded::Starting;
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER ? Recorded::Ended : Recorded::Running;
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0 ? Recorded::Ended : Recorded::Running;
}

// The marker's maker gives the application its channel (nothing when the system gives no
// random token: its later starts then deliver nothing).
void writeToken(MarkerRecord& record) {
    std::string token = newLaterStartToken();
    if (token.size() != LaterStartTokenLength) return;
    std::copy(token.begin(), token.end(), record.token);
    InterlockedExchange(&record.tokenWritten, 1);
}

std::string tokenOf(const MarkerRecord& record) {
    if (InterlockedCompareExchange(const_cast<volatile LONG*>(&record.tokenWritten), 1, 1) != 1) return std::string();
    return std::string(record.token, LaterStartTokenLength);
}

} // namespace

InstanceMarker::InstanceMarker(UniqueHandle mapping, void* view) : mapping_(std::move(mapping)), view_(view) {}

InstanceMarker::InstanceMarker(InstanceMarker&& other) noexcept
    : mapping_(std::move(other.mapping_)), view_(std::exchange(other.view_, nullptr)) {}

InstanceMarker& InstanceMarker::operator=(InstanceMarker&& other) noexcept {
    if (this != &other) {
        if (view_) UnmapViewOfFile(view_);
        mapping_ = std::move(other.mapping_);
        view_ = std::exchange(other.view_, nullptr);
    }
    return *this;
}

InstanceMarker::~InstanceMarker() {
    if (view_) UnmapViewOfFile(view_);
}

void InstanceMarker::recordApplication(HANDLE process, DWORD processId) {
    if (!view_) return;
    HANDLE held = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), mapping_.get(), process, &held, 0, FALSE, DUPLICATE_SAME_ACCESS))
        traceLog().append("Single instance: the application holds no marker (error ")
            .append(std::to_string(GetLastError())).append(")").endLine();
    InterlockedExchange(&recordOf(view_)->processId, static_cast<LONG>(processId));
}

std::string InstanceMarker::laterStartChannel() const {
    return view_ ? laterStartPipeName(tokenOf(*recordOf(view_))) : std::string();
}

void InstanceMarker::recordRestart() {
    if (view_) InterlockedExchange(&recordOf(view_)->processId, 0);
}

std::optional<InstanceMarker> claimSingleInstance(const std::string& tail) {
    std::optional<std::string> sid = currentUserSid();
    std::optional<std::string> executable = executablePath();
    if (!sid || !executable) {
        traceLog().trace("Single instance: no marker without the user and the launcher's path");
        return InstanceMarker();
    }
    std::string name = instanceMarkerName(*sid, caseFolded(*executable));
    traceLog().append("Single instance: ").append(name).endLine();
    DWORD deadline = GetTickCount() + WaitForRunningWindowMilliseconds;
    for (;;) {
        UniqueHandle mapping = createMarker(name, *sid);
        bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
        if (!mapping && GetLastError() == ERROR_ACCESS_DENIED) {
            // It exists, so another start of this launcher runs; one this start cannot reach
            // (made by an older launcher, elevated) must still not get a second application.
            traceLog().trace("Single instance: another start's marker cannot be opened; no second application");
            traceLog().trace("Later start: no channel to the running application; the arguments were not delivered");
            return std::nullopt;
        }
        void* view = mapping ? MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(MarkerRecord)) : nullptr;
        if (!view) {
            traceLog().append("Single instance: no marker (error ").append(std::to_string(GetLastError())).append(")")
                .endLine();
            return InstanceMarker();
        }
        InstanceMarker marker(std::move(mapping), view);
        if (!existed) {
            writeToken(*recordOf(view));
            return marker;
        }

        DWORD processId = static_cast<DWORD>(recordOf(view)->processId);
        Recorded recorded = recordedApplication(processId);
        if (recorded == Recorded::Ended &&
            InterlockedCompareExchange(&recordOf(view)->processId, 0, static_cast<LONG>(processId)) ==
                static_cast<LONG>(processId)) {
            // Its launcher is still ending; the application it recorded is gone: ours replaces it.
            traceLog().trace("Single instance: the recorded application has ended");
            return marker;
        }
        bool lastLook = static_cast<LONG>(GetTickCount() - deadline) >= 0;
        if (recorded == Recorded::Running) {
            if (HWND window = windowToBringForwardOf(processId, lastLook)) {
                traceLog().append("Single instance: application ").append(std::to_string(processId))
                    .append(" runs, its window is brought to the front").endLine();
                bringForward(window, processId);
                deliverLaterStart(tokenOf(*recordOf(view)), processId, *sid, tail);
                return std::nullopt;
            }
        }
        if (lastLook) {
            traceLog().trace("Single instance: the running application shows no window");
            deliverLaterStart(tokenOf(*recordOf(view)), static_cast<DWORD>(recordOf(view)->processId), *sid, tail);
            return std::nullopt;
        }
        Sleep(PollMilliseconds);
    }
}
