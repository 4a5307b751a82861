#pragma once

#include <string>

struct LaunchState;

// Finds the Java executable to start: the shipped runtime, the registry's current runtime,
// every registered runtime and development kit, JAVA_HOME, then the working directory.
// Returns the executable or "" and leaves minimumJavaVersion and javaHome in the state.
std::string findJavaExecutable(const std::string& executableDirectory, LaunchState& state);
