#include "process/process_runner.h"

#include <vector>

#include "base/text_encoding.h"
#include "trace/trace_log.h"

ProcessRunner::ProcessRunner(std::uint32_t flags) : flags_(flags) {}

ProcessRunner::~ProcessRunner() { stop(); }

void ProcessRunner::onOutput(const char*, std::size_t) {}

void ProcessRunner::onTrace(const std::string& line) { traceLog().trace(line); }

Result<StartedProcess> ProcessRunner::start(const std::string& commandLine) {
    if (readerThread_) return Failure{ERROR_BUSY, "the runner already runs a child"};
    if (commandLine.empty()) return Failure{ERROR_INVALID_PARAMETER, "no command line"};

    // The child's ends are inheritable, ours are not, so no child holds our ends open.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle outRead, outWrite, inRead, inWrite;
    if (!CreatePipe(outRead.receive(), outWrite.receive(), &inherit, 0) ||
        !CreatePipe(inRead.receive(), inWrite.receive(), &inherit, 0) ||
        !SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0) ||
        !SetHandleInformation(inWrite.get(), HANDLE_FLAG_INHERIT, 0))
        return Failure{GetLastError(), "cannot make the child's pipes"};

    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = inRead.get();
    startup.hStdOutput = outWrite.get();
    startup.hStdError = outWrite.get();

    onTrace("CreateProcess: " + commandLine);
    if (commandLine.size() >= MaxCommandLine) return Failure{ERROR_FILENAME_EXCED_RANGE, "the command line is too long"};
    std::vector<char> modifiable(commandLine.begin(), commandLine.end());
    modifiable.push_back('\0');
    PROCESS_INFORMATION info{};
    // Created suspended: it runs only once its reader exists, so a failed start starts nothing.
    if (!CreateProcessA(nullptr, modifiable.data(), nullptr, nullptr, TRUE,
                        CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info))
        return Failure{GetLastError(), "cannot create the process"};
    UniqueHandle childProcess(info.hProcess);
    UniqueHandle childThread(info.hThread);

    // Created suspended as well: it may destroy this runner, so it runs after start is done.
    DWORD readerId = 0;
    UniqueHandle reader(CreateThread(nullptr, 0, readerThreadMain, this, CREATE_SUSPENDED, &readerId));
    StartedProcess handOver;
    handOver.process = childProcess.duplicate();
    handOver.thread = childThread.duplicate();
    handOver.processId = info.dwProcessId;
    handOver.threadId = info.dwThreadId;
    if (!reader || !handOver.process || !handOver.thread) {
        Failure failure{GetLastError(), "cannot make the child's reader"};
        TerminateProcess(childProcess.get(), 1);
        return failure;
    }
    if (ResumeThread(childThread.get()) == static_cast<DWORD>(-1)) {
        Failure failure{GetLastError(), "cannot run the child"};
        TerminateProcess(childProcess.get(), 1);
        return failure;
    }
    childThread.reset();

    processHandle_ = std::move(childProcess);
    processId_ = info.dwProcessId;
    outputRead_ = std::move(outRead);
    inputWrite_ = std::move(inWrite);
    // Our copies of the child's ends must go, or the output would never end.
    outWrite.reset();
    inRead.reset();

    HANDLE readerHandle = reader.get();
    readerThread_ = std::move(reader);
    // Last: from here on the runner may be gone. Should the reader not run, the child's
    // output is never read and the runner lives on; the child itself still runs.
    if (ResumeThread(readerHandle) == static_cast<DWORD>(-1)) onTrace("cannot run the output reader");
    return handOver;
}

DWORD WINAPI ProcessRunner::readerThreadMain(LPVOID runner) {
    static_cast<ProcessRunner*>(runner)->readUntilEnd();
    return 1;
}

void ProcessRunner::readUntilEnd() {
    char buffer[255];
    DWORD count = 0;
    while (ReadFile(outputRead_.get(), buffer, 255, &count, nullptr) && count > 0) {
        std::string converted = oemToAnsi(buffer, count);
        onOutput(converted.c_str(), converted.size());
    }
    onOutput(nullptr, 0);
    if (flags_ & KeepAfterEnd) return; // the owner waits on this thread, then stops the runner
    // This thread must not terminate itself in stop(): give up its handle first.
    readerThread_.reset();
    delete this;
}

bool ProcessRunner::waitForOutputEnd(DWORD milliseconds) {
    if (!readerThread_) return true;
    return WaitForSingleObject(readerThread_.get(), milliseconds) == WAIT_OBJECT_0;
}

void ProcessRunner::terminateChild() {
    if (processHandle_) TerminateProcess(processHandle_.get(), 1);
}

void ProcessRunner::stop() {
    if (readerThread_) {
        DWORD status = 0;
        if (GetExitCodeThread(readerThread_.get(), &status) && status == STILL_ACTIVE)
            TerminateThread(readerThread_.get(), 0);
        readerThread_.reset();
    }
    processHandle_.reset();
    inputWrite_.reset();
    outputRead_.reset();
}
