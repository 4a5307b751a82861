#pragma once

#include <string>
#include <vector>

// Which half of the registry a read looks at: the program's own, or the 64-bit or 32-bit one
// whatever the program's own bitness.
enum class RegistryView { Own, Bits64, Bits32 };

// What a version probe of a Java home gave: the reported version ("" when none) and the trace
// lines the probe wrote, in order.
struct ProbedVersion {
    std::string version;
    std::vector<std::string> trace;
};

// Everything the runtime search asks of the machine. The real one is thin Win32; tests use a fake.
class SearchSystem {
public:
    virtual ~SearchSystem() = default;
    virtual bool fileExists(const std::string& path) = 0;
    // A string value under HKEY_LOCAL_MACHINE; "" when the key or value cannot be read.
    virtual std::string registryString(RegistryView view, const std::string& keyPath, const std::string& valueName) = 0;
    // The subkey names of a key under HKEY_LOCAL_MACHINE, in the registry's order.
    virtual std::vector<std::string> registrySubkeys(RegistryView view, const std::string& keyPath) = 0;
    // "" when unset.
    virtual std::string environmentVariable(const std::string& name) = 0;
    // Runs the home's bin\java.exe -version.
    virtual ProbedVersion probeVersion(const std::string& javaHome) = 0;
};

struct SearchRequest {
    std::string minimumVersion;    // never empty
    bool jdkOnly = false;
    std::string executableName;    // javaw.exe, or java.exe for a console
    std::string launcherDirectory; // without a trailing backslash
    std::string bundledJava;       // relative to the launcher's directory; "" when not configured
};

struct SearchAnswer {
    std::string executable; // the Java executable to start; "" when none fits
    std::string home;       // the runtime's home folder, when the stage knows it
    std::vector<std::string> trace;
};

extern const char* const JreRegistryKey;
extern const char* const JdkRegistryKey;

// Finds the Java executable to start: the shipped runtime, the registry's current runtime,
// every registered runtime and development kit, JAVA_HOME, then the working directory.
SearchAnswer findJavaRuntime(const SearchRequest& request, SearchSystem& system);
