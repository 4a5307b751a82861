#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/result.h"

// The launcher's diagnostics: every trace message (UTF-8) goes to the debugger output as one
// string; with -d the application's output is also written, byte for byte, to "log.txt", and
// every trace message, as a line, to "launcher-trace.txt" beside it.
class TraceLog {
public:
    TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    void trace(const std::string& text);

    // A composed line: pieces are appended on the main thread and sent as one string.
    TraceLog& append(const std::string& text);
    TraceLog& endLine();

    // Creates or empties "log.txt" in the current directory. The handle is the launcher's own:
    // no child inherits it.
    Result<void> openLogFile();
    // Called from the application's reader thread while the main thread may be closing the
    // file: writes and the close are serialised, and a write after the close is dropped.
    void writeToLogFile(const char* data, std::size_t length);
    void closeLogFile();

    // Creates or empties the trace file in the current directory (UTF-8 with a byte-order mark,
    // CR LF line ends); every later trace message is written to it too, from any thread.
    Result<void> openTraceFile();
    void closeTraceFile();

private:
    std::string lineBuffer_;
    HANDLE logFile_ = INVALID_HANDLE_VALUE;
    HANDLE traceFile_ = INVALID_HANDLE_VALUE;
    CRITICAL_SECTION logLock_;
};

extern const char* const TraceFileName;

// The process's one trace; it lives until the process ends.
TraceLog& traceLog();
