#include "process/console_start.h"

#include "base/text_encoding.h"
#include "process/inherited_handles.h"
#include "trace/trace_log.h"

namespace {

// One of our standard handles as the runtime gets it: a console handle as it is (it reaches a
// child on the same console without a list, and on Windows 7, where it is no kernel handle, it
// must not be in one), anything else (a pipe, a file) as an inheritable duplicate of our own.
struct StandardHandle {
    HANDLE value = nullptr;
    UniqueHandle duplicate;
    bool console = false;
};

StandardHandle standardHandle(DWORD which) {
    StandardHandle standard;
    HANDLE handle = GetStdHandle(which);
    if (!handle || handle == INVALID_HANDLE_VALUE) return standard;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        standard.value = handle;
        standard.console = true;
        return standard;
    }
    HANDLE copy = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        standard.duplicate.reset(copy);
        standard.value = copy;
    }
    return standard;
}

} // namespace

Result<StartedProcess> startOnConsole(const std::string& commandLine, ConsoleUse use, int showCommand) {
    traceLog().trace("CreateProcess: " + commandLine);
    std::wstring modifiable = widen(commandLine);
    if (modifiable.size() >= ProcessRunner::MaxCommandLine)
        return Failure{ERROR_FILENAME_EXCED_RANGE, "the command line is too long"};

    bool shared = use == ConsoleUse::SharedWithLauncher;
    StandardHandle input, output, error;
    if (shared) {
        input = standardHandle(STD_INPUT_HANDLE);
        output = standardHandle(STD_OUTPUT_HANDLE);
        error = standardHandle(STD_ERROR_HANDLE);
    }
    // Redirected standard handles are the only ones the runtime inherits. Where any of them is a
    // console handle the list cannot be used (Windows 7 refuses the start) and is not needed:
    // the runtime then inherits as console programs always have.
    bool onConsole = input.console || output.console || error.console;
    InheritedHandles inherited = onConsole ? InheritedHandles{} : InheritedHandles{input.value, output.value, error.value};
    STARTUPINFOW& startup = inherited.startupInfo().StartupInfo;
    DWORD creation = shared ? 0 : CREATE_NEW_CONSOLE;
    if (shared) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input.value;
        startup.hStdOutput = output.value;
        startup.hStdError = error.value;
    } else if (showCommand >= 0) {
        // The runtime's own console window appears as the launcher was asked to appear.
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showCommand);
    }
    if (inherited.ready())
        creation |= EXTENDED_STARTUPINFO_PRESENT;
    else
        startup.cb = sizeof(STARTUPINFOW);
    BOOL inherit = inherited.ready() || onConsole;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, modifiable.data(), nullptr, nullptr, inherit, creation, nullptr, nullptr, &startup,
                        &info))
        return Failure{GetLastError(), "cannot create the process"};
    return StartedProcess{UniqueHandle(info.hProcess), UniqueHandle(info.hThread), info.dwProcessId, info.dwThreadId};
}
