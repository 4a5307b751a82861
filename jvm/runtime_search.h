#pragma once

#include <optional>
#include <string>
#include <vector>

// Which half of the registry a read looks at, whatever the launcher's own bitness. On a 32-bit
// system both name the one registry there is.
enum class RegistryView { Bits64, Bits32 };

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
    // The names of the folders in `folder` that match the wildcard `pattern` ("*", "jdk-*").
    virtual std::vector<std::string> subfolders(const std::string& folder, const std::string& pattern) = 0;
    // A small text file whole (a runtime's `release` file); nothing when it cannot be read.
    virtual std::optional<std::string> readSmallFile(const std::string& path) = 0;
    // Runs the home's bin\java.exe -version.
    virtual ProbedVersion probeVersion(const std::string& javaHome) = 0;
};

struct SearchRequest {
    std::string minimumVersion;    // never empty
    std::string maximumVersion;    // "" for no maximum
    bool jdkOnly = false;
    std::string executableName;    // javaw.exe, or java.exe for a console
    std::string launcherDirectory; // without a trailing backslash
    std::string bundledJava;       // relative to the launcher's directory, or absolute; "" when not configured
};

struct SearchAnswer {
    std::string executable; // the Java executable to start; "" when none fits
    std::string home;       // the runtime's home folder, when the stage knows it
    std::vector<std::string> trace;
};

extern const char* const JreRegistryKey;
extern const char* const JdkRegistryKey;

// The bundled runtime's home: the folder above the folder that holds its executable
// (C:\App\jre for C:\App\jre\bin\javaw.exe).
std::string homeOfExecutable(const std::string& executable);

// Finds the Java executable to start: the shipped runtime, the registry's current runtime,
// every registered runtime and development kit, JAVA_HOME; where those give up, the installed
// runtimes (Java and vendor registry keys, PATH, the usual install folders); then the working
// directory. Registry reads look at the 64-bit view first, then at the 32-bit one.
SearchAnswer findJavaRuntime(const SearchRequest& request, SearchSystem& system);
