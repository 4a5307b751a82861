#include "jvm/runtime_search.h"

#include "jvm/version.h"

const char* const JreRegistryKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const JdkRegistryKey = "SOFTWARE\\JavaSoft\\Java Development Kit";

namespace {

struct Runtime {
    std::string executable;
    std::string home;
};

class Search {
public:
    Search(const SearchRequest& request, SearchSystem& system) : request_(request), system_(system) {}

    SearchAnswer run() {
        trace(request_.jdkOnly ? "Search for Jdk only..." : "Search for Jre...");
        std::string bundled = request_.launcherDirectory + "\\" + request_.bundledJava;
        trace("Try bundled JRE or JDK path: " + bundled);
        // Without a setting the candidate would be the launcher's own folder, which always exists.
        if (!request_.bundledJava.empty() && system_.fileExists(bundled)) {
            trace("Bundled Jre or jdk found");
            return answer({bundled, request_.launcherDirectory + "\\..\\jre"});
        }
        if (request_.jdkOnly) {
            trace("Search for Jdk only...");
            return answer(registeredJdk());
        }
        trace("Bundled Jre not found");

        Runtime registered = registeredRuntime();
        if (system_.fileExists(registered.executable)) {
            trace("Jre key found in registry");
            return answer(registered);
        }
        trace("Jre key not found in registry");
        return answer(javaHomeOrCurrentDirectory());
    }

private:
    void trace(const std::string& line) { trace_.push_back(line); }

    SearchAnswer answer(Runtime runtime) {
        return SearchAnswer{std::move(runtime.executable), std::move(runtime.home), std::move(trace_)};
    }

    std::string executableIn(const std::string& home) const { return home + "\\bin\\" + request_.executableName; }

    bool probeMeetsMinimum(const std::string& home) {
        ProbedVersion probed = system_.probeVersion(home);
        trace_.insert(trace_.end(), probed.trace.begin(), probed.trace.end());
        return versionAtLeast(request_.minimumVersion, probed.version);
    }

    // The registry's current runtime when its probe passes and its executable exists, else the
    // enumeration of the runtimes, then of the development kits.
    Runtime registeredRuntime() {
        std::string version = system_.registryString(RegistryView::Own, JreRegistryKey, "CurrentVersion");
        std::string home =
            system_.registryString(RegistryView::Own, std::string(JreRegistryKey) + "\\" + version, "JavaHome");
        if (!home.empty() && probeMeetsMinimum(home) && system_.fileExists(executableIn(home)))
            return Runtime{executableIn(home), home};
        Runtime runtime = lastRegistered(JreRegistryKey);
        if (!system_.fileExists(runtime.executable)) runtime = registeredJdk();
        return runtime;
    }

    Runtime registeredJdk() {
        Runtime jdk = lastRegistered(JdkRegistryKey);
        if (system_.fileExists(jdk.executable)) trace("Jre key found in registry");
        return jdk;
    }

    // The last version subkey, in the registry's order, that meets the minimum and whose
    // executable exists. Every qualifying subkey is traced with its candidate.
    Runtime lastRegistered(const std::string& keyPath) {
        Runtime result;
        for (const std::string& version : system_.registrySubkeys(RegistryView::Own, keyPath)) {
            if (!versionAtLeast(request_.minimumVersion, version)) continue;
            trace(version);
            std::string home = system_.registryString(RegistryView::Own, keyPath + "\\" + version, "JavaHome");
            // No home means nothing to start; never fall back to the root of the current drive.
            if (home.empty()) continue;
            std::string candidate = executableIn(home);
            if (system_.fileExists(candidate)) {
                result = Runtime{candidate, home};
                trace("found");
            }
            trace(candidate);
        }
        return result;
    }

    Runtime javaHomeOrCurrentDirectory() {
        std::string javaHome = system_.environmentVariable("JAVA_HOME");
        std::string candidate = executableIn(javaHome);
        if (!javaHome.empty() && system_.fileExists(candidate)) {
            if (probeMeetsMinimum(javaHome)) {
                trace("JAVA_HOME found");
                return Runtime{candidate, javaHome};
            }
            trace("Incorrect version");
            return Runtime{};
        }
        trace("JAVA_HOME not found");
        trace("Try current dir.");
        return Runtime{request_.executableName, std::string()};
    }

    const SearchRequest& request_;
    SearchSystem& system_;
    std::vector<std::string> trace_;
};

} // namespace

SearchAnswer findJavaRuntime(const SearchRequest& request, SearchSystem& system) {
    return Search(request, system).run();
}
