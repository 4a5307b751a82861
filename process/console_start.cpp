#include "process/console_start.h"

#include <vector>

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
    if (commandLine.size() >= ProcessRunner::MaxCommandLine)
        return Failure{ERROR_FILENAME_EXCED_RANGE, "the command line is too long"};

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    UniqueHandle input, output, error;
    DWORD creation = 0;
    if (use == ConsoleUse::SharedWithLauncher) {
        // Redirected standard handles (a pipe, a file) reach the runtime only when handed over.
        input = inheritableStandardHandle(STD_INPUT_HANDLE);
        output = inheritableStandardHandle(STD_OUTPUT_HANDLE);
        error = inheritableStandardHandle(STD_ERROR_HANDLE);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input.get();
        startup.hStdOutput = output.get();
        startup.hStdError = error.get();
    } else {
        creation = CREATE_NEW_CONSOLE;
    }
    std::vector<char> modifiable(commandLine.begin(), commandLine.end());
    modifiable.push_back('\0');
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, modifiable.data(), nullptr, nullptr, use == ConsoleUse::SharedWithLauncher, creation,
                        nullptr, nullptr, &startup, &info))
        return Failure{GetLastError(), "cannot create the process"};
    return StartedProcess{UniqueHandle(info.hProcess), UniqueHandle(info.hThread), info.dwProcessId, info.dwThreadId};
}
