#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/result.h"
#include "base/unique_handle.h"
#include "process/command_line.h"

// What a caller keeps of a started child: handles of its own, closed by it, independent of
// the runner's (which the runner may close at any time once the output ends).
struct StartedProcess {
    UniqueHandle process;
    UniqueHandle thread;
    DWORD processId = 0;
    DWORD threadId = 0;
};

// How a child's windows start. A child whose output is captured never needs a console window, so
// a console program (java.exe) is created with an invisible console, which the console programs
// it starts share; one that starts none (a version probe) gets no console at all, which spares
// the start of a console host. The first window of a window program follows `showCommand` (the
// launcher's own show command), or the system's default where it is -1.
struct ChildWindow {
    int showCommand = -1;
    bool withConsole = true;

    static ChildWindow withoutConsole() { return ChildWindow{-1, false}; }
    static ChildWindow shownAs(int showCommand) { return ChildWindow{showCommand}; }
};

// One child process with its standard handles redirected to pipes and a reader thread that
// hands the child's console output, chunk by chunk, to onOutput.
class ProcessRunner {
public:
    // A runner with this flag stays its creator's; without it, a started runner belongs to its
    // reader thread, which destroys it when the child's output ends.
    static constexpr std::uint32_t KeepAfterEnd = 8;
    // A runner with this flag stops reading when the child ends, whoever else holds its output
    // (a program it left behind, a console host that inherited it): it takes what the pipe
    // holds then, and the output has ended.
    static constexpr std::uint32_t EndWithChild = 16;

    // Longest command line that process creation accepts, in UTF-16 units.
    static constexpr std::size_t MaxCommandLine = CommandLineLimit;

    explicit ProcessRunner(std::uint32_t flags);
    virtual ~ProcessRunner();
    ProcessRunner(const ProcessRunner&) = delete;
    ProcessRunner& operator=(const ProcessRunner&) = delete;

    // Starts the child with its reader and gives the caller handles of its own; on a failure
    // (already running, empty or too long a command line, no pipe, process or reader thread)
    // nothing runs, no thread of the runner is left, and the reason is returned.
    Result<StartedProcess> start(const std::string& commandLine, ChildWindow window);

    // Waits until the child's output has ended (KeepAfterEnd runners only).
    bool waitForOutputEnd(DWORD milliseconds);
    // Ends the child at once; its output then ends too, unless a grandchild holds it open.
    void terminateChild();
    // Stops the reader (a pending read is given up, what the pipe holds is taken; the thread
    // ends by itself, it is never killed) and releases the process handle and the pipe ends; the child goes on. False when
    // the reader could not be stopped: the runner is still in use by it then (see abandon).
    [[nodiscard]] bool stop();
    // Gives a KeepAfterEnd runner whose reader could not be stopped to that reader, which
    // destroys it when it ends; a runner whose reader has ended is destroyed at once.
    static void abandon(ProcessRunner* runner);

    // How long stop() tries to end the reader.
    static constexpr DWORD ReaderStopMilliseconds = 2000;

protected:
    // A chunk of the child's output (at most 255 bytes) as it wrote them, or null once at the
    // end of output.
    virtual void onOutput(const char* data, std::size_t length);
    // A trace line of the runner's own (the command line it starts); to the trace by default.
    virtual void onTrace(const std::string& line);

private:
    static DWORD WINAPI readerThreadMain(LPVOID runner);
    void readUntilEnd();
    void readWhatIsLeft(char* buffer, DWORD size);
    bool stopReader(DWORD milliseconds);

    // Who destroys a KeepAfterEnd runner, decided once between its owner and its reader.
    static constexpr LONG OwnerKeeps = 0, ReaderEnded = 1, ReaderDeletes = 2;
    volatile LONG ownership_ = OwnerKeeps;

    std::uint32_t flags_;
    UniqueHandle readerThread_;
    UniqueHandle readDone_;    // the pending read has completed
    UniqueHandle stopRequest_; // the owner stops the reader
    UniqueHandle processHandle_;
    UniqueHandle inputWrite_;
    UniqueHandle outputRead_;
    DWORD processId_ = 0;
};
