#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <string>

// The launcher's diagnostics: every trace message goes to the debugger output as one string;
// with -d the application's output is also written, byte for byte, to "log.txt".
class TraceLog {
public:
    TraceLog();
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    void trace(const std::string& text);

    // A composed line: pieces are appended on the main thread and sent as one string.
    TraceLog& append(const std::string& text);
    TraceLog& endLine();

    // Creates or empties "log.txt" in the current directory; a failure is silent.
    void openLogFile();
    // Called from the application's reader thread while the main thread may be closing the
    // file: writes and the close are serialised, and a write after the close is dropped.
    void writeToLogFile(const char* data, std::size_t length);
    void closeLogFile();

private:
    std::string lineBuffer_;
    std::FILE* logFile_ = nullptr;
    CRITICAL_SECTION logLock_;
};

// The process's one trace; it lives until the process ends.
TraceLog& traceLog();
