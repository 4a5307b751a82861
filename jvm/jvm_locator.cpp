#include "jvm/jvm_locator.h"

#include <windows.h>

#include <vector>

#include "jvm/registry.h"
#include "jvm/version.h"
#include "jvm/version_probe.h"
#include "launcher/launch_state.h"
#include "launcher/setting_ids.h"
#include "launcher/settings.h"
#include "trace/trace_log.h"

namespace {

std::string environmentVariable(const char* name) {
    std::vector<char> buffer(32767, '\0');
    DWORD length = GetEnvironmentVariableA(name, buffer.data(), 32767);
    if (length == 0 || length >= 32767) return std::string();
    return std::string(buffer.data(), length);
}

std::string registeredRuntime(LaunchState& state) {
    // The registry's current runtime, when its probe passes and its executable exists.
    std::string home = currentVersionJavaHome();
    if (!home.empty() && versionAtLeast(state.minimumJavaVersion, probeJavaVersion(home))) {
        std::string candidate = home + "\\bin\\" + state.javaExecutableName;
        if (fileExists(candidate)) return candidate;
    }
    RegisteredRuntime runtime = findRegisteredRuntime(JreRegistryKey, state.minimumJavaVersion, state.javaExecutableName);
    if (!fileExists(runtime.executable)) runtime = findRegisteredJdk(state.minimumJavaVersion, state.javaExecutableName);
    if (fileExists(runtime.executable)) state.javaHome = runtime.home;
    return runtime.executable;
}

} // namespace

std::string findJavaExecutable(const std::string& executableDirectory, LaunchState& state) {
    std::string minimum = LauncherSettings::text(SettingMinimumVersion);
    state.minimumJavaVersion = minimum.empty() ? "1.3" : minimum;
    traceLog().trace(state.jdkRequired ? "Search for Jdk only..." : "Search for Jre...");

    std::string bundled = LauncherSettings::text(SettingBundledJava);
    std::string candidate = executableDirectory + "\\" + bundled;
    traceLog().append("Try bundled JRE or JDK path: ").append(candidate).endLine();
    // Without a setting the candidate would be the launcher's own folder, which always exists.
    if (!bundled.empty() && fileExists(candidate)) {
        traceLog().trace("Bundled Jre or jdk found");
        state.javaHome = executableDirectory + "\\..\\jre";
        return candidate;
    }

    if (state.jdkRequired) {
        traceLog().trace("Search for Jdk only...");
        RegisteredRuntime jdk = findRegisteredJdk(state.minimumJavaVersion, state.javaExecutableName);
        if (fileExists(jdk.executable)) state.javaHome = jdk.home;
        return jdk.executable;
    }
    traceLog().trace("Bundled Jre not found");

    std::string registered = registeredRuntime(state);
    if (fileExists(registered)) {
        traceLog().trace("Jre key found in registry");
        return registered;
    }

    traceLog().trace("Jre key not found in registry");
    std::string javaHome = environmentVariable("JAVA_HOME");
    candidate = javaHome + "\\bin\\" + state.javaExecutableName;
    if (!javaHome.empty() && fileExists(candidate)) {
        if (versionAtLeast(state.minimumJavaVersion, probeJavaVersion(javaHome))) {
            traceLog().trace("JAVA_HOME found");
            return candidate;
        }
        traceLog().trace("Incorrect version");
        return std::string();
    }
    traceLog().trace("JAVA_HOME not found");
    traceLog().trace("Try current dir.");
    return state.javaExecutableName;
}
