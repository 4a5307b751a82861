#include "jvm/runtime_search.h"

#include <set>

#include "base/absolute_path.h"
#include "jvm/version.h"

const char* const JreRegistryKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const JdkRegistryKey = "SOFTWARE\\JavaSoft\\Java Development Kit";

namespace {

// 64-bit first: on a 64-bit system that is where 64-bit installers write, whichever launcher runs.
constexpr RegistryView BothViews[] = {RegistryView::Bits64, RegistryView::Bits32};

// Installers of Java 9 and later: the home under each version subkey.
const char* const JavaSoftKeys[] = {"SOFTWARE\\JavaSoft\\JDK", "SOFTWARE\\JavaSoft\\JRE"};
// MSI installers that record <version>\<implementation>\MSI, value Path.
const char* const MsiPathKeys[] = {"SOFTWARE\\Eclipse Adoptium\\JDK", "SOFTWARE\\Eclipse Adoptium\\JRE",
                                   "SOFTWARE\\AdoptOpenJDK\\JDK", "SOFTWARE\\AdoptOpenJDK\\JRE",
                                   "SOFTWARE\\Microsoft\\JDK"};
const char* const ZuluKey = "SOFTWARE\\Azul Systems\\Zulu";

// Where installers put runtimes, below each program folder: vendor folder and home pattern.
const std::pair<const char*, const char*> InstallFolders[] = {
    {"Java", "*"},     {"Eclipse Adoptium", "*"}, {"AdoptOpenJDK", "*"}, {"Microsoft", "jdk-*"}, {"Zulu", "*"},
    {"Amazon Corretto", "*"}, {"BellSoft", "*"}, {"Semeru", "*"},       {"SapMachine", "*"},
};
const char* const ProgramFolderVariables[] = {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"};

struct Runtime {
    std::string executable;
    std::string home;
};

std::string withoutTrailingBackslashes(std::string path) {
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    return path;
}

std::string folderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Homes compare as the file system does: without case, without a trailing backslash.
std::string homeKey(const std::string& home) {
    std::string key = withoutTrailingBackslashes(home);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

std::string viewName(RegistryView view) { return view == RegistryView::Bits32 ? "32-bit" : "64-bit"; }

class Search {
public:
    Search(const SearchRequest& request, SearchSystem& system) : request_(request), system_(system) {}

    SearchAnswer run() {
        trace(request_.jdkOnly ? "Search for Jdk only..." : "Search for Jre...");
        std::string bundled = isAbsolutePath(request_.bundledJava)
                                  ? request_.bundledJava
                                  : request_.launcherDirectory + "\\" + request_.bundledJava;
        trace("Try bundled JRE or JDK path: " + bundled);
        // Without a setting the candidate would be the launcher's own folder, which always exists.
        if (!request_.bundledJava.empty() && system_.fileExists(bundled)) {
            trace("Bundled Jre or jdk found");
            return answer({bundled, homeOfExecutable(bundled)});
        }
        if (request_.jdkOnly) {
            trace("Search for Jdk only...");
            Runtime jdk = registeredJdk();
            return answer(system_.fileExists(jdk.executable) ? jdk : installedRuntime());
        }
        trace("Bundled Jre not found");

        Runtime registered = registeredRuntime();
        if (system_.fileExists(registered.executable)) {
            trace("Jre key found in registry");
            return answer(registered);
        }
        trace("Jre key not found in registry");
        return answer(javaHomeOrLater());
    }

private:
    void trace(const std::string& line) { trace_.push_back(line); }

    SearchAnswer answer(Runtime runtime) {
        return SearchAnswer{std::move(runtime.executable), std::move(runtime.home), std::move(trace_)};
    }

    std::string executableIn(const std::string& home) const { return home + "\\bin\\" + request_.executableName; }

    bool qualifies(const std::string& version) const {
        return versionAtLeast(request_.minimumVersion, version) && versionAtMost(request_.maximumVersion, version);
    }

    std::string probe(const std::string& home) {
        ProbedVersion probed = system_.probeVersion(home);
        trace_.insert(trace_.end(), probed.trace.begin(), probed.trace.end());
        return probed.version;
    }

    // A registry value, from the 64-bit view or else from the 32-bit one.
    std::string registryString(const std::string& keyPath, const std::string& valueName) {
        for (RegistryView view : BothViews) {
            std::string value = system_.registryString(view, keyPath, valueName);
            if (!value.empty()) return value;
        }
        return std::string();
    }

    // The registry's current runtime when its probe passes and its executable exists, else the
    // enumeration of the runtimes, then of the development kits.
    Runtime registeredRuntime() {
        std::string version = registryString(JreRegistryKey, "CurrentVersion");
        std::string home = registryString(std::string(JreRegistryKey) + "\\" + version, "JavaHome");
        if (!home.empty() && qualifies(probe(home)) && system_.fileExists(executableIn(home)))
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

    // The last version subkey, in the registry's order (64-bit view, then 32-bit), that fits the
    // wanted versions and whose executable exists. Every fitting subkey is traced with its
    // candidate, once even where both views show the same key.
    Runtime lastRegistered(const std::string& keyPath) {
        Runtime result;
        std::set<std::pair<std::string, std::string>> seen;
        for (RegistryView view : BothViews) {
            for (const std::string& version : system_.registrySubkeys(view, keyPath)) {
                if (!qualifies(version)) continue;
                std::string home = system_.registryString(view, keyPath + "\\" + version, "JavaHome");
                if (!seen.insert({version, homeKey(home)}).second) continue;
                trace(version);
                // No home means nothing to start; never fall back to the root of the current drive.
                if (home.empty()) continue;
                std::string candidate = executableIn(home);
                if (system_.fileExists(candidate)) {
                    result = Runtime{candidate, home};
                    trace("found");
                }
                trace(candidate);
            }
        }
        return result;
    }

    Runtime javaHomeOrLater() {
        std::string javaHome = system_.environmentVariable("JAVA_HOME");
        std::string candidate = executableIn(javaHome);
        if (!javaHome.empty() && system_.fileExists(candidate)) {
            if (qualifies(probe(javaHome))) {
                trace("JAVA_HOME found");
                return Runtime{candidate, javaHome};
            }
            trace("Incorrect version");
            return installedRuntime();
        }
        trace("JAVA_HOME not found");
        Runtime installed = installedRuntime();
        if (!installed.executable.empty()) return installed;
        trace("Try current dir.");
        return Runtime{request_.executableName, std::string()};
    }

    // --- the installed runtimes ---------------------------------------------------------

    struct Candidate {
        std::string home;
        std::string source;
    };

    void addCandidate(std::vector<Candidate>& candidates, std::set<std::string>& seen, const std::string& home,
                      const std::string& source) {
        if (home.empty() || !seen.insert(homeKey(home)).second) return;
        candidates.push_back(Candidate{withoutTrailingBackslashes(home), source});
    }

    std::vector<Candidate> installedCandidates() {
        std::vector<Candidate> candidates;
        std::set<std::string> seen;
        for (RegistryView view : BothViews) {
            std::string where = " (" + viewName(view) + " registry)";
            for (const char* key : JavaSoftKeys)
                for (const std::string& version : system_.registrySubkeys(view, key))
                    addCandidate(candidates, seen, system_.registryString(view, std::string(key) + "\\" + version, "JavaHome"),
                                 std::string(key) + "\\" + version + where);
            for (const char* key : MsiPathKeys)
                for (const std::string& version : system_.registrySubkeys(view, key))
                    for (const std::string& build : system_.registrySubkeys(view, std::string(key) + "\\" + version)) {
                        std::string msi = std::string(key) + "\\" + version + "\\" + build + "\\MSI";
                        addCandidate(candidates, seen, system_.registryString(view, msi, "Path"), msi + where);
                    }
            for (const std::string& release : system_.registrySubkeys(view, ZuluKey))
                addCandidate(candidates, seen,
                             system_.registryString(view, std::string(ZuluKey) + "\\" + release, "InstallationPath"),
                             std::string(ZuluKey) + "\\" + release + where);
        }
        for (const std::string& entry : pathEntries())
            if (system_.fileExists(entry + "\\" + request_.executableName))
                addCandidate(candidates, seen, folderOf(entry), "PATH");
        for (const std::string& programs : programFolders()) {
            // One listing of the program folder, then only the vendor folders that are there.
            std::set<std::string> present;
            for (const std::string& name : system_.subfolders(programs, "*")) present.insert(homeKey(name));
            for (const auto& [vendor, pattern] : InstallFolders) {
                if (!present.count(homeKey(vendor))) continue;
                std::string folder = programs + "\\" + vendor;
                for (const std::string& name : system_.subfolders(folder, pattern))
                    addCandidate(candidates, seen, folder + "\\" + name, "install folder");
            }
        }
        return candidates;
    }

    // PATH's entries without blanks around them or quotes; empty entries are none.
    std::vector<std::string> pathEntries() {
        std::vector<std::string> entries;
        std::string path = system_.environmentVariable("PATH");
        std::string::size_type at = 0;
        while (at <= path.size()) {
            std::string::size_type end = path.find(';', at);
            if (end == std::string::npos) end = path.size();
            std::string entry;
            for (char c : path.substr(at, end - at))
                if (c != '"') entry += c;
            std::string::size_type first = entry.find_first_not_of(' ');
            std::string::size_type last = entry.find_last_not_of(' ');
            entry = first == std::string::npos ? std::string() : entry.substr(first, last - first + 1);
            entry = withoutTrailingBackslashes(entry);
            if (!entry.empty()) entries.push_back(entry);
            at = end + 1;
        }
        return entries;
    }

    std::vector<std::string> programFolders() {
        std::vector<std::string> folders;
        std::set<std::string> seen;
        auto add = [&](const std::string& folder) {
            if (!folder.empty() && seen.insert(homeKey(folder)).second) folders.push_back(withoutTrailingBackslashes(folder));
        };
        for (const char* variable : ProgramFolderVariables) add(system_.environmentVariable(variable));
        std::string localAppData = system_.environmentVariable("LOCALAPPDATA");
        if (!localAppData.empty()) add(withoutTrailingBackslashes(localAppData) + "\\Programs");
        return folders;
    }

    // A candidate's version: from its `release` file, or, where that names none, from a probe.
    std::string versionOf(const std::string& home, bool& probed) {
        std::optional<std::string> release = system_.readSmallFile(home + "\\release");
        std::string version = release ? versionFromReleaseFile(*release) : std::string();
        probed = version.empty();
        return probed ? probe(home) : version;
    }

    // The highest fitting version among the installed runtimes; in JDK-only mode only homes
    // with a compiler count.
    Runtime installedRuntime() {
        trace("Search installed runtimes...");
        Runtime chosen;
        std::string chosenVersion;
        for (const Candidate& candidate : installedCandidates()) {
            std::string executable = executableIn(candidate.home);
            if (!system_.fileExists(executable)) continue;
            std::string line = "Installed runtime " + candidate.home + " from " + candidate.source;
            if (request_.jdkOnly && !system_.fileExists(candidate.home + "\\bin\\javac.exe")) {
                trace(line + ": no javac.exe");
                continue;
            }
            bool probed = false;
            std::string version = versionOf(candidate.home, probed);
            line += version.empty() ? ": no version" : ": version " + version + (probed ? " (probed)" : "");
            bool fits = qualifies(version);
            trace(fits ? line : line + ", does not fit");
            if (fits && (chosen.executable.empty() || !versionAtLeast(version, chosenVersion))) {
                chosen = Runtime{executable, candidate.home};
                chosenVersion = version;
            }
        }
        trace(chosen.executable.empty() ? "No installed runtime fits" : "Installed runtime chosen: " + chosen.home);
        return chosen;
    }

    const SearchRequest& request_;
    SearchSystem& system_;
    std::vector<std::string> trace_;
};

} // namespace

std::string homeOfExecutable(const std::string& executable) { return folderOf(folderOf(executable)); }

SearchAnswer findJavaRuntime(const SearchRequest& request, SearchSystem& system) {
    return Search(request, system).run();
}
