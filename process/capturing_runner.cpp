#include "process/capturing_runner.h"

#include "trace/trace_log.h"

CapturingProcessRunner::CapturingProcessRunner(std::uint32_t flags) : ProcessRunner(flags) {}

std::string CapturingProcessRunner::capturedOutput() const {
    AcquireSRWLockShared(&lock_);
    std::string copy = capturedText_;
    ReleaseSRWLockShared(&lock_);
    return copy;
}

void CapturingProcessRunner::onOutput(const char* data, std::size_t length) {
    if (!data) return;
    std::string chunk(data, length);
    traceLog().trace(chunk);
    AcquireSRWLockExclusive(&lock_);
    capturedText_ += chunk;
    ReleaseSRWLockExclusive(&lock_);
}
