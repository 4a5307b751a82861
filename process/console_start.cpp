#include "process/console_start.h"

#include "base/text_encoding.h"
#include "process/inherited_handles.h"
#include "trace/trace_log.h"

namespace {

// An inheritable duplicate of one of our standard handles; empty when there is none.
UniqueHandle inheritableStandardHandle(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (!handle || handle == INVALID_HANDLE_VALUE) return UniqueHandle();
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return UniqueHandle();
    return UniqueHandle(copy);
}

} // namespace

Result<StartedProcess> startOnConsole(const std::string& commandLine, ConsoleUse use) {
    traceLog().trace("CreateProcess: " + commandLine);
    std::wstring modifiable = widen(commandLine);
    if (modifiable.size() >= ProcessRunner::MaxCommandLine)
        return Failure{ERROR_FILENAME_EXCED_RANGE, "the command line is too long"};

    UniqueHandle input, output, error;
    bool shared = use == ConsoleUse::SharedWithLauncher;
    if (shared) {
        // Redirected standard handles (a pipe, a file) reach the runtime only when handed over.
        input = inheritableStandardHandle(STD_INPUT_HANDLE);
        output = inheritableStandardHandle(STD_OUTPUT_HANDLE);
        error = inheritableStandardHandle(STD_ERROR_HANDLE);
    }
    // The runtime inherits its standard handles and nothing else.
    InheritedHandles inherited{input.get(), output.get(), error.get()};
    STARTUPINFOW& startup = inherited.startupInfo().StartupInfo;
    DWORD creation = shared ? 0 : CREATE_NEW_CONSOLE;
    if (shared) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input.get();
        startup.hStdOutput = output.get();
        startup.hStdError = error.get();
    }
    if (inherited.ready())
        creation |= EXTENDED_STARTUPINFO_PRESENT;
    else
        startup.cb = sizeof(STARTUPINFOW);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, modifiable.data(), nullptr, nullptr, inherited.ready(), creation, nullptr, nullptr,
                        &startup, &info))
        return Failure{GetLastError(), "cannot create the process"};
    return StartedProcess{UniqueHandle(info.hProcess), UniqueHandle(info.hThread), info.dwProcessId, info.dwThreadId};
}
