#include "trace/trace_log.h"

#include "base/file_system.h"
#include "base/system_error.h"
#include "base/text_encoding.h"

TraceLog::TraceLog() { InitializeCriticalSection(&logLock_); }

void TraceLog::trace(const std::string& text) { OutputDebugStringW(widen(text).c_str()); }

TraceLog& TraceLog::append(const std::string& text) {
    lineBuffer_ += text;
    return *this;
}

TraceLog& TraceLog::endLine() {
    trace(lineBuffer_);
    lineBuffer_.clear();
    return *this;
}

Result<void> TraceLog::openLogFile() {
    EnterCriticalSection(&logLock_);
    if (logFile_ == INVALID_HANDLE_VALUE)
        logFile_ = CreateFileW(L"log.txt", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
    DWORD error = logFile_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    LeaveCriticalSection(&logLock_);
    if (error) return Failure{error, "Cannot create the log file " + fullPathOf("log.txt") + ":\n" + systemErrorText(error)};
    return {};
}

void TraceLog::writeToLogFile(const char* data, std::size_t length) {
    EnterCriticalSection(&logLock_);
    for (std::size_t written = 0; logFile_ != INVALID_HANDLE_VALUE && written < length;) {
        DWORD now = 0;
        if (!WriteFile(logFile_, data + written, static_cast<DWORD>(length - written), &now, nullptr) || now == 0) break;
        written += now;
    }
    LeaveCriticalSection(&logLock_);
}

void TraceLog::closeLogFile() {
    EnterCriticalSection(&logLock_);
    if (logFile_ != INVALID_HANDLE_VALUE) {
        CloseHandle(logFile_);
        logFile_ = INVALID_HANDLE_VALUE;
    }
    LeaveCriticalSection(&logLock_);
}

TraceLog& traceLog() {
    // Never destroyed: the application's reader thread may still write while the process exits.
    static TraceLog* const log = new TraceLog;
    return *log;
}
