#include "process/application_runner.h"

#include <string>

#include "base/text_encoding.h"
#include "trace/trace_log.h"

ApplicationProcessRunner::ApplicationProcessRunner(bool writeLogFile, UniqueHandle outputArrived,
                                                   UniqueHandle outputEnded)
    : ProcessRunner(0), writeLogFile_(writeLogFile), outputArrived_(std::move(outputArrived)),
      outputEnded_(std::move(outputEnded)) {}

void ApplicationProcessRunner::onOutput(const char* data, std::size_t length) {
    if (!data) {
        if (outputEnded_) SetEvent(outputEnded_.get());
        return;
    }
    std::string text(data, length);
    if (writeLogFile_) {
        // log.txt keeps the ANSI code page that console output has always been turned into.
        std::string bytes = codePageFromUtf8(CP_ACP, text);
        traceLog().writeToLogFile(bytes.data(), bytes.size());
    }
    traceLog().trace(text);
    if (outputArrived_) SetEvent(outputArrived_.get());
}
