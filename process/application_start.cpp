#include "process/application_start.h"

#include <vector>

#include "base/file_system.h"
#include "base/system_error.h"
#include "base/text_encoding.h"
#include "process/application_runner.h"
#include "process/command_line.h"
#include "trace/trace_log.h"

namespace {

std::string tracedCommandLine(const std::string& javaExecutable, const std::string& arguments) {
    // By its full path: process creation looks for a bare name in the launcher's own folder
    // first, so another program could run than the one found in the working directory.
    std::string executable = fullPathOf(javaExecutable);
    traceLog().append("execute: ").append(executable).append(" ").append(arguments).endLine();
    std::string commandLine = fullCommandLine(executable, arguments);
    traceLog().append("Full command line: ").append(commandLine).endLine();
    return commandLine;
}

} // namespace

Result<StartedProcess> startApplication(const std::string& javaExecutable, const std::string& arguments,
                                        ApplicationProcessRunner* runner, int showCommand) {
    Result<StartedProcess> started =
        runner->start(tracedCommandLine(javaExecutable, arguments), ChildWindow::shownAs(showCommand));
    if (!started) delete runner;
    return started;
}

Result<StartedProcess> startApplicationOnConsole(const std::string& javaExecutable, const std::string& arguments,
                                                 ConsoleUse use, int showCommand) {
    return startOnConsole(tracedCommandLine(javaExecutable, arguments), use, showCommand);
}

std::string startFailureReason(const Failure& failure) {
    if (failure.what.empty()) return systemErrorText(failure.systemError);
    std::string reason = failure.what;
    if (reason[0] >= 'a' && reason[0] <= 'z') reason[0] = static_cast<char>(reason[0] - 'a' + 'A');
    return reason + ".\n" + systemErrorText(failure.systemError);
}

std::string startFailureMessage(const Failure& failure) {
    return "Error occured while starting the application...\n" + startFailureReason(failure);
}
