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
    std::vector<std::string> probedHomes;

    void runtime(const std::string& home, const std::string& version = "1.8.0_391") {
        files.insert(home + "\\bin\\java.exe");
        files.insert(home + "\\bin\\javaw.exe");
        reportedVersions[home] = version;
    }
    void registered(const std::string& key, const std::string& version, const std::string& home,
                    RegistryView view = RegistryView::Own) {
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
    ProbedVersion probeVersion(const std::string& home) override {
        probedHomes.push_back(home);
        std::string version = reportedVersions.count(home) ? reportedVersions.at(home) : "";
        return ProbedVersion{version, {"probe " + home, "Info = ", version}};
    }
};

SearchRequest request(const std::string& minimum = "1.5", bool jdkOnly = false, const std::string& bundled = "") {
    return SearchRequest{minimum, jdkOnly, "javaw.exe", AppDir, bundled};
}

std::vector<std::string> jreStart() {
    return {"Search for Jre...", "Try bundled JRE or JDK path: " + AppDir + "\\", "Bundled Jre not found"};
}

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
        EXPECT_EQ(answer.home, AppDir + "\\..\\jre");
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
                                                "Try current dir."}));
}

TEST(RuntimeSearch, CurrentVersionIsProbedAndChosenWhenItsExecutableExists) {
    FakeSystem system;
    system.values[{RegistryView::Own, Jre}]["CurrentVersion"] = "1.8";
    system.registered(Jre, "1.8", "C:\\jre8");
    system.runtime("C:\\jre8");
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "C:\\jre8\\bin\\javaw.exe");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"probe C:\\jre8", "Info = ", "1.8.0_391", "Jre key found in registry"}));
}

TEST(RuntimeSearch, CurrentVersionTooOldOrWithoutJavawFallsThroughToTheEnumeration) {
    FakeSystem system;
    system.values[{RegistryView::Own, Jre}]["CurrentVersion"] = "1.4";
    system.registered(Jre, "1.4", "C:\\jre4");
    system.runtime("C:\\jre4", "1.4.2_19");
    system.registered(Jre, "1.6", "C:\\jre6");
    system.files.insert("C:\\jre6\\bin\\java.exe"); // no javaw.exe
    SearchAnswer answer = findJavaRuntime(request(), system);
    EXPECT_EQ(answer.executable, "javaw.exe");
    EXPECT_EQ(answer.trace, concat(jreStart(), {"probe C:\\jre4", "Info = ", "1.4.2_19", "1.6", "C:\\jre6\\bin\\javaw.exe",
                                                "Jre key not found in registry", "JAVA_HOME not found",
                                                "Try current dir."}));
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
    EXPECT_EQ(none.trace, start);

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
                                                   "Incorrect version"}));

    system.environment["JAVA_HOME"] = "C:\\nothing";
    SearchAnswer missing = findJavaRuntime(request("11"), system);
    EXPECT_EQ(missing.executable, "javaw.exe");
    EXPECT_EQ(missing.trace, concat(notInRegistry, {"JAVA_HOME not found", "Try current dir."}));
}
