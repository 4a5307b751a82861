#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "jvm/executable_machine.h"

// Whose keys a registry read looks at: the machine's (HKEY_LOCAL_MACHINE) or the user's
// (HKEY_CURRENT_USER, where installers for one user write).
enum class RegistryHive { LocalMachine, CurrentUser };

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
    // A string value; "" when the key or value cannot be read.
    virtual std::string registryString(RegistryHive hive, RegistryView view, const std::string& keyPath,
                                       const std::string& valueName) = 0;
    // The subkey names of a key, in the registry's order.
    virtual std::vector<std::string> registrySubkeys(RegistryHive hive, RegistryView view,
                                                     const std::string& keyPath) = 0;
    // "" when unset.
    virtual std::string environmentVariable(const std::string& name) = 0;
    // The names of the folders in `folder` that match the wildcard `pattern` ("*", "jdk-*").
    virtual std::vector<std::string> subfolders(const std::string& folder, const std::string& pattern) = 0;
    // A small text file whole (a runtime's `release` file); nothing when it cannot be read.
    virtual std::optional<std::string> readSmallFile(const std::string& path) = 0;
    // At most the first `limit` bytes of a file (an executable's headers); "" when it cannot be read.
    virtual std::string readFileHead(const std::string& path, std::size_t limit) = 0;
    // Where a path that is a link (a symbolic link, or one inside a linked folder) really leads;
    // the path itself when it is none; "" when it cannot be opened.
    virtual std::string finalPath(const std::string& path) = 0;
    // The machine of this PC itself, whatever the launcher's own architecture.
    virtual Machine nativeMachine() = 0;
    // Runs this java.exe with -version.
    virtual ProbedVersion probeVersion(const std::string& javaExecutable) = 0;
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
    // The version as the stage learnt it (its release file, its probe, its registry key); ""
    // when the stage does not know it.
    std::string version;
    std::vector<std::string> trace;
};

extern const char* const JreRegistryKey;
extern const char* const JdkRegistryKey;

// The bundled runtime's home: the folder above the folder that holds its executable
// (C:\App\jre for C:\App\jre\bin\javaw.exe).
std::string homeOfExecutable(const std::string& executable);

// Finds the Java executable to start: the shipped runtime, the registry's current runtime,
// every registered runtime and development kit, JAVA_HOME; where those give up, the installed
// runtimes (Java and vendor registry keys, PATH, install, package-manager and IDE folders); then
// the working directory. Registry reads look at the machine's keys, then at the user's, each in
// the 64-bit view first, then in the 32-bit one. Within a stage one rule chooses among the
// runtimes that fit: the highest version, then the PC's own architecture, then the first found.
SearchAnswer findJavaRuntime(const SearchRequest& request, SearchSystem& system);
