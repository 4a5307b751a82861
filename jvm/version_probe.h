#pragma once

#include <string>

// How long a probe may take before the runtime is given up on and ended. Cold starts under a
// virus scanner take seconds; a runtime that says nothing in this time is not used.
constexpr unsigned long ProbeTimeLimitMilliseconds = 5000;

// Runs the home's bin\java.exe -version and returns the version it reports ("" when none).
std::string probeJavaVersion(const std::string& javaHome);
