#include "trace/trace_log.h"

TraceLog::TraceLog() { InitializeCriticalSection(&logLock_); }

void TraceLog::trace(const std::string& text) { OutputDebugStringA(text.c_str()); }

TraceLog& TraceLog::append(const std::string& text) {
    lineBuffer_ += text;
    return *this;
}

TraceLog& TraceLog::endLine() {
    trace(lineBuffer_);
    lineBuffer_.clear();
    return *this;
}

void TraceLog::openLogFile() {
    EnterCriticalSection(&logLock_);
    if (!logFile_) logFile_ = std::fopen("log.txt", "wb");
    LeaveCriticalSection(&logLock_);
}

void TraceLog::writeToLogFile(const char* data, std::size_t length) {
    EnterCriticalSection(&logLock_);
    if (logFile_ && length > 0) {
        std::fwrite(data, 1, length, logFile_);
        std::fflush(logFile_);
    }
    LeaveCriticalSection(&logLock_);
}

void TraceLog::closeLogFile() {
    EnterCriticalSection(&logLock_);
    if (logFile_) {
        std::fclose(logFile_);
        logFile_ = nullptr;
    }
    LeaveCriticalSection(&logLock_);
}

TraceLog& traceLog() {
    // Never destroyed: the application's reader thread may still write while the process exits.
    static TraceLog* const log = new TraceLog;
    return *log;
}
