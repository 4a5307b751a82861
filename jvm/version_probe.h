#pragma once

#include "jvm/runtime_search.h"

// How long a probe may take before the runtime is given up on and ended. Cold starts under a
// virus scanner take seconds; a runtime that says nothing in this time is not used.
constexpr unsigned long ProbeTimeLimitMilliseconds = 5000;

// Runs java.exe -version (a full path), without a console window: the version it reports ("" when
// none) and the probe's trace lines (its command line, the output as it arrived, "Info = " and
// the whole output).
ProbedVersion probeJavaVersion(const std::string& javaExecutable);
