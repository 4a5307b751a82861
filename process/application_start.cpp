#include "process/application_start.h"

#include <vector>

#include "launcher/launch_state.h"
#include "process/application_runner.h"
#include "process/command_line.h"
#include "process/system_error.h"
#include "trace/trace_log.h"

std::string buildBootClassPath(const std::string& javaHome) {
    traceLog().trace("JDK PATH...");
    traceLog().trace(javaHome);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((javaHome + "\\lib\\*.jar").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::vector<std::string> names;
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::string path = joinBootClassPath(javaHome, names);
    traceLog().trace(path);
    return path;
}

StartResult startApplication(const std::string& javaExecutable, const std::string& arguments,
                             ApplicationProcessRunner* runner) {
    traceLog().append("execute: ").append(javaExecutable).append(" ").append(arguments).endLine();
    std::string commandLine = fullCommandLine(javaExecutable, arguments);
    traceLog().append("Full command line: ").append(commandLine).endLine();

    StartedProcess started;
    if (runner->start(commandLine, &started) != ProcessRunner::Started) {
        StartResult failed{false, runner->startError()};
        delete runner;
        return failed;
    }
    LaunchState& state = launchState();
    state.childProcess = std::move(started.process);
    state.childThread = std::move(started.thread);
    state.childProcessId = started.processId;
    state.childThreadId = started.threadId;
    return StartResult{true, 0};
}

std::string startFailureMessage(DWORD error) {
    return "Error occured while starting the application...\n" + systemErrorText(error);
}
