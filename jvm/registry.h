#pragma once

#include <string>

extern const char* const JreRegistryKey;
extern const char* const JdkRegistryKey;

// A value under HKEY_LOCAL_MACHINE as text; empty when the key or value cannot be read.
std::string readRegistryString(const std::string& keyPath, const std::string& valueName);

// The home of the runtime that the JRE key's "CurrentVersion" names; empty when any read fails.
std::string currentVersionJavaHome();

// A registered runtime: the executable and the home it belongs to (both empty when none).
struct RegisteredRuntime {
    std::string executable;
    std::string home;
};

// The last version subkey, in the registry's order, that meets the minimum and whose
// executable exists.
RegisteredRuntime findRegisteredRuntime(const std::string& keyPath, const std::string& minimumVersion,
                                        const std::string& javaExecutableName);
RegisteredRuntime findRegisteredJdk(const std::string& minimumVersion, const std::string& javaExecutableName);
