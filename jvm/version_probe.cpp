#include "jvm/version_probe.h"

#include <memory>

#include "base/system_error.h"
#include "jvm/version.h"
#include "process/capturing_runner.h"

ProbedVersion probeJavaVersion(const std::string& javaExecutable) {
    if (javaExecutable.empty()) return ProbedVersion{};
    // The banner is the runtime's own: its output has ended when it has.
    auto runner = std::make_unique<CapturingProcessRunner>(ProcessRunner::KeepAfterEnd | ProcessRunner::EndWithChild);
    // Quoted, so a home with blanks never runs a program planted at the first blank.
    Result<StartedProcess> started = runner->start("\"" + javaExecutable + "\" -version", ChildWindow::withoutConsole());
    if (started && !runner->waitForOutputEnd(ProbeTimeLimitMilliseconds)) {
        runner->terminateChild();
        runner->waitForOutputEnd(1000);
    }
    std::string captured = runner->capturedOutput();
    ProbedVersion probed{versionFromBanner(captured), runner->traceLines()};
    if (!started)
        probed.trace.push_back("The probe did not start: " + started.failure().what + " (" +
                               systemErrorText(started.failure().systemError) + ")");
    probed.trace.push_back("Info = ");
    probed.trace.push_back(captured);
    // A grandchild may hold the output open past the end: the reader is stopped, and should
    // that fail, it keeps the runner until the output ends.
    if (!runner->stop()) ProcessRunner::abandon(runner.release());
    return probed;
}
