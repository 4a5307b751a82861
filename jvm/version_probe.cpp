#include "jvm/version_probe.h"

#include "jvm/version.h"
#include "process/capturing_runner.h"

ProbedVersion probeJavaVersion(const std::string& javaHome) {
    if (javaHome.empty()) return ProbedVersion{};
    CapturingProcessRunner runner(ProcessRunner::KeepAfterEnd);
    // Quoted, so a home with blanks never runs a program planted at the first blank.
    if (runner.start("\"" + javaHome + "\\bin\\java.exe\" -version") &&
        !runner.waitForOutputEnd(ProbeTimeLimitMilliseconds)) {
        runner.terminateChild();
        // Should the output stay open even so (a grandchild holds it), stop() gives the reader up.
        runner.waitForOutputEnd(1000);
    }
    runner.stop();
    ProbedVersion probed{versionFromBanner(runner.capturedOutput()), runner.traceLines()};
    probed.trace.push_back("Info = ");
    probed.trace.push_back(runner.capturedOutput());
    return probed;
}
