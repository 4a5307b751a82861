#include "process/process_runner.h"

#include "base/text_encoding.h"
#include "process/inherited_handles.h"
#include "trace/trace_log.h"

namespace {

// An anonymous pipe cannot be read overlapped: the output goes through a named one, of one
// instance that is ours alone (nobody can make it first or open it after the child's end).
bool createOutputPipe(UniqueHandle& ourEnd, UniqueHandle& childEnd, SECURITY_ATTRIBUTES& inherit) {
    static volatile LONG pipes = 0;
    std::wstring name = widen("\\\\.\\pipe\\launcher-output-" + std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(InterlockedIncrement(&pipes)) + "-" + std::to_string(GetTickCount()));
    ourEnd.reset(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                  PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 4096,
                                  4096, 0, nullptr));
    if (!ourEnd) return false;
    childEnd.reset(CreateFileW(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, &inherit, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!childEnd) return false;
    // Connected by the open above; the call only confirms it.
    OVERLAPPED connect{};
    return ConnectNamedPipe(ourEnd.get(), &connect) || GetLastError() == ERROR_PIPE_CONNECTED;
}

} // namespace

ProcessRunner::ProcessRunner(std::uint32_t flags) : flags_(flags) {}

ProcessRunner::~ProcessRunner() = default;

void ProcessRunner::onOutput(const char*, std::size_t) {}

void ProcessRunner::onTrace(const std::string& line) { traceLog().trace(line); }

Result<StartedProcess> ProcessRunner::start(const std::string& commandLine, ChildWindow window) {
    if (readerThread_) return Failure{ERROR_BUSY, "the runner already runs a child"};
    if (commandLine.empty()) return Failure{ERROR_INVALID_PARAMETER, "no command line"};

    // The child's ends are inheritable, ours are not, so no child holds our ends open. Our end
    // of the output is read overlapped, so that a read can be given up without a race.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    UniqueHandle outRead, outWrite, inRead, inWrite;
    if (!createOutputPipe(outRead, outWrite, inherit) || !CreatePipe(inRead.receive(), inWrite.receive(), &inherit, 0) ||
        !SetHandleInformation(inWrite.get(), HANDLE_FLAG_INHERIT, 0))
        return Failure{GetLastError(), "cannot make the child's pipes"};
    if (!readDone_) readDone_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopRequest_) stopRequest_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!readDone_ || !stopRequest_) return Failure{GetLastError(), "cannot make the reader's events"};

    // The child inherits its two pipe ends and nothing else (not log.txt, not another child's pipe).
    InheritedHandles inherited{inRead.get(), outWrite.get()};
    if (!inherited.ready()) return Failure{GetLastError(), "cannot list the child's handles"};
    STARTUPINFOW& startup = inherited.startupInfo().StartupInfo;
    startup.dwFlags = STARTF_USESTDHANDLES;
    if (window.showCommand >= 0) {
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(window.showCommand);
    }
    startup.hStdInput = inRead.get();
    startup.hStdOutput = outWrite.get();
    startup.hStdError = outWrite.get();

    onTrace("CreateProcess: " + commandLine);
    std::wstring modifiable = widen(commandLine);
    if (modifiable.size() >= MaxCommandLine) return Failure{ERROR_FILENAME_EXCED_RANGE, "the command line is too long"};
    PROCESS_INFORMATION info{};
    // Created suspended: it runs only once its reader exists, so a failed start starts nothing.
    // No console window: the output goes to our pipes, and a window (or, with a terminal program
    // as the system's console host, a terminal tab) would only flash. Window programs ignore it.
    // No new process group: that turns Ctrl+C off for the child and every console it opens.
    DWORD console = window.withConsole ? CREATE_NO_WINDOW : DETACHED_PROCESS;
    if (!CreateProcessW(nullptr, modifiable.data(), nullptr, nullptr, TRUE,
                        CREATE_SUSPENDED | console | EXTENDED_STARTUPINFO_PRESENT,
                        nullptr, nullptr, &startup, &info))
        return Failure{GetLastError(), "cannot create the process"};
    UniqueHandle childProcess(info.hProcess);
    UniqueHandle childThread(info.hThread);
    // Our copies of the child's ends go at once: the output ends when the child's copies go.
    outWrite.reset();
    inRead.reset();

    StartedProcess handOver;
    handOver.process = childProcess.duplicate();
    handOver.thread = childThread.duplicate();
    handOver.processId = info.dwProcessId;
    handOver.threadId = info.dwThreadId;
    if (!handOver.process || !handOver.thread) {
        Failure failure{GetLastError(), "cannot hand over the child's handles"};
        TerminateProcess(childProcess.get(), 1);
        return failure;
    }
    // Created suspended as well: it may destroy this runner, so it runs after start is done.
    DWORD readerId = 0;
    UniqueHandle reader(CreateThread(nullptr, 0, readerThreadMain, this, CREATE_SUSPENDED, &readerId));
    if (!reader) {
        Failure failure{GetLastError(), "cannot make the child's reader"};
        TerminateProcess(childProcess.get(), 1);
        return failure;
    }
    if (ResumeThread(childThread.get()) == static_cast<DWORD>(-1)) {
        Failure failure{GetLastError(), "cannot run the child"};
        TerminateProcess(childProcess.get(), 1);
        // The reader has never run a line: it holds no lock and nothing of ours, so ending it
        // here is safe, and no thread waits suspended for a runner that goes away.
        TerminateThread(reader.get(), 0);
        WaitForSingleObject(reader.get(), INFINITE);
        return failure;
    }
    childThread.reset();

    processHandle_ = std::move(childProcess);
    processId_ = info.dwProcessId;
    outputRead_ = std::move(outRead);
    inputWrite_ = std::move(inWrite);

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
    // The bytes go on exactly as the child wrote them; each handler decodes them as it needs.
    // A read ends with data or the output's end; a stop, or the child's end where the runner
    // ends with it, gives up the pending read and takes only what the pipe still holds.
    char buffer[255];
    HANDLE waits[] = {readDone_.get(), stopRequest_.get(), processHandle_.get()};
    DWORD waitCount = (flags_ & EndWithChild) && processHandle_ ? 3 : 2;
    for (;;) {
        OVERLAPPED read{};
        read.hEvent = readDone_.get();
        ResetEvent(read.hEvent);
        DWORD count = 0;
        if (!ReadFile(outputRead_.get(), buffer, static_cast<DWORD>(sizeof buffer), nullptr, &read) &&
            GetLastError() != ERROR_IO_PENDING)
            break;
        bool givenUp = WaitForMultipleObjects(waitCount, waits, FALSE, INFINITE) != WAIT_OBJECT_0;
        if (givenUp) CancelIoEx(outputRead_.get(), &read);
        bool completed = GetOverlappedResult(outputRead_.get(), &read, &count, TRUE) != FALSE;
        if (completed && count > 0) onOutput(buffer, count);
        if (givenUp) {
            readWhatIsLeft(buffer, sizeof buffer);
            break;
        }
        if (!completed) break;
    }
    onOutput(nullptr, 0);
    // A kept runner stays its owner's, unless the owner has given it up to this thread.
    if ((flags_ & KeepAfterEnd) && InterlockedCompareExchange(&ownership_, ReaderEnded, OwnerKeeps) == OwnerKeeps)
        return;
    // This thread must not wait for itself in stop(): give up its handle first.
    readerThread_.reset();
    delete this;
}

void ProcessRunner::readWhatIsLeft(char* buffer, DWORD size) {
    DWORD left = 0;
    if (!PeekNamedPipe(outputRead_.get(), nullptr, 0, nullptr, &left, nullptr)) return;
    while (left > 0) {
        OVERLAPPED read{};
        read.hEvent = readDone_.get();
        ResetEvent(read.hEvent);
        DWORD count = 0;
        // The bytes are there: the read completes at once.
        if (!ReadFile(outputRead_.get(), buffer, left < size ? left : size, nullptr, &read) &&
            GetLastError() != ERROR_IO_PENDING)
            return;
        if (!GetOverlappedResult(outputRead_.get(), &read, &count, TRUE) || count == 0) return;
        onOutput(buffer, count);
        left -= count < left ? count : left;
    }
}

void ProcessRunner::abandon(ProcessRunner* runner) {
    if (!runner) return;
    if (InterlockedCompareExchange(&runner->ownership_, ReaderDeletes, OwnerKeeps) == ReaderEnded) delete runner;
}

bool ProcessRunner::stopReader(DWORD milliseconds) {
    if (!readerThread_) return true;
    SetEvent(stopRequest_.get());
    return WaitForSingleObject(readerThread_.get(), milliseconds) == WAIT_OBJECT_0;
}

bool ProcessRunner::waitForOutputEnd(DWORD milliseconds) {
    if (!readerThread_) return true;
    return WaitForSingleObject(readerThread_.get(), milliseconds) == WAIT_OBJECT_0;
}

void ProcessRunner::terminateChild() {
    if (processHandle_) TerminateProcess(processHandle_.get(), 1);
}

bool ProcessRunner::stop() {
    if (!stopReader(ReaderStopMilliseconds)) return false;
    readerThread_.reset();
    processHandle_.reset();
    inputWrite_.reset();
    outputRead_.reset();
    return true;
}
