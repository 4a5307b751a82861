#include "jvm/runtime_search.h"

#include <set>
#include <utility>

#include "base/absolute_path.h"
#include "jvm/version.h"

const char* const JreRegistryKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const char* const JdkRegistryKey = "SOFTWARE\\JavaSoft\\Java Development Kit";

namespace {

// --- where runtimes are looked for ------------------------------------------------------

// Every registry read covers, in this order: the machine's keys, in the 64-bit view first, where
// 64-bit installers write, whichever launcher runs; then the user's (installs for one user). The
// user's SOFTWARE key is one and the same in both views (WOW64 shares it), so it is read once.
struct RegistryPlace {
    RegistryHive hive;
    RegistryView view;
};
constexpr RegistryPlace RegistryPlaces[] = {
    {RegistryHive::LocalMachine, RegistryView::Bits64},
    {RegistryHive::LocalMachine, RegistryView::Bits32},
    {RegistryHive::CurrentUser, RegistryView::Bits64},
};

// Keys that installers write: each version subkey of `key`, then the path `below` it ("*" stands
// for every subkey at that level), holds the runtime's home in the value `value`.
struct RegistrySource {
    const char* key;
    const char* below;
    const char* value;
};
const RegistrySource InstalledRegistrySources[] = {
    {"SOFTWARE\\JavaSoft\\JDK", "", "JavaHome"},
    {"SOFTWARE\\JavaSoft\\JRE", "", "JavaHome"},
    {"SOFTWARE\\Eclipse Adoptium\\JDK", "*\\MSI", "Path"},
    {"SOFTWARE\\Eclipse Adoptium\\JRE", "*\\MSI", "Path"},
    {"SOFTWARE\\AdoptOpenJDK\\JDK", "*\\MSI", "Path"},
    {"SOFTWARE\\AdoptOpenJDK\\JRE", "*\\MSI", "Path"},
    {"SOFTWARE\\Microsoft\\JDK", "*\\MSI", "Path"},
    {"SOFTWARE\\Semeru\\JDK", "*\\MSI", "Path"},
    {"SOFTWARE\\Semeru\\JRE", "*\\MSI", "Path"},
    {"SOFTWARE\\Azul Systems\\Zulu", "", "InstallationPath"},
    {"SOFTWARE\\BellSoft\\Liberica", "", "InstallationPath"},
    {"SOFTWARE\\Amazon\\Amazon Corretto", "MSI", "InstallDir"},
    {"SOFTWARE\\SapMachine\\JDK", "", "JavaHome"},
    {"SOFTWARE\\SapMachine\\JRE", "", "JavaHome"},
};

// Program folders: the folder an environment variable names, and the path below it.
struct EnvironmentFolder {
    const char* variable;
    const char* below;
};
const EnvironmentFolder ProgramFolders[] = {
    {"ProgramFiles", ""}, {"ProgramFiles(x86)", ""}, {"ProgramW6432", ""}, {"ProgramFiles(Arm)", ""},
    {"LOCALAPPDATA", "Programs"},
};
// Inside each program folder: a vendor's folder and the pattern of the homes in it.
const std::pair<const char*, const char*> VendorFolders[] = {
    {"Java", "*"},     {"Eclipse Adoptium", "*"}, {"AdoptOpenJDK", "*"}, {"Microsoft", "jdk-*"}, {"Zulu", "*"},
    {"Amazon Corretto", "*"}, {"BellSoft", "*"}, {"Semeru", "*"},       {"SapMachine", "*"},
};
// Package managers and development tools, which write no keys: each folder matching `pattern` in
// the environment folder, then `inside` it, is a candidate home.
struct PackageFolder {
    EnvironmentFolder folder;
    const char* pattern;
    const char* inside;
    const char* name;
};
const PackageFolder PackageFolders[] = {
    {{"SCOOP", "apps"}, "*", "current", "scoop"},
    {{"USERPROFILE", "scoop\\apps"}, "*", "current", "scoop"},
    {{"ProgramData", "scoop\\apps"}, "*", "current", "scoop (global)"},
    {{"USERPROFILE", ".jdks"}, "*", "", "IDE downloads"},
};

struct Runtime {
    Runtime() = default;
    Runtime(std::string executable_, std::string home_, std::string version_ = std::string())
        : executable(std::move(executable_)), home(std::move(home_)), version(std::move(version_)) {}
    std::string executable;
    std::string home;    // "" when it cannot be known
    std::string version; // "" until a stage learns it
    Machine machine = Machine::Unknown; // until its header is read
};

std::string withoutTrailingBackslashes(std::string path) {
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    return path;
}

std::string folderOf(const std::string& path) {
    std::string::size_type slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Homes compare as the file system does: without case, without a trailing backslash.
std::string homeKey(const std::string& home) { return lowered(withoutTrailingBackslashes(home)); }

std::string joined(const std::string& folder, const std::string& below) {
    return below.empty() ? folder : folder + "\\" + below;
}

std::string viewName(RegistryView view) { return view == RegistryView::Bits32 ? "32-bit" : "64-bit"; }

std::string placeName(RegistryPlace place, const std::string& key) {
    std::string hive = place.hive == RegistryHive::CurrentUser ? "HKEY_CURRENT_USER\\" : "";
    return hive + key + " (" + viewName(place.view) + " registry)";
}

// The one rule that chooses among the runtimes of a stage that fit: the highest version, then the
// architecture this PC runs best (its own first), then the first one offered. A runtime the PC
// cannot run at all is left out, traced: started, it would only fail.
class Ranking {
public:
    Ranking(SearchSystem& system, const std::vector<Machine>& runnable, std::vector<std::string>& trace)
        : system_(system), preferred_(runnable), trace_(trace) {}

    // False when the runtime is left out because this PC cannot run it.
    bool offer(const Runtime& runtime, const std::string& version) {
        bool higher = best_.executable.empty() || !versionAtLeast(version, bestVersion_);
        // Lower than the best: never read, it cannot win.
        if (!higher && !versionAtLeast(bestVersion_, version)) return true;
        Machine machine = Machine::Unknown;
        std::optional<std::size_t> rank = architectureRank(runtime.executable, machine);
        if (!rank) return false;
        if (higher || *rank < bestRank_) take(runtime, version, *rank, machine);
        return true;
    }
    const Runtime& best() const { return best_; }

private:
    // Each executable's header is read once, and only where it may decide: for a runtime that
    // would be the best by its version, or ties with the best. Nothing when the PC cannot run it;
    // an executable whose header cannot be read ranks after every known one.
    std::optional<std::size_t> architectureRank(const std::string& executable, Machine& machine) {
        machine = machineOfExecutable(system_.readFileHead(executable, ExecutableHeadBytes));
        std::size_t rank = 0;
        while (rank < preferred_.size() && preferred_[rank] != machine) ++rank;
        if (machine != Machine::Unknown && !preferred_.empty() && rank == preferred_.size()) {
            trace_.push_back("Left out " + executable + ": an " + machineName(machine) +
                             " program, which this PC cannot run");
            return std::nullopt;
        }
        return rank;
    }
    void take(const Runtime& runtime, const std::string& version, std::size_t rank, Machine machine) {
        best_ = runtime;
        best_.version = version;
        best_.machine = machine;
        bestVersion_ = version;
        bestRank_ = rank;
    }

    SearchSystem& system_;
    const std::vector<Machine>& preferred_;
    std::vector<std::string>& trace_;
    Runtime best_;
    std::string bestVersion_;
    std::size_t bestRank_ = 0;
};

class Search {
public:
    Search(const SearchRequest& request, SearchSystem& system) : request_(request), system_(system) {}

    SearchAnswer run() {
        trace(request_.jdkOnly ? "Search for Jdk only..." : "Search for Jre...");
        if (std::optional<Runtime> bundled = bundledRuntime()) {
            trace("Bundled Jre or jdk found");
            // Its release file only: a shipped runtime is never run just to learn its version.
            bundled->version = releaseVersion(*bundled);
            return answer(*bundled);
        }
        if (request_.jdkOnly) {
            trace("Search for Jdk only...");
            Runtime jdk = registeredJdk();
            if (system_.fileExists(jdk.executable)) return answer(jdk);
            Runtime javaHome = jdkInJavaHome();
            return answer(javaHome.executable.empty() ? installedRuntime() : javaHome);
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

    // The shipped runtime: the one configured executable that exists, or of several (one per
    // architecture, separated by ';') those that exist ranked by the architecture rule alone.
    std::optional<Runtime> bundledRuntime() {
        std::vector<std::string> entries;
        std::string::size_type at = 0;
        while (at <= request_.bundledJava.size()) {
            std::string::size_type end = request_.bundledJava.find(';', at);
            if (end == std::string::npos) end = request_.bundledJava.size();
            std::string entry = request_.bundledJava.substr(at, end - at);
            std::string::size_type first = entry.find_first_not_of(' '), last = entry.find_last_not_of(' ');
            if (first != std::string::npos) entries.push_back(entry.substr(first, last - first + 1));
            at = end + 1;
        }
        if (entries.empty()) entries.push_back(std::string()); // traced as before; never a candidate
        std::vector<Runtime> found;
        for (const std::string& entry : entries) {
            std::string path = isAbsolutePath(entry) ? entry : request_.launcherDirectory + "\\" + entry;
            trace("Try bundled JRE or JDK path: " + path);
            // Without a setting the candidate would be the launcher's own folder, which always exists.
            if (!entry.empty() && system_.fileExists(path)) found.push_back(Runtime{path, homeOfExecutable(path)});
        }
        // One alone is taken as it is, unread.
        if (entries.size() == 1) return found.empty() ? std::nullopt : std::optional<Runtime>(found[0]);
        Ranking best = ranking();
        for (const Runtime& runtime : found) best.offer(runtime, "0");
        if (best.best().executable.empty()) return std::nullopt;
        return best.best();
    }

    SearchAnswer answer(Runtime runtime) {
        return SearchAnswer{std::move(runtime.executable), std::move(runtime.home), std::move(runtime.version),
                            runtime.machine, std::move(trace_)};
    }

    std::string executableIn(const std::string& home) const { return home + "\\bin\\" + request_.executableName; }

    bool qualifies(const std::string& version) const {
        return versionAtLeast(request_.minimumVersion, version) && versionAtMost(request_.maximumVersion, version);
    }

    bool hasCompiler(const Runtime& runtime) {
        return system_.fileExists(folderOf(runtime.executable) + "\\javac.exe");
    }

    Ranking ranking() {
        if (!runnable_) runnable_ = system_.runnableMachines();
        return Ranking(system_, *runnable_, trace_);
    }

    // Probes the java.exe beside the runtime's executable (the console twin of javaw.exe).
    std::string probe(const Runtime& runtime) {
        ProbedVersion probed = system_.probeVersion(folderOf(runtime.executable) + "\\java.exe");
        trace_.insert(trace_.end(), probed.trace.begin(), probed.trace.end());
        return probed.version;
    }

    // The runtime an existing executable belongs to. A link (Oracle's javapath folder holds links
    // to the real executables) counts where it leads; the home is the folder above bin, and
    // unknown where the executable lies elsewhere.
    Runtime runtimeOfExecutable(const std::string& executable) {
        std::string real = system_.finalPath(executable);
        if (real.empty() || homeKey(real) == homeKey(executable)) real = executable;
        std::string folder = folderOf(real);
        std::string::size_type slash = folder.rfind('\\');
        bool inBin = lowered(folder.substr(slash == std::string::npos ? 0 : slash + 1)) == "bin";
        return Runtime{real, inBin ? folderOf(folder) : std::string()};
    }

    // The runtime a folder names: its bin's executable, or, for a folder of links such as javapath,
    // its own; nothing when it holds neither.
    std::optional<Runtime> runtimeNamedBy(const std::string& folder) {
        if (folder.empty()) return std::nullopt;
        std::string inBin = executableIn(folder);
        if (system_.fileExists(inBin)) {
            Runtime runtime = runtimeOfExecutable(inBin);
            // Not a link: the folder is the home, exactly as it was written.
            if (runtime.executable == inBin) runtime.home = folder;
            return runtime;
        }
        std::string inFolder = joined(withoutTrailingBackslashes(folder), request_.executableName);
        if (system_.fileExists(inFolder)) return runtimeOfExecutable(inFolder);
        return std::nullopt;
    }

    // A registry value from the first place that has it.
    std::string registryString(const std::string& keyPath, const std::string& valueName) {
        for (RegistryPlace place : RegistryPlaces) {
            std::string value = system_.registryString(place.hive, place.view, keyPath, valueName);
            if (!value.empty()) return value;
        }
        return std::string();
    }

    // The registry's current runtime when its executable exists and its probe passes, else the
    // best of the registered runtimes, then of the development kits.
    Runtime registeredRuntime() {
        std::string version = registryString(JreRegistryKey, "CurrentVersion");
        // Without a current version there is no key to read its home from.
        std::string home = version.empty() ? std::string()
                                           : registryString(std::string(JreRegistryKey) + "\\" + version, "JavaHome");
        Runtime current{executableIn(home), home};
        if (!home.empty() && system_.fileExists(current.executable)) {
            current.version = probe(current);
            if (qualifies(current.version)) return current;
        }
        Runtime runtime = bestRegistered(JreRegistryKey);
        if (!system_.fileExists(runtime.executable)) runtime = registeredJdk();
        return runtime;
    }

    Runtime registeredJdk() {
        Runtime jdk = bestRegistered(JdkRegistryKey);
        if (system_.fileExists(jdk.executable)) trace("Jre key found in registry");
        return jdk;
    }

    // The best version subkey, in every place, that fits the wanted versions and whose executable
    // exists. Every fitting subkey is traced with its candidate, once even where two places show
    // the same key.
    Runtime bestRegistered(const std::string& keyPath) {
        Ranking best = ranking();
        std::set<std::pair<std::string, std::string>> seen;
        for (RegistryPlace place : RegistryPlaces) {
            for (const std::string& version : system_.registrySubkeys(place.hive, place.view, keyPath)) {
                if (!qualifies(version)) continue;
                std::string home = system_.registryString(place.hive, place.view, keyPath + "\\" + version, "JavaHome");
                if (!seen.insert({version, homeKey(home)}).second) continue;
                trace(version);
                // No home means nothing to start; never fall back to the root of the current drive.
                if (home.empty()) continue;
                std::string candidate = executableIn(home);
                if (system_.fileExists(candidate)) {
                    if (best.offer(Runtime{candidate, home}, version)) trace("found");
                }
                trace(candidate);
            }
        }
        return best.best();
    }

    Runtime javaHomeOrLater() {
        if (std::optional<Runtime> named = runtimeNamedBy(system_.environmentVariable("JAVA_HOME"))) {
            named->version = probe(*named);
            if (qualifies(named->version)) {
                trace("JAVA_HOME found");
                return *named;
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

    // In JDK mode, JAVA_HOME counts when it names a development kit; nothing is traced otherwise.
    Runtime jdkInJavaHome() {
        std::optional<Runtime> named = runtimeNamedBy(system_.environmentVariable("JAVA_HOME"));
        if (!named || named->home.empty() || !hasCompiler(*named)) return Runtime{};
        named->version = probe(*named);
        if (qualifies(named->version)) {
            trace("JAVA_HOME found");
            return *named;
        }
        trace("Incorrect version");
        return Runtime{};
    }

    // --- the installed runtimes ---------------------------------------------------------

    struct Candidate {
        Runtime runtime;
        std::string source;
    };

    void addCandidate(std::vector<Candidate>& candidates, std::set<std::string>& seen, Runtime runtime,
                      const std::string& source) {
        if (runtime.executable.empty()) return;
        if (!seen.insert(homeKey(runtime.home.empty() ? runtime.executable : runtime.home)).second) return;
        runtime.home = withoutTrailingBackslashes(runtime.home);
        candidates.push_back(Candidate{std::move(runtime), source});
    }

    void addHome(std::vector<Candidate>& candidates, std::set<std::string>& seen, const std::string& home,
                 const std::string& source) {
        if (!home.empty()) addCandidate(candidates, seen, Runtime{executableIn(withoutTrailingBackslashes(home)), home}, source);
    }

    // The keys at the path `below` (see RegistrySource) under `key`.
    std::vector<std::string> keysBelow(RegistryPlace place, const std::string& key, const std::string& below) {
        if (below.empty()) return {key};
        std::string::size_type slash = below.find('\\');
        std::string level = below.substr(0, slash);
        std::string rest = slash == std::string::npos ? std::string() : below.substr(slash + 1);
        std::vector<std::string> keys;
        if (level != "*") return keysBelow(place, key + "\\" + level, rest);
        for (const std::string& name : system_.registrySubkeys(place.hive, place.view, key)) {
            std::vector<std::string> more = keysBelow(place, key + "\\" + name, rest);
            keys.insert(keys.end(), more.begin(), more.end());
        }
        return keys;
    }

    std::vector<Candidate> installedCandidates() {
        std::vector<Candidate> candidates;
        std::set<std::string> seen;
        for (RegistryPlace place : RegistryPlaces)
            for (const RegistrySource& source : InstalledRegistrySources)
                for (const std::string& version : system_.registrySubkeys(place.hive, place.view, source.key))
                    for (const std::string& key : keysBelow(place, std::string(source.key) + "\\" + version, source.below))
                        addHome(candidates, seen, system_.registryString(place.hive, place.view, key, source.value),
                                placeName(place, key));
        for (const std::string& entry : pathEntriesOutsideWindows()) {
            std::string executable = entry + "\\" + request_.executableName;
            if (system_.fileExists(executable)) addCandidate(candidates, seen, runtimeOfExecutable(executable), "PATH");
        }
        for (const std::string& programs : foldersOf(ProgramFolders)) {
            // One listing of the program folder, then only the vendor folders that are there.
            std::set<std::string> present;
            for (const std::string& name : system_.subfolders(programs, "*")) present.insert(homeKey(name));
            for (const auto& [vendor, pattern] : VendorFolders) {
                if (!present.count(homeKey(vendor))) continue;
                std::string folder = programs + "\\" + vendor;
                for (const std::string& name : system_.subfolders(folder, pattern))
                    addHome(candidates, seen, folder + "\\" + name, "install folder");
            }
        }
        for (const PackageFolder& package : PackageFolders)
            for (const std::string& folder : foldersOf(std::vector<EnvironmentFolder>{package.folder}))
                for (const std::string& name : system_.subfolders(folder, package.pattern))
                    addHome(candidates, seen, joined(folder + "\\" + name, package.inside), package.name);
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

    // The Windows folder holds no runtime: the java.exe and javaw.exe that old installers copied
    // into System32 only start the registered runtime, which the registry stages have read.
    std::vector<std::string> pathEntriesOutsideWindows() {
        std::string windows = homeKey(system_.environmentVariable("SystemRoot"));
        std::vector<std::string> outside;
        for (const std::string& entry : pathEntries()) {
            std::string key = homeKey(entry);
            bool inWindows = !windows.empty() && key.compare(0, windows.size(), windows) == 0 &&
                             (key.size() == windows.size() || key[windows.size()] == '\\');
            if (!inWindows) outside.push_back(entry);
        }
        return outside;
    }

    // The folders the environment names, each once, in order; unset variables name none.
    template <typename Folders>
    std::vector<std::string> foldersOf(const Folders& folders) {
        std::vector<std::string> found;
        std::set<std::string> seen;
        for (const EnvironmentFolder& folder : folders) {
            std::string base = system_.environmentVariable(folder.variable);
            if (base.empty()) continue;
            std::string path = joined(withoutTrailingBackslashes(base), folder.below);
            if (seen.insert(homeKey(path)).second) found.push_back(path);
        }
        return found;
    }

    // The version its `release` file names; "" without a home, a file or the line.
    std::string releaseVersion(const Runtime& runtime) {
        std::optional<std::string> release =
            runtime.home.empty() ? std::nullopt : system_.readSmallFile(runtime.home + "\\release");
        return release ? versionFromReleaseFile(*release) : std::string();
    }

    // A candidate's version: from its `release` file, or, where that names none (or the home is
    // unknown), from a probe.
    std::string versionOf(const Runtime& runtime, bool& probed) {
        std::string version = releaseVersion(runtime);
        probed = version.empty();
        return probed ? probe(runtime) : version;
    }

    // The best fitting installed runtime; in JDK-only mode only runtimes with a compiler count.
    Runtime installedRuntime() {
        trace("Search installed runtimes...");
        Ranking best = ranking();
        for (const Candidate& candidate : installedCandidates()) {
            const Runtime& runtime = candidate.runtime;
            if (!system_.fileExists(runtime.executable)) continue;
            std::string shown = runtime.home.empty() ? folderOf(runtime.executable) : runtime.home;
            std::string line = "Installed runtime " + shown + " from " + candidate.source;
            if (request_.jdkOnly && !hasCompiler(runtime)) {
                trace(line + ": no javac.exe");
                continue;
            }
            // A development kit's jars lie in its home: without one it cannot serve.
            if (request_.jdkOnly && runtime.home.empty()) {
                trace(line + ": home unknown");
                continue;
            }
            bool probed = false;
            std::string version = versionOf(runtime, probed);
            line += version.empty() ? ": no version" : ": version " + version + (probed ? " (probed)" : "");
            bool fits = qualifies(version);
            trace(fits ? line : line + ", does not fit");
            if (fits) best.offer(runtime, version);
        }
        const Runtime& chosen = best.best();
        std::string shown = chosen.home.empty() ? folderOf(chosen.executable) : chosen.home;
        trace(chosen.executable.empty() ? "No installed runtime fits" : "Installed runtime chosen: " + shown);
        return chosen;
    }

    const SearchRequest& request_;
    SearchSystem& system_;
    std::optional<std::vector<Machine>> runnable_;
    std::vector<std::string> trace_;
};

} // namespace

std::string homeOfExecutable(const std::string& executable) { return folderOf(folderOf(executable)); }

SearchAnswer findJavaRuntime(const SearchRequest& request, SearchSystem& system) {
    return Search(request, system).run();
}
