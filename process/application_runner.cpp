#include "process/application_runner.h"

#include <string>

#include "trace/trace_log.h"

ApplicationProcessRunner::ApplicationProcessRunner(bool writeLogFile, UniqueHandle outputEnded)
    : ProcessRunner(0), writeLogFile_(writeLogFile), outputEnded_(std::move(outputEnded)) {}

void ApplicationProcessRunner::onOutput(const char* data, std::size_t length) {
    if (!data) {
        if (outputEnded_) SetEvent(outputEnded_.get());
        return;
    }
    if (writeLogFile_) traceLog().writeToLogFile(data, length);
    traceLog().trace(std::string(data, length));
}
