#include "trace/trace_log.h"

#include "base/file_system.h"
#include "base/system_error.h"
#include "base/text_encoding.h"

const char* const TraceFileName = "launcher-trace.txt";

namespace {

// Writes all of the bytes, or as many as the file takes.
void writeWhole(HANDLE file, const char* data, std::size_t length) {
    for (std::size_t written = 0; file != INVALID_HANDLE_VALUE && written < length;) {
        DWORD now = 0;
        if (!WriteFile(file, data + written, static_cast<DWORD>(length - written), &now, nullptr) || now == 0) break;
        written += now;
    }
}

// A file of the launcher's own in the current directory, created or emptied; no child inherits it.
HANDLE createOwnFile(const char* name) {
    return CreateFileW(widen(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

Failure cannotCreate(const char* kind, const char* name, DWORD error) {
    return Failure{error, std::string("Cannot create the ") + kind + " file " + fullPathOf(name) + ":\n" +
                              systemErrorText(error)};
}

} // namespace

TraceLog::TraceLog() { InitializeCriticalSection(&logLock_); }

void TraceLog::trace(const std::string& text) {
    OutputDebugStringW(widen(text).c_str());
    EnterCriticalSection(&logLock_);
    if (traceFile_ != INVALID_HANDLE_VALUE) {
        std::string line = text + "\r\n";
        writeWhole(traceFile_, line.data(), line.size());
    }
    LeaveCriticalSection(&logLock_);
}

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
    if (logFile_ == INVALID_HANDLE_VALUE) logFile_ = createOwnFile("log.txt");
    DWORD error = logFile_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    LeaveCriticalSection(&logLock_);
    if (error) return cannotCreate("log", "log.txt", error);
    return {};
}

void TraceLog::writeToLogFile(const char* data, std::size_t length) {
    EnterCriticalSection(&logLock_);
    writeWhole(logFile_, data, length);
    LeaveCriticalSection(&logLock_);
}

Result<void> TraceLog::openTraceFile() {
    EnterCriticalSection(&logLock_);
    if (traceFile_ == INVALID_HANDLE_VALUE) {
        traceFile_ = createOwnFile(TraceFileName);
        if (traceFile_ != INVALID_HANDLE_VALUE) writeWhole(traceFile_, "\xEF\xBB\xBF", 3);
    }
    DWORD error = traceFile_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    LeaveCriticalSection(&logLock_);
    if (error) return cannotCreate("trace", TraceFileName, error);
    return {};
}

void TraceLog::closeTraceFile() {
    EnterCriticalSection(&logLock_);
    if (traceFile_ != INVALID_HANDLE_VALUE) {
        CloseHandle(traceFile_);
        traceFile_ = INVALID_HANDLE_VALUE;
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
