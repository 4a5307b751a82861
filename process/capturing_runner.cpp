#include "process/capturing_runner.h"

CapturingProcessRunner::CapturingProcessRunner(std::uint32_t flags) : ProcessRunner(flags) {}

std::string CapturingProcessRunner::capturedOutput() const {
    AcquireSRWLockShared(&lock_);
    std::string copy = capturedText_;
    ReleaseSRWLockShared(&lock_);
    return copy;
}

std::vector<std::string> CapturingProcessRunner::traceLines() const {
    AcquireSRWLockShared(&lock_);
    std::vector<std::string> copy = traceLines_;
    ReleaseSRWLockShared(&lock_);
    return copy;
}

void CapturingProcessRunner::onOutput(const char* data, std::size_t length) {
    std::string chunk = data ? decoder_.decode(data, length) : decoder_.finish();
    if (chunk.empty()) return;
    AcquireSRWLockExclusive(&lock_);
    traceLines_.push_back(chunk);
    capturedText_ += chunk;
    ReleaseSRWLockExclusive(&lock_);
}

void CapturingProcessRunner::onTrace(const std::string& line) {
    AcquireSRWLockExclusive(&lock_);
    traceLines_.push_back(line);
    ReleaseSRWLockExclusive(&lock_);
}
