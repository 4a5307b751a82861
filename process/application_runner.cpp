#include "process/application_runner.h"

#include "trace/trace_log.h"

ApplicationOutput::ApplicationOutput(bool writeLogFile)
    : writeLogFile_(writeLogFile), arrived_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      ended_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

std::string ApplicationOutput::lastOutput() const {
    AcquireSRWLockShared(&lock_);
    std::string text = tail_.text();
    ReleaseSRWLockShared(&lock_);
    return text;
}

void ApplicationOutput::keep(const std::string& text) {
    if (text.empty()) return;
    traceLog().trace(text);
    AcquireSRWLockExclusive(&lock_);
    tail_.append(text);
    ReleaseSRWLockExclusive(&lock_);
}

void ApplicationOutput::received(const char* data, std::size_t length) {
    if (writeLogFile_) traceLog().writeToLogFile(data, length);
    keep(decoder_.decode(data, length));
    SetEvent(arrived_.get());
}

void ApplicationOutput::endOfOutput() {
    keep(decoder_.finish());
    SetEvent(ended_.get());
}

ApplicationProcessRunner::ApplicationProcessRunner(std::shared_ptr<ApplicationOutput> output)
    : ProcessRunner(0), output_(std::move(output)) {}

void ApplicationProcessRunner::onOutput(const char* data, std::size_t length) {
    if (data)
        output_->received(data, length);
    else
        output_->endOfOutput();
}
