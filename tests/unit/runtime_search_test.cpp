#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "jvm/runtime_search.h"

namespace {

const std::string Jre = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const std::string Jdk = "SOFTWARE\\JavaSoft\\Java Development Kit";
const std::string AppDir = "C:\\Apps\\Quill";

// The first bytes of an executable built for `machine`, as a linker writes them.
std::string executableHead(Machine machine) {
    std::string head(0x80 + 24, '\0');
    head[0] = 'M';
    head[1] = 'Z';
    head[0x3C] = '\x80';
    head.replace(0x80, 4, std::string("PE\0\0", 4));
    head[0x84] = static_cast<char>(static_cast<unsigned>(machine) & 0xFF);
    head[0x85] = static_cast<char>(static_cast<unsigned>(machine) >> 8);
    return head;
}

// A machine made of maps: files, registry values and subkeys per view (the machine's keys, and
// the user's apart), links, environment, and the version each home reports when probed.
class FakeSystem : public SearchSystem {
public:
    using RegistryValues = std::map<std::pair<RegistryView, std::string>, std::map<std::string, std::string>>;
    using RegistrySubkeys = std::map<std::pair<RegistryView, std::string>, std::vector<std::string>>;
    std::set<std::string> files;
    RegistryValues values;
    RegistrySubkeys subkeys;
    RegistryValues userValues;
    RegistrySubkeys userSubkeys;
    std::map<std::string, std::string> links;    // link -> the file it leads to
    std::map<std::string, Machine> executables;  // executable -> its machine
    Machine pc = Machine::X64;
    std::optional<std::vector<Machine>> userEnabled; // nothing: the system cannot say (before Windows 11)
    std::map<std::string, std::string> environment;
    std::map<std::string, std::string> reportedVersions;
    std::map<std::string, std::vector<std::string>> folders;
    std::map<std::string, std::string> smallFiles;
    std::vector<std::string> probedHomes;

    void runtime(const std::string& home, const std::string& version = "1.8.0_391") {
        files.insert(home + "\\bin\\java.exe");
        files.insert(home + "\\bin\\javaw.exe");
        reportedVersions[home] = version;
    }
    void registered(const std::string& key, const std::string& version, const std::string& home,
                    RegistryView view = RegistryView::Bits64) {
        subkeys[{view, key}].push_back(version);
        values[{view, key + "\\" + version}]["JavaHome"] = home;
    }

    // A key of an installer that writes <key>\<version>\<below> with the home in `value`.
    void registeredAt(bool user, RegistryView view, const std::string& key, const std::string& version,
                      const std::string& below, const std::string& value, const std::string& home) {
        RegistrySubkeys& keys = user ? userSubkeys : subkeys;
        keys[{view, key}].push_back(version);
        std::string at = key + "\\" + version;
        std::string::size_type slash = below.find('\\');
        if (slash != std::string::npos) { // one level of its own, such as <vm>\MSI
            keys[{view, at}].push_back(below.substr(0, slash));
        }
        (user ? userValues : values)[{view, below.empty() ? at : at + "\\" + below}][value] = home;
    }

    bool fileExists(const std::string& path) override { return files.count(path) > 0 || links.count(path) > 0; }
    std::string registryString(RegistryHive hive, RegistryView view, const std::string& key,
                               const std::string& name) override {
        RegistryValues& all = hive == RegistryHive::CurrentUser ? userValues : values;
        auto found = all.find({view, key});
        if (found == all.end() || !found->second.count(name)) return "";
        return found->second.at(name);
    }
    std::vector<std::string> registrySubkeys(RegistryHive hive, RegistryView view, const std::string& key) override {
        RegistrySubkeys& all = hive == RegistryHive::CurrentUser ? userSubkeys : subkeys;
        auto found = all.find({view, key});
        return found == all.end() ? std::vector<std::string>{} : found->second;
    }
    std::string readFileHead(const std::string& path, std::size_t limit) override {
        return executables.count(path) ? executableHead(executables.at(path)).substr(0, limit) : "";
    }
    std::string finalPath(const std::string& path) override {
        if (links.count(path)) return links.at(path);
        return files.count(path) ? path : "";
    }
    std::vector<Machine> runnableMachines() override { return machinesRunOn(pc, userEnabled); }
    std::string environmentVariable(const std::string& name) override {
        return environment.count(name) ? environment.at(name) : "";
    }
    std::vector<std::string> subfolders(const std::string& folder, const std::string& pattern) override {
        std::vector<std::string> names;
        for (const std::string& name : folders[folder])
            if (pattern == "*" || name.rfind(pattern.substr(0, pattern.size() - 1), 0) == 0) names.push_back(name);
        return names;
    }
    std::optional<std::string> readSmallFile(const std::string& path) override {
        if (!smallFiles.count(path)) return std::nullopt;
        return smallFiles.at(path);
    }
    ProbedVersion probeVersion(const std::string& javaExecutable) override {
        const std::string inBin = "\\bin\\java.exe";
        bool underBin = javaExecutable.size() > inBin.size() &&
                        javaExecutable.compare(javaExecutable.size() - inBin.size(), inBin.size(), inBin) == 0;
        std::string home = javaExecutable.substr(0, javaExecutable.size() - (underBin ? inBin.size() : 9));
        probedHomes.push_back(home);
        std::string version = reportedVersions.count(home) ? reportedVersions.at(home) : "";
        return ProbedVersion{version, {"probe " + home, "Info = ", version}};
    }
};

SearchRequest request(const std::string& minimum = "1.5", bool jdkOnly = false, const std::string& bundled = "") {
    return SearchRequest{minimum, "", jdkOnly, "javaw.exe", AppDir, bundled};
}

std::vector<std::string> jreStart() {
    return {"Search for Jre...", "Try bundled JRE or JDK path: " + AppDir + "\\", "Bundled Jre not found"};
}

const std::vector<std::string> NothingInstalled = {"Search installed runtimes...", "No installed runtime fits"};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(RuntimeSearch, BundledRuntimeWinsInBothModesWithoutAnyCheck) {
    for (bool jdkOnly : {false, true}) {
        FakeSystem system;
        system.files.insert(AppDir + "\\jre\\bin\\javaw.exe");
        system.environment["JAVA_HOME"] = "C:\\jdk";
        system.runtime("C:\\jdk");
        SearchAnswer answer = findJavaRuntime(request("99", jdkOnly, "jre\\bin\\javaw.exe"), system);
        EXPECT_EQ(answer.executable, AppDir + "\\jre\\bin\\javaw.exe");
        EXPECT_EQ(answer.home, AppDir + "\\jre"); // the folder above bin, not beside the launcher
        EXPECT_EQ(answer.trace, (std::vector<std::string>{
                                    jdkOnly ? "Search for Jdk only..." : "Search for Jre...",
                                    "Try bundled JRE or JDK path: " + AppDir + "\\jre\\bin\\javaw.exe",
                                    "Bundled Jre or jdk found"}));
        EXPECT_TRUE(system.probedHomes.empty());
    }
}

TEST(RuntimeSearch, WithoutBundledSettingTheLauncherFolderIsNoCandidate) {
    FakeSystem system;
    system.files.insert(AppDir + "\\");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "javaw.exe");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"Jre key not found in registry", "JAVA_HOME not found",
                                                NothingInstalled[0], NothingInstalled[1], "Try current dir."}));
}

TEST(RuntimeSearch, CurrentVersionIsProbedAndChosenWhenItsExecutableExists) {
    FakeSystem system;
    system.values[{RegistryView::Bits64, Jre}]["CurrentVersion"] = "1.8";
    system.registered(Jre, "1.8", "C:\\jre8");
    system.runtime("C:\\jre8");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "C:\\jre8\\bin\\javaw.exe");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"probe C:\\jre8", "Info = ", "1.8.0_391", "Jre key found in registry"}));
}

TEST(RuntimeSearch, CurrentVersionTooOldOrWithoutJavawFallsThroughToTheEnumeration) {
    FakeSystem system;
    system.values[{RegistryView::Bits64, Jre}]["CurrentVersion"] = "1.4";
    system.registered(Jre, "1.4", "C:\\jre4");
    system.runtime("C:\\jre4", "1.4.2_19");
    system.registered(Jre, "1.6", "C:\\jre6");
    system.files.insert("C:\\jre6\\bin\\java.exe"); // no javaw.exe
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "javaw.exe");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"probe C:\\jre4", "Info = ", "1.4.2_19", "1.6", "C:\\jre6\\bin\\javaw.exe",
                                                "Jre key not found in registry", "JAVA_HOME not found",
                                                NothingInstalled[0], NothingInstalled[1], "Try current dir."}));
}

TEST(RuntimeSearch, EnumerationTakesTheLastQualifyingSubkeyInRegistryOrder) {
    FakeSystem system;
    for (const char* version : {"1.4", "1.5", "1.5.0_06", "1.4.2_08"}) {
        system.registered(Jre, version, std::string("C:\\jre-") + version);
        system.runtime(std::string("C:\\jre-") + version);
    }
    system.registered(Jre, "1.6", "C:\\jre-empty"); // qualifies, but holds no executable
    system.registered(Jre, "1.7", "");              // no JavaHome: never the drive root
    system.files.insert("\\bin\\javaw.exe");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "C:\\jre-1.5.0_06\\bin\\javaw.exe");
    EXPECT_EQ(answer.home, "C:\\jre-1.5.0_06");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"1.5", "found", "C:\\jre-1.5\\bin\\javaw.exe", "1.5.0_06", "found",
                                                "C:\\jre-1.5.0_06\\bin\\javaw.exe", "1.6",
                                                "C:\\jre-empty\\bin\\javaw.exe", "1.7", "Jre key found in registry"}));
    EXPECT_TRUE(system.probedHomes.empty());
}

TEST(RuntimeSearch, RegisteredJdkFollowsTheRuntimesAndIsAnnouncedTwice) {
    FakeSystem system;
    system.registered(Jdk, "1.6.0_45", "C:\\jdk6");
    system.runtime("C:\\jdk6");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "C:\\jdk6\\bin\\javaw.exe");
    EXPECT_EQ(answer.home, "C:\\jdk6");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"1.6.0_45", "found", "C:\\jdk6\\bin\\javaw.exe",
                                                "Jre key found in registry", "Jre key found in registry"}));
}

TEST(RuntimeSearch, JdkOnlyConsultsTheDevelopmentKitsAndNothingElse) {
    FakeSystem system;
    system.registered(Jre, "1.8", "C:\\jre8");
    system.runtime("C:\\jre8");
    system.environment["JAVA_HOME"] = "C:\\jre8";
    system.files.insert("javaw.exe");
    std::vector<std::string> start = {"Search for Jdk only...", "Try bundled JRE or JDK path: " + AppDir + "\\",
                                      "Search for Jdk only..."};
    SearchAnswer none = findJavaRuntime(request("1.5", true), system);
    EXPECT_EQ(none.executable, "");
    EXPECT_EQ(none.trace, concat(start, NothingInstalled));

    system.registered(Jdk, "1.8.0_391", "C:\\jdk8");
    system.runtime("C:\\jdk8");
    SearchAnswer found = findJavaRuntime(request("1.5", true), system);
    EXPECT_EQ(found.executable, "C:\\jdk8\\bin\\javaw.exe");
    EXPECT_EQ(found.home, "C:\\jdk8");
    EXPECT_EQ(found.trace, concat(start, {"1.8.0_391", "found", "C:\\jdk8\\bin\\javaw.exe", "Jre key found in registry"}));
    EXPECT_TRUE(system.probedHomes.empty());
}

TEST(RuntimeSearch, JavaHomeIsProbedAndEitherChosenOrRefusedWithoutFallback) {
    std::vector<std::string> notInRegistry = concat(jreStart(), {"Jre key not found in registry"});
    FakeSystem system;
    system.environment["JAVA_HOME"] = "C:\\Program Files\\Java\\jdk-17";
    system.runtime("C:\\Program Files\\Java\\jdk-17", "17.0.15");
    system.files.insert("javaw.exe");

    SearchAnswer found = findJavaRuntime(request("11"), system);
    EXPECT_EQ(found.executable, "C:\\Program Files\\Java\\jdk-17\\bin\\javaw.exe");
    EXPECT_EQ(found.trace, concat(notInRegistry, {"probe C:\\Program Files\\Java\\jdk-17", "Info = ", "17.0.15",
                                                  "JAVA_HOME found"}));

    SearchAnswer tooOld = findJavaRuntime(request("18"), system);
    EXPECT_EQ(tooOld.executable, "");
    EXPECT_EQ(tooOld.trace, concat(notInRegistry, {"probe C:\\Program Files\\Java\\jdk-17", "Info = ", "17.0.15",
                                                   "Incorrect version", NothingInstalled[0], NothingInstalled[1]}));

    system.environment["JAVA_HOME"] = "C:\\nothing";
    SearchAnswer missing = findJavaRuntime(request("11"), system);
    EXPECT_EQ(missing.executable, "javaw.exe");
    EXPECT_EQ(missing.trace, concat(notInRegistry, {"JAVA_HOME not found", NothingInstalled[0], NothingInstalled[1],
                                                    "Try current dir."}));
}

TEST(RuntimeSearch, BothRegistryViewsAreReadAndAKeySeenInBothCountsOnce) {
    FakeSystem system;
    system.registered(Jre, "1.6", "C:\\jre6", RegistryView::Bits64);
    system.runtime("C:\\jre6");
    system.registered(Jre, "1.8", "C:\\jre8-32", RegistryView::Bits32);
    system.registered(Jre, "1.6", "C:\\jre6", RegistryView::Bits32); // a 32-bit system shows one registry twice
    system.runtime("C:\\jre8-32");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "C:\\jre8-32\\bin\\javaw.exe");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"1.6", "found", "C:\\jre6\\bin\\javaw.exe", "1.8", "found",
                                                "C:\\jre8-32\\bin\\javaw.exe", "Jre key found in registry"}));

    FakeSystem current;
    current.values[{RegistryView::Bits32, Jre}]["CurrentVersion"] = "1.8";
    current.registered(Jre, "1.8", "C:\\jre8", RegistryView::Bits32);
    current.runtime("C:\\jre8");
    EXPECT_EQ(findJavaRuntime(request(), current).trace,
              concat(jreStart(), {"probe C:\\jre8", "Info = ", "1.8.0_391", "Jre key found in registry"}));
}

namespace {

// One runtime of every kind of today's installs, each with its release file.
FakeSystem machineWithInstalledRuntimes() {
    FakeSystem system;
    auto install = [&](const std::string& home, const std::string& version) {
        system.runtime(home, "probed-" + version);
        system.smallFiles[home + "\\release"] = "IMPLEMENTOR=\"X\"\r\nJAVA_VERSION=\"" + version + "\"\r\nOS_NAME=\"Windows\"\r\n";
    };
    install("C:\\Program Files\\Java\\jdk-17", "17.0.9");
    system.registered("SOFTWARE\\JavaSoft\\JDK", "17", "C:\\Program Files\\Java\\jdk-17", RegistryView::Bits32);
    install("C:\\Program Files\\Eclipse Adoptium\\jdk-21.0.5.11-hotspot", "21.0.5");
    system.subkeys[{RegistryView::Bits64, "SOFTWARE\\Eclipse Adoptium\\JDK"}] = {"21.0.5.11"};
    system.subkeys[{RegistryView::Bits64, "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11"}] = {"hotspot"};
    system.values[{RegistryView::Bits64, "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI"}]["Path"] =
        "C:\\Program Files\\Eclipse Adoptium\\jdk-21.0.5.11-hotspot\\";
    install("C:\\Program Files\\Zulu\\zulu-11", "11.0.25");
    system.subkeys[{RegistryView::Bits64, "SOFTWARE\\Azul Systems\\Zulu"}] = {"zulu-11"};
    system.values[{RegistryView::Bits64, "SOFTWARE\\Azul Systems\\Zulu\\zulu-11"}]["InstallationPath"] =
        "C:\\Program Files\\Zulu\\zulu-11\\";
    install("D:\\tools\\jdk-22", "22.0.2");
    system.environment["PATH"] = "C:\\Windows\\system32;;  \"D:\\tools\\jdk-22\\bin\" ;C:\\Program Files\\Zulu\\zulu-11\\bin";
    install("C:\\Program Files\\Microsoft\\jdk-11.0.25.9-hotspot", "11.0.25");
    system.environment["ProgramFiles"] = "C:\\Program Files";
    system.environment["ProgramW6432"] = "C:\\Program Files\\";
    system.folders["C:\\Program Files"] = {"Common Files", "microsoft", "Java"};
    system.folders["C:\\Program Files\\Microsoft"] = {"jdk-11.0.25.9-hotspot", "Edge"};
    system.folders["C:\\Program Files\\Java"] = {"jdk-17", "empty"};
    return system;
}

const std::vector<std::string> InstalledTrace = {
    "Search installed runtimes...",
    "Installed runtime C:\\Program Files\\Eclipse Adoptium\\jdk-21.0.5.11-hotspot from "
    "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI (64-bit registry): version 21.0.5",
    "Installed runtime C:\\Program Files\\Zulu\\zulu-11 from SOFTWARE\\Azul Systems\\Zulu\\zulu-11 (64-bit registry): "
    "version 11.0.25",
    "Installed runtime C:\\Program Files\\Java\\jdk-17 from SOFTWARE\\JavaSoft\\JDK\\17 (32-bit registry): version 17.0.9",
    "Installed runtime D:\\tools\\jdk-22 from PATH: version 22.0.2",
    "Installed runtime C:\\Program Files\\Microsoft\\jdk-11.0.25.9-hotspot from install folder: version 11.0.25",
};

} // namespace

TEST(RuntimeSearch, InstalledRuntimesOfEveryKindAreFoundOnceAndTheHighestWins) {
    FakeSystem system = machineWithInstalledRuntimes();
    SearchAnswer answer = findJavaRuntime(request("11"), system);
    EXPECT_EQ(answer.executable, "D:\\tools\\jdk-22\\bin\\javaw.exe");
    EXPECT_EQ(answer.home, "D:\\tools\\jdk-22");
    EXPECT_EQ(answer.trace, concat(concat(jreStart(), {"Jre key not found in registry", "JAVA_HOME not found"}),
                                   concat(InstalledTrace, {"Installed runtime chosen: D:\\tools\\jdk-22"})));
    EXPECT_TRUE(system.probedHomes.empty()); // every one has a release file
}

TEST(RuntimeSearch, AMaximumVersionLimitsEveryStage) {
    FakeSystem system = machineWithInstalledRuntimes();
    SearchRequest upTo17 = request("11");
    upTo17.maximumVersion = "17";
    SearchAnswer answer = findJavaRuntime(upTo17, system);
    EXPECT_EQ(answer.home, "C:\\Program Files\\Java\\jdk-17");
    EXPECT_EQ(answer.trace[6], InstalledTrace[1] + ", does not fit");

    system.registered(Jre, "1.8.0_392", "C:\\jre8");
    system.registered(Jre, "9.0.4", "C:\\jre9");
    system.runtime("C:\\jre8");
    system.runtime("C:\\jre9");
    SearchRequest upTo18 = request("1.5");
    upTo18.maximumVersion = "1.8";
    SearchAnswer enumerated = findJavaRuntime(upTo18, system);
    EXPECT_EQ(enumerated.executable, "C:\\jre8\\bin\\javaw.exe");
    EXPECT_EQ(enumerated.trace, concat(jreStart(), {"1.8.0_392", "found", "C:\\jre8\\bin\\javaw.exe",
                                                    "Jre key found in registry"}));

    FakeSystem javaHome;
    javaHome.environment["JAVA_HOME"] = "C:\\jdk-21";
    javaHome.runtime("C:\\jdk-21", "21.0.5");
    EXPECT_EQ(findJavaRuntime(upTo17, javaHome).trace,
              concat(jreStart(), {"Jre key not found in registry", "probe C:\\jdk-21", "Info = ", "21.0.5",
                                  "Incorrect version", NothingInstalled[0], NothingInstalled[1]}));
}

TEST(RuntimeSearch, JdkOnlyTakesOnlyInstalledHomesWithACompiler) {
    FakeSystem system = machineWithInstalledRuntimes();
    system.files.insert("C:\\Program Files\\Zulu\\zulu-11\\bin\\javac.exe");
    SearchAnswer answer = findJavaRuntime(request("11", true), system);
    EXPECT_EQ(answer.home, "C:\\Program Files\\Zulu\\zulu-11");
    EXPECT_EQ(answer.trace[4], "Installed runtime C:\\Program Files\\Eclipse Adoptium\\jdk-21.0.5.11-hotspot from "
                               "SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI (64-bit registry): no javac.exe");
    EXPECT_EQ(answer.trace.back(), "Installed runtime chosen: C:\\Program Files\\Zulu\\zulu-11");
}

TEST(RuntimeSearch, AMissingOrMalformedReleaseFileMeansAProbe) {
    FakeSystem system;
    system.environment["PATH"] = "C:\\a\\bin;C:\\b\\bin;C:\\c\\bin\\";
    system.runtime("C:\\a", "1.8.0_391");
    system.runtime("C:\\b", "17.0.15");
    system.smallFiles["C:\\b\\release"] = "JAVA_VERSION=17.0.15\n"; // no quotes
    system.runtime("C:\\c", "");                                     // answers nothing
    SearchAnswer answer = findJavaRuntime(request("1.8"), system);
    EXPECT_EQ(system.probedHomes, (std::vector<std::string>{"C:\\a", "C:\\b", "C:\\c"}));
    EXPECT_EQ(answer.home, "C:\\b");
    EXPECT_EQ(std::vector<std::string>(answer.trace.begin() + 5, answer.trace.end()),
              (std::vector<std::string>{"Search installed runtimes...", "probe C:\\a", "Info = ", "1.8.0_391",
                                        "Installed runtime C:\\a from PATH: version 1.8.0_391 (probed)", "probe C:\\b",
                                        "Info = ", "17.0.15", "Installed runtime C:\\b from PATH: version 17.0.15 (probed)",
                                        "probe C:\\c", "Info = ", "", "Installed runtime C:\\c from PATH: no version, does not fit",
                                        "Installed runtime chosen: C:\\b"}));
}

TEST(RuntimeSearch, BundledHomeIsTheFolderAboveBin) {
    EXPECT_EQ(homeOfExecutable("C:\\App\\jre\\bin\\javaw.exe"), "C:\\App\\jre");
    EXPECT_EQ(homeOfExecutable("C:\\App\\..\\runtime\\bin\\java.exe"), "C:\\App\\..\\runtime");
}

namespace {

SearchRequest wanting(const std::string& minimum, const std::string& maximum = "", bool jdkOnly = false) {
    return SearchRequest{minimum, maximum, jdkOnly, "javaw.exe", AppDir, ""};
}

std::vector<std::string> tail(const std::vector<std::string>& lines, std::size_t from) {
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end());
}

} // namespace

TEST(ExecutableMachine, ReadsTheMachineFieldOnlyWhereTheHeaderIsWhole) {
    EXPECT_EQ(machineOfExecutable(executableHead(Machine::Arm64)), Machine::Arm64);
    EXPECT_EQ(machineOfExecutable(executableHead(Machine::X86)), Machine::X86);
    std::string head = executableHead(Machine::X64);
    EXPECT_EQ(machineOfExecutable(head), Machine::X64);
    EXPECT_EQ(machineOfExecutable(head.substr(0, 0x85)), Machine::Unknown); // machine field cut in half
    EXPECT_EQ(machineOfExecutable(head.substr(0, 0x30)), Machine::Unknown);
    EXPECT_EQ(machineOfExecutable(""), Machine::Unknown);
    std::string farAway = head;
    farAway.replace(0x3C, 4, std::string("\xFE\xFF\xFF\xFF", 4)); // an offset that would wrap
    EXPECT_EQ(machineOfExecutable(farAway), Machine::Unknown);
    std::string beyondRead = head + std::string(ExecutableHeadBytes, '\0');
    beyondRead.replace(0x3C, 4, std::string("\x00\x10\x00\x00", 4)); // at 4096: past what is read
    beyondRead.replace(ExecutableHeadBytes, 6, std::string("PE\0\0\x64\x86", 6));
    EXPECT_EQ(machineOfExecutable(beyondRead), Machine::Unknown);
    std::string notPe = head;
    notPe[0x81] = 'X';
    EXPECT_EQ(machineOfExecutable(notPe), Machine::Unknown);
    EXPECT_EQ(machineOfExecutable("ZM" + head.substr(2)), Machine::Unknown);
}

// The written stage over the older keys takes the highest version, not the last subkey: text
// order puts 1.8.0_391 before 1.8.0_65, and the 32-bit view is read after the 64-bit one.
TEST(RuntimeSearch, WrittenRegistryStageTakesTheHighestVersionThenThePcsArchitecture) {
    FakeSystem system;
    system.registered(Jre, "1.8.0_391", "C:\\jre391");
    system.registered(Jre, "1.8.0_65", "C:\\jre65");
    system.runtime("C:\\jre391");
    system.runtime("C:\\jre65");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "C:\\jre391\\bin\\javaw.exe");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"1.8.0_391", "found", "C:\\jre391\\bin\\javaw.exe", "1.8.0_65", "found",
                                                "C:\\jre65\\bin\\javaw.exe", "Jre key found in registry"}));

    FakeSystem views;
    views.registered(Jre, "1.8.0_391", "C:\\Program Files\\Java\\jre", RegistryView::Bits64);
    views.registered(Jre, "1.8.0_391", "C:\\Program Files (x86)\\Java\\jre", RegistryView::Bits32);
    views.runtime("C:\\Program Files\\Java\\jre");
    views.runtime("C:\\Program Files (x86)\\Java\\jre");
    views.executables["C:\\Program Files\\Java\\jre\\bin\\javaw.exe"] = Machine::X64;
    views.executables["C:\\Program Files (x86)\\Java\\jre\\bin\\javaw.exe"] = Machine::X86;
    EXPECT_EQ(findJavaRuntime(request(), views).home, "C:\\Program Files\\Java\\jre");
    // The architecture decides, not the order: here the 64-bit view names the 32-bit runtime.
    views.executables["C:\\Program Files\\Java\\jre\\bin\\javaw.exe"] = Machine::X86;
    views.executables["C:\\Program Files (x86)\\Java\\jre\\bin\\javaw.exe"] = Machine::X64;
    EXPECT_EQ(findJavaRuntime(request(), views).home, "C:\\Program Files (x86)\\Java\\jre");
    views.pc = Machine::X86;
    EXPECT_EQ(findJavaRuntime(request(), views).home, "C:\\Program Files\\Java\\jre");
}

TEST(RuntimeSearch, AnArm64PcPrefersArm64ThenX64RuntimesOfTheSameVersion) {
    FakeSystem system;
    system.environment["PATH"] = "C:\\x86\\bin;C:\\x64\\bin;C:\\arm64\\bin;C:\\older-arm64\\bin";
    for (const auto& [name, machine] : {std::pair{"x86", Machine::X86}, std::pair{"x64", Machine::X64},
                                        std::pair{"arm64", Machine::Arm64}, std::pair{"older-arm64", Machine::Arm64}}) {
        std::string home = std::string("C:\\") + name;
        system.runtime(home, "21.0.5");
        system.executables[home + "\\bin\\javaw.exe"] = machine;
    }
    system.reportedVersions["C:\\older-arm64"] = "21.0.4"; // a higher version beats any architecture
    system.pc = Machine::Arm64;
    system.userEnabled = std::vector<Machine>{Machine::X86, Machine::X64, Machine::Arm64}; // Windows 11
    EXPECT_EQ(findJavaRuntime(request("17"), system).home, "C:\\arm64");
    system.executables.erase("C:\\arm64\\bin\\javaw.exe"); // unreadable: ranks after every known one
    EXPECT_EQ(findJavaRuntime(request("17"), system).home, "C:\\x64");
    system.pc = Machine::X64;
    system.executables["C:\\arm64\\bin\\javaw.exe"] = Machine::Arm64;
    EXPECT_EQ(findJavaRuntime(request("17"), system).home, "C:\\x64");
    // A higher version the PC cannot run is left out, not started to fail.
    system.reportedVersions["C:\\older-arm64"] = "21.0.6";
    SearchAnswer answer = findJavaRuntime(request("17"), system);
    EXPECT_EQ(answer.home, "C:\\x64");
    EXPECT_NE(std::find(answer.trace.begin(), answer.trace.end(),
                        "Left out C:\\older-arm64\\bin\\javaw.exe: an ARM64 program, which this PC cannot run"),
              answer.trace.end());
}

TEST(RuntimeSearch, PerUserInstallsAreFoundWhereverTheMachinesKeysAreRead) {
    FakeSystem system;
    system.runtime("C:\\Users\\ann\\AppData\\Local\\Programs\\Eclipse Adoptium\\jdk-21", "21.0.5");
    system.registeredAt(true, RegistryView::Bits64, "SOFTWARE\\Eclipse Adoptium\\JDK", "21.0.5.11", "hotspot\\MSI",
                        "Path", "C:\\Users\\ann\\AppData\\Local\\Programs\\Eclipse Adoptium\\jdk-21\\");
    SearchAnswer installed = findJavaRuntime(request("11"), system);
    EXPECT_EQ(installed.home, "C:\\Users\\ann\\AppData\\Local\\Programs\\Eclipse Adoptium\\jdk-21");
    EXPECT_EQ(installed.trace[9], "Installed runtime C:\\Users\\ann\\AppData\\Local\\Programs\\Eclipse Adoptium\\jdk-21 "
                                  "from HKEY_CURRENT_USER\\SOFTWARE\\Eclipse Adoptium\\JDK\\21.0.5.11\\hotspot\\MSI "
                                  "(64-bit registry): version 21.0.5 (probed)");

    FakeSystem written;
    written.userValues[{RegistryView::Bits64, Jre}]["CurrentVersion"] = "1.8";
    written.registeredAt(true, RegistryView::Bits64, Jre, "1.8", "", "JavaHome", "C:\\Users\\ann\\jre8");
    written.runtime("C:\\Users\\ann\\jre8");
    EXPECT_EQ(findJavaRuntime(request(), written).trace,
              concat(jreStart(), {"probe C:\\Users\\ann\\jre8", "Info = ", "1.8.0_391", "Jre key found in registry"}));
    written.userValues[{RegistryView::Bits64, Jre}].erase("CurrentVersion");
    EXPECT_EQ(findJavaRuntime(request(), written).trace,
              concat(jreStart(), {"1.8", "found", "C:\\Users\\ann\\jre8\\bin\\javaw.exe", "Jre key found in registry"}));
}

TEST(RuntimeSearch, VendorsThatWriteOnlyTheirOwnKeysAreFound) {
    struct Vendor {
        std::string key, version, below, value;
    };
    for (const Vendor& vendor : {
             Vendor{"SOFTWARE\\Amazon\\Amazon Corretto", "21.0.5.11.1", "MSI", "InstallDir"},
             Vendor{"SOFTWARE\\BellSoft\\Liberica", "21.0.5+11", "", "InstallationPath"},
             Vendor{"SOFTWARE\\Semeru\\JDK", "21.0.5.11", "openj9\\MSI", "Path"},
             Vendor{"SOFTWARE\\Semeru\\JRE", "17.0.13.11", "openj9\\MSI", "Path"},
             Vendor{"SOFTWARE\\SapMachine\\JDK", "21.0.5", "", "JavaHome"},
             Vendor{"SOFTWARE\\SapMachine\\JRE", "21.0.5", "", "JavaHome"},
         }) {
        FakeSystem system;
        system.runtime("D:\\vendor\\jdk", "21.0.5");
        system.registeredAt(false, RegistryView::Bits64, vendor.key, vendor.version, vendor.below, vendor.value,
                            "D:\\vendor\\jdk\\");
        SearchAnswer answer = findJavaRuntime(request("17"), system);
        EXPECT_EQ(answer.executable, "D:\\vendor\\jdk\\bin\\javaw.exe") << vendor.key;
        std::string key = vendor.key + "\\" + vendor.version + (vendor.below.empty() ? "" : "\\" + vendor.below);
        EXPECT_EQ(answer.trace[9], "Installed runtime D:\\vendor\\jdk from " + key +
                                       " (64-bit registry): version 21.0.5 (probed)");
    }
}

TEST(RuntimeSearch, PackageManagerIdeAndArmProgramFoldersAreSearched) {
    FakeSystem system;
    system.environment["USERPROFILE"] = "C:\\Users\\ann";
    system.environment["ProgramData"] = "C:\\ProgramData";
    system.environment["ProgramFiles(Arm)"] = "C:\\Program Files (Arm)";
    system.folders["C:\\Users\\ann\\scoop\\apps"] = {"git", "temurin21-jdk"};
    system.folders["C:\\ProgramData\\scoop\\apps"] = {"zulu17-jdk"};
    system.folders["C:\\Users\\ann\\.jdks"] = {"corretto-22.0.2", "openjdk-23"};
    system.folders["C:\\Program Files (Arm)"] = {"Microsoft"};
    system.folders["C:\\Program Files (Arm)\\Microsoft"] = {"jdk-21.0.5.11-hotspot"};
    system.runtime("C:\\Users\\ann\\scoop\\apps\\temurin21-jdk\\current", "21.0.5");
    system.runtime("C:\\ProgramData\\scoop\\apps\\zulu17-jdk\\current", "17.0.13");
    system.runtime("C:\\Users\\ann\\.jdks\\corretto-22.0.2", "22.0.2");
    system.runtime("C:\\Program Files (Arm)\\Microsoft\\jdk-21.0.5.11-hotspot", "21.0.5");
    SearchAnswer answer = findJavaRuntime(request("17"), system);
    EXPECT_EQ(tail(answer.trace, 5), (std::vector<std::string>{
                                         "Search installed runtimes...",
                                         "probe C:\\Program Files (Arm)\\Microsoft\\jdk-21.0.5.11-hotspot", "Info = ",
                                         "21.0.5",
                                         "Installed runtime C:\\Program Files (Arm)\\Microsoft\\jdk-21.0.5.11-hotspot "
                                         "from install folder: version 21.0.5 (probed)",
                                         "probe C:\\Users\\ann\\scoop\\apps\\temurin21-jdk\\current", "Info = ", "21.0.5",
                                         "Installed runtime C:\\Users\\ann\\scoop\\apps\\temurin21-jdk\\current from "
                                         "scoop: version 21.0.5 (probed)",
                                         "probe C:\\ProgramData\\scoop\\apps\\zulu17-jdk\\current", "Info = ", "17.0.13",
                                         "Installed runtime C:\\ProgramData\\scoop\\apps\\zulu17-jdk\\current from "
                                         "scoop (global): version 17.0.13 (probed)",
                                         "probe C:\\Users\\ann\\.jdks\\corretto-22.0.2", "Info = ", "22.0.2",
                                         "Installed runtime C:\\Users\\ann\\.jdks\\corretto-22.0.2 from IDE downloads: "
                                         "version 22.0.2 (probed)",
                                         "Installed runtime chosen: C:\\Users\\ann\\.jdks\\corretto-22.0.2"}));
    // SCOOP names a scoop of its own; the same runtime reached twice counts once.
    system.environment["SCOOP"] = "C:\\Users\\ann\\scoop\\";
    SearchAnswer again = findJavaRuntime(request("17"), system);
    EXPECT_EQ(std::count_if(again.trace.begin(), again.trace.end(),
                            [](const std::string& line) { return line.find("temurin21-jdk\\current from") != std::string::npos; }),
              1);
}

// Oracle's installer puts a folder of links on PATH (javapath); JAVA_HOME sometimes names it too.
TEST(RuntimeSearch, ALinkOnPathOrInJavaHomeLeadsToTheRealHome) {
    const std::string javapath = "C:\\Program Files\\Common Files\\Oracle\\Java\\javapath";
    const std::string real = "C:\\Program Files\\Java\\jdk-21";
    FakeSystem system;
    system.runtime(real, "21.0.5");
    system.smallFiles[real + "\\release"] = "JAVA_VERSION=\"21.0.5\"\n";
    system.links[javapath + "\\javaw.exe"] = real + "\\bin\\javaw.exe";
    system.links[javapath + "\\java.exe"] = real + "\\bin\\java.exe";
    system.environment["PATH"] = "C:\\Windows;" + javapath;
    SearchAnswer onPath = findJavaRuntime(request("17"), system);
    EXPECT_EQ(onPath.executable, real + "\\bin\\javaw.exe");
    EXPECT_EQ(onPath.home, real);
    EXPECT_EQ(onPath.trace[6], "Installed runtime " + real + " from PATH: version 21.0.5");

    system.environment["JAVA_HOME"] = javapath;
    SearchAnswer javaHome = findJavaRuntime(request("17"), system);
    EXPECT_EQ(javaHome.executable, real + "\\bin\\javaw.exe");
    EXPECT_EQ(javaHome.home, real);
    EXPECT_EQ(tail(javaHome.trace, 3),
              (std::vector<std::string>{"Jre key not found in registry", "probe " + real, "Info = ", "21.0.5",
                                        "JAVA_HOME found"}));

    // JAVA_HOME set to the bin folder itself: the home is the folder above it.
    system.environment["JAVA_HOME"] = real + "\\bin\\";
    EXPECT_EQ(findJavaRuntime(request("17"), system).home, real);

    // A PATH executable that is no link and lies outside any bin: its home is unknown, so it is
    // probed, and started where it is.
    FakeSystem shim;
    shim.files.insert("C:\\tools\\shims\\javaw.exe");
    shim.files.insert("C:\\tools\\shims\\java.exe");
    shim.reportedVersions["C:\\tools\\shims"] = "17.0.13";
    shim.environment["PATH"] = "C:\\tools\\shims";
    SearchAnswer homeless = findJavaRuntime(request("17"), shim);
    EXPECT_EQ(homeless.executable, "C:\\tools\\shims\\javaw.exe");
    EXPECT_EQ(homeless.home, "");
    EXPECT_EQ(tail(homeless.trace, 6),
              (std::vector<std::string>{"probe C:\\tools\\shims", "Info = ", "17.0.13",
                                        "Installed runtime C:\\tools\\shims from PATH: version 17.0.13 (probed)",
                                        "Installed runtime chosen: C:\\tools\\shims"}));
    // A development kit is needed with its home (its jars): an unknown one does not serve.
    shim.files.insert("C:\\tools\\shims\\javac.exe");
    EXPECT_EQ(tail(findJavaRuntime(wanting("17", "", true), shim).trace, 3),
              (std::vector<std::string>{"Search installed runtimes...",
                                        "Installed runtime C:\\tools\\shims from PATH: home unknown",
                                        "No installed runtime fits"}));
}

// Old installers copied java.exe and javaw.exe into System32; they only start the registered
// runtime. An entry elsewhere whose name merely begins like the Windows folder still counts.
TEST(RuntimeSearch, PathEntriesInTheWindowsFolderAreNoCandidates) {
    FakeSystem system;
    system.environment["SystemRoot"] = "C:\\WINDOWS";
    system.files.insert("C:\\Windows\\System32\\javaw.exe");
    system.files.insert("C:\\Windows\\System32\\java.exe");
    system.reportedVersions["C:\\Windows\\System32"] = "17.0.13";
    system.runtime("C:\\Windows-tools\\jdk-11", "11.0.25");
    system.smallFiles["C:\\Windows-tools\\jdk-11\\release"] = "JAVA_VERSION=\"11.0.25\"\n";
    system.environment["PATH"] = "C:\\Windows\\System32\\;C:\\Windows-tools\\jdk-11\\bin";
    SearchAnswer answer = findJavaRuntime(request("11"), system);
    EXPECT_EQ(answer.executable, "C:\\Windows-tools\\jdk-11\\bin\\javaw.exe");
    EXPECT_EQ(std::count_if(answer.trace.begin(), answer.trace.end(),
                            [](const std::string& line) { return line.find("System32") != std::string::npos; }),
              0);
    // Without SystemRoot nothing is left out.
    system.environment.erase("SystemRoot");
    EXPECT_EQ(findJavaRuntime(request("17"), system).executable, "C:\\Windows\\System32\\javaw.exe");
}

TEST(RuntimeSearch, VersionsAsJavaDevelopersWriteThem) {
    FakeSystem system;
    system.environment["JAVA_HOME"] = "C:\\jdk8";
    system.runtime("C:\\jdk8", "1.8.0_391");
    EXPECT_EQ(findJavaRuntime(wanting("8"), system).executable, "C:\\jdk8\\bin\\javaw.exe");
    EXPECT_EQ(findJavaRuntime(wanting("9"), system).executable, "");

    FakeSystem registered;
    registered.registered(Jre, "1.8", "C:\\jre8");
    registered.registered(Jre, "9.0.4", "C:\\jre9");
    registered.runtime("C:\\jre8");
    registered.runtime("C:\\jre9");
    EXPECT_EQ(findJavaRuntime(wanting("1.6", "8"), registered).executable, "C:\\jre8\\bin\\javaw.exe");
    EXPECT_EQ(findJavaRuntime(wanting("1.6", "9"), registered).executable, "C:\\jre9\\bin\\javaw.exe");
    EXPECT_EQ(findJavaRuntime(wanting("8", "1.8"), registered).executable, "C:\\jre8\\bin\\javaw.exe");
}

TEST(RuntimeSearch, JdkModeTakesAJavaHomeThatHoldsACompiler) {
    FakeSystem system;
    system.environment["JAVA_HOME"] = "C:\\jdk-17";
    system.runtime("C:\\jdk-17", "17.0.13");
    std::vector<std::string> start = {"Search for Jdk only...", "Try bundled JRE or JDK path: " + AppDir + "\\",
                                      "Search for Jdk only..."};
    // No compiler: not a development kit, and nothing is said about it.
    EXPECT_EQ(findJavaRuntime(wanting("11", "", true), system).trace, concat(start, NothingInstalled));
    system.files.insert("C:\\jdk-17\\bin\\javac.exe");
    SearchAnswer found = findJavaRuntime(wanting("11", "", true), system);
    EXPECT_EQ(found.executable, "C:\\jdk-17\\bin\\javaw.exe");
    EXPECT_EQ(found.home, "C:\\jdk-17");
    EXPECT_EQ(found.trace, concat(start, {"probe C:\\jdk-17", "Info = ", "17.0.13", "JAVA_HOME found"}));
    EXPECT_EQ(findJavaRuntime(wanting("21", "", true), system).trace,
              concat(start, {"probe C:\\jdk-17", "Info = ", "17.0.13", "Incorrect version", NothingInstalled[0],
                             NothingInstalled[1]}));
}

TEST(RuntimeSearch, TheCurrentRuntimeIsNotProbedWhenItsExecutableIsMissing) {
    FakeSystem system;
    system.values[{RegistryView::Bits64, Jre}]["CurrentVersion"] = "1.8";
    system.registered(Jre, "1.8", "C:\\removed");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_TRUE(system.probedHomes.empty());
    EXPECT_EQ(answer.trace[3], "1.8");
}

TEST(RuntimeSearch, EveryStageTellsTheVersionOfTheRuntimeItChose) {
    { // shipped: its release file only, never a probe; unknown without one
        FakeSystem system;
        system.files.insert(AppDir + "\\jre\\bin\\javaw.exe");
        EXPECT_EQ(findJavaRuntime(request("1.5", false, "jre\\bin\\javaw.exe"), system).version, "");
        system.smallFiles[AppDir + "\\jre\\release"] = "JAVA_VERSION=\"21.0.5\"\n";
        EXPECT_EQ(findJavaRuntime(request("1.5", false, "jre\\bin\\javaw.exe"), system).version, "21.0.5");
        EXPECT_TRUE(system.probedHomes.empty());
    }
    { // the registry's current runtime: its probe
        FakeSystem system;
        system.values[{RegistryView::Bits64, Jre}]["CurrentVersion"] = "1.8";
        system.registered(Jre, "1.8", "C:\\jre8");
        system.runtime("C:\\jre8", "1.8.0_391");
        EXPECT_EQ(findJavaRuntime(request(), system).version, "1.8.0_391");
    }
    { // the enumerated keys, of runtimes and of development kits: the key's name
        FakeSystem system;
        system.registered(Jre, "1.7", "C:\\jre7");
        system.registered(Jre, "1.8", "C:\\jre8");
        system.runtime("C:\\jre7");
        system.runtime("C:\\jre8");
        EXPECT_EQ(findJavaRuntime(request(), system).version, "1.8");
        FakeSystem kits;
        kits.registered(Jdk, "11.0.2", "C:\\jdk11");
        kits.runtime("C:\\jdk11");
        EXPECT_EQ(findJavaRuntime(request("1.5", true), kits).version, "11.0.2");
    }
    { // JAVA_HOME, in both modes: its probe
        FakeSystem system;
        system.environment["JAVA_HOME"] = "C:\\jdk-17";
        system.runtime("C:\\jdk-17", "17.0.15");
        EXPECT_EQ(findJavaRuntime(request("11"), system).version, "17.0.15");
        system.files.insert("C:\\jdk-17\\bin\\javac.exe");
        EXPECT_EQ(findJavaRuntime(request("11", true), system).version, "17.0.15");
    }
    { // installed: the chosen one's release file or probe; the working directory's: unknown
        FakeSystem system;
        system.environment["PATH"] = "C:\\a\\bin;C:\\b\\bin";
        system.runtime("C:\\a", "17.0.15");
        system.runtime("C:\\b", "22.0.1");
        system.smallFiles["C:\\b\\release"] = "JAVA_VERSION=\"22.0.1\"\n";
        EXPECT_EQ(findJavaRuntime(request("11"), system).version, "22.0.1");
        EXPECT_EQ(findJavaRuntime(request("23"), system).version, "");
    }
}

TEST(RuntimeSearch, WhatEachKindOfWindowsRunsAndWhatItLeavesOut) {
    using M = Machine;
    // Windows 10 on ARM emulates x86 only; Windows 11 on ARM says it runs x64 too.
    EXPECT_EQ(machinesRunOn(M::Arm64), (std::vector<M>{M::Arm64, M::X86}));
    EXPECT_EQ(machinesRunOn(M::Arm64, std::vector<M>{M::X86, M::X64, M::Arm64}), (std::vector<M>{M::Arm64, M::X64, M::X86}));
    EXPECT_EQ(machinesRunOn(M::X64), (std::vector<M>{M::X64, M::X86}));
    EXPECT_EQ(machinesRunOn(M::X64, std::vector<M>{M::X64}), (std::vector<M>{M::X64})); // no WOW64 (Server Core)
    EXPECT_EQ(machinesRunOn(M::X86), (std::vector<M>{M::X86}));
    EXPECT_TRUE(machinesRunOn(M::Unknown).empty());

    FakeSystem system;
    system.registered(Jre, "17.0.2", "C:\\jre17");
    system.registered(Jre, "21.0.1", "C:\\jre21");
    system.runtime("C:\\jre17");
    system.runtime("C:\\jre21");
    system.executables["C:\\jre17\\bin\\javaw.exe"] = M::X86;
    system.executables["C:\\jre21\\bin\\javaw.exe"] = M::X64;
    system.pc = M::X86; // 32-bit Windows: the x64 runtime is left out, and said so
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.home, "C:\\jre17");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"17.0.2", "found", "C:\\jre17\\bin\\javaw.exe", "21.0.1",
                                                "Left out C:\\jre21\\bin\\javaw.exe: an x64 program, which this PC cannot run",
                                                "C:\\jre21\\bin\\javaw.exe", "Jre key found in registry"}));
    system.pc = M::Arm64; // Windows 10 on ARM
    EXPECT_EQ(findJavaRuntime(request(), system).home, "C:\\jre17");
    system.userEnabled = std::vector<M>{M::X86, M::X64, M::Arm64}; // Windows 11 on ARM
    EXPECT_EQ(findJavaRuntime(request(), system).home, "C:\\jre21");
    // Only runtimes that could win are opened: 17 is never read once 21 is the best.
    system.pc = M::X64;
    system.executables.erase("C:\\jre17\\bin\\javaw.exe");
    system.values.clear();
    system.subkeys.clear();
    system.registered(Jre, "21.0.1", "C:\\jre21");
    system.registered(Jre, "17.0.2", "C:\\jre17");
    EXPECT_EQ(findJavaRuntime(request(), system).home, "C:\\jre21");
}

TEST(RuntimeSearch, OfSeveralBundledRuntimesThePcsOwnIsStarted) {
    const std::string arm = AppDir + "\\jre-arm64\\bin\\javaw.exe", x64 = AppDir + "\\jre-x64\\bin\\javaw.exe";
    FakeSystem system;
    system.files.insert(arm);
    system.files.insert(x64);
    system.executables[arm] = Machine::Arm64;
    system.executables[x64] = Machine::X64;
    system.smallFiles[AppDir + "\\jre-x64\\release"] = "JAVA_VERSION=\"21.0.5\"\n";
    SearchRequest both = request("1.5", false, "jre-arm64\\bin\\javaw.exe; jre-x64\\bin\\javaw.exe");
    SearchAnswer onX64 = findJavaRuntime(both, system);
    EXPECT_EQ(onX64.executable, x64);
    EXPECT_EQ(onX64.home, AppDir + "\\jre-x64");
    EXPECT_EQ(onX64.version, "21.0.5");
    EXPECT_EQ(onX64.machine, Machine::X64); // read once, by the ranking, and handed on
    EXPECT_EQ(onX64.trace, (std::vector<std::string>{"Search for Jre...", "Try bundled JRE or JDK path: " + arm,
                                                     "Try bundled JRE or JDK path: " + x64,
                                                     "Left out " + arm + ": an ARM64 program, which this PC cannot run",
                                                     "Bundled Jre or jdk found"}));
    system.pc = Machine::Arm64;
    EXPECT_EQ(findJavaRuntime(both, system).executable, arm);
    system.files.erase(arm); // of those that exist; Windows 10 on ARM cannot run x64, Windows 11 can
    EXPECT_EQ(findJavaRuntime(both, system).executable, "javaw.exe");
    system.userEnabled = std::vector<Machine>{Machine::X86, Machine::X64, Machine::Arm64};
    EXPECT_EQ(findJavaRuntime(both, system).executable, x64);
    // None this PC runs: the search goes on as without a shipped runtime.
    system.pc = Machine::X86;
    system.userEnabled.reset();
    SearchAnswer none = findJavaRuntime(both, system);
    EXPECT_EQ(none.executable, "javaw.exe");
    EXPECT_EQ(none.trace[3], "Left out " + x64 + ": an x64 program, which this PC cannot run");
    EXPECT_EQ(none.trace[4], "Bundled Jre not found");
    EXPECT_TRUE(system.probedHomes.empty());
}
