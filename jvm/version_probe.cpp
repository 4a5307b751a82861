#include "jvm/version_probe.h"

#include "jvm/version.h"
#include "process/capturing_runner.h"
#include "trace/trace_log.h"

std::string probeJavaVersion(const std::string& javaHome) {
    if (javaHome.empty()) return std::string();
    CapturingProcessRunner runner(ProcessRunner::KeepAfterEnd);
    // Quoted, so a home with blanks never runs a program planted at the first blank.
    if (runner.start("\"" + javaHome + "\\bin\\java.exe\" -version") == ProcessRunner::Started &&
        !runner.waitForOutputEnd(ProbeTimeLimitMilliseconds)) {
        runner.terminateChild();
        runner.waitForOutputEnd(1000);
    }
    runner.stop();
    std::string captured = runner.capturedOutput();
    traceLog().trace("Info = ");
    traceLog().trace(captured);
    return versionFromBanner(captured);
}
