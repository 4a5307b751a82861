#include "process/application_runner.h"

#include <string>

#include "launcher/launch_state.h"
#include "trace/trace_log.h"

ApplicationProcessRunner::ApplicationProcessRunner(std::uint32_t flags) : ProcessRunner(flags) {}

void ApplicationProcessRunner::onOutput(const char* data, std::size_t length) {
    if (!data) {
        launchState().applicationOutputEnded();
        return;
    }
    if (launchState().debugLog) traceLog().writeToLogFile(data, length);
    traceLog().trace(std::string(data, length));
}
