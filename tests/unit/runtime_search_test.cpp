#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "jvm/runtime_search.h"

namespace {

const std::string Jre = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
const std::string Jdk = "SOFTWARE\\JavaSoft\\Java Development Kit";
const std::string AppDir = "C:\\Apps\\Quill";

// A machine made of maps: files, registry values and subkeys per view, environment, and the
// version each home reports when probed.
class FakeSystem : public SearchSystem {
public:
    std::set<std::string> files;
    std::map<std::pair<RegistryView, std::string>, std::map<std::string, std::string>> values;
    std::map<std::pair<RegistryView, std::string>, std::vector<std::string>> subkeys;
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

    bool fileExists(const std::string& path) override { return files.count(path) > 0; }
    std::string registryString(RegistryView view, const std::string& key, const std::string& name) override {
        auto found = values.find({view, key});
        if (found == values.end() || !found->second.count(name)) return "";
        return found->second.at(name);
    }
    std::vector<std::string> registrySubkeys(RegistryView view, const std::string& key) override {
        auto found = subkeys.find({view, key});
        return found == subkeys.end() ? std::vector<std::string>{} : found->second;
    }
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
    ProbedVersion probeVersion(const std::string& home) override {
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
