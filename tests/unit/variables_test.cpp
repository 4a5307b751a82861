#include <gtest/gtest.h>

#include <map>

#include "launcher/variables.h"

namespace {

// An environment of fixed variables; every name it was asked for is kept.
using Values = std::map<std::string, std::string>;

struct FakeEnvironment {
    explicit FakeEnvironment(Values defined) : values(std::move(defined)) {}
    std::map<std::string, std::string> values;
    std::vector<std::string> asked;

    VariableLookup lookup() {
        return [this](const std::string& name) -> std::optional<std::string> {
            asked.push_back(name);
            auto found = values.find(name);
            if (found == values.end()) return std::nullopt;
            return found->second;
        };
    }
};

std::string expand(const std::string& text, FakeEnvironment& environment) {
    return expandVariables(text, environment.lookup());
}

} // namespace

TEST(Variables, DefinedNamesAreReplacedEverywhereInTheText) {
    FakeEnvironment environment(Values{{"APPDATA", "C:\\Users\\me\\AppData\\Roaming"}, {"X", "1"}});
    EXPECT_EQ(expand("-Dapp.data=%APPDATA%\\MyApp -Dx=%X%%X% %X%", environment),
              "-Dapp.data=C:\\Users\\me\\AppData\\Roaming\\MyApp -Dx=11 1");
    EXPECT_EQ(expand("%X%", environment), "1");
    EXPECT_EQ(expand("no variables at all", environment), "no variables at all");
}

TEST(Variables, UndefinedNamesStayAsWritten) {
    FakeEnvironment environment(Values{{"B", "b"}});
    EXPECT_EQ(expand("-Da=%MISSING% -Db=%B%", environment), "-Da=%MISSING% -Db=b");
    // The closing sign of an undefined name opens nothing: %B% after it is still found.
    EXPECT_EQ(expand("%MISSING%%B%", environment), "%MISSING%b");
    EXPECT_EQ(expand("50% of %B%", environment), "50% of %B%");
    EXPECT_EQ(environment.asked.back(), " of ");
}

TEST(Variables, DoublePercentGivesOnePercent) {
    FakeEnvironment environment(Values{{"B", "b"}});
    EXPECT_EQ(expand("%%B%%", environment), "%B%");
    EXPECT_EQ(expand("%%%%", environment), "%%");
    EXPECT_TRUE(environment.asked.empty());
    EXPECT_EQ(expand("-Dratio=50%% -Db=%B%", environment), "-Dratio=50% -Db=b");
}

TEST(Variables, UnterminatedPercentStaysAsItIs) {
    FakeEnvironment environment(Values{{"B", "b"}});
    EXPECT_EQ(expand("-Dx=%B", environment), "-Dx=%B");
    EXPECT_EQ(expand("%B% and 100%", environment), "b and 100%");
    EXPECT_EQ(expand("%", environment), "%");
    EXPECT_EQ(expand("%%%", environment), "%%");
}

TEST(Variables, EmptyValueIsDefinedAndReplacedByNothing) {
    FakeEnvironment environment(Values{{"EMPTY", ""}});
    EXPECT_EQ(expand("-Da=[%EMPTY%]", environment), "-Da=[]");
}

TEST(Variables, ValuesKeepEveryCharacterAndAreNotExpandedAgain) {
    FakeEnvironment environment(Values{{"HOME", "C:\\Users\\Łukasz Ö\\Приложение"}, {"P", "%HOME%"}, {"Ключ", "значение"}});
    EXPECT_EQ(expand("-Dh=\"%HOME%\\data\"", environment), "-Dh=\"C:\\Users\\Łukasz Ö\\Приложение\\data\"");
    EXPECT_EQ(expand("%P%", environment), "%HOME%");
    EXPECT_EQ(expand("-Dk=%Ключ%", environment), "-Dk=значение");
}

TEST(Variables, SubstitutionIsBoundedSoAHostileTextCannotGrowWithoutLimit) {
    FakeEnvironment environment(Values{{"BIG", std::string(MaxSubstitutedBytes / 2, 'x')}});
    std::string expanded = expand("%BIG%%BIG%%BIG%", environment);
    EXPECT_EQ(expanded, std::string(MaxSubstitutedBytes, 'x') + "%BIG%");
}

TEST(Variables, LauncherVariablesNameItsFolderPathAndName) {
    const std::string path = "C:\\Program Files\\Мой App\\MyApp.EXE";
    EXPECT_EQ(launcherVariable("LAUNCHER_DIR", path), std::optional<std::string>("C:\\Program Files\\Мой App"));
    EXPECT_EQ(launcherVariable("LAUNCHER_FILE", path), std::optional<std::string>(path));
    EXPECT_EQ(launcherVariable("LAUNCHER_NAME", path), std::optional<std::string>("MyApp"));
    // Names of the environment are matched in any letter case; so are the launcher's own.
    EXPECT_EQ(launcherVariable("launcher_dir", path), std::optional<std::string>("C:\\Program Files\\Мой App"));
    EXPECT_EQ(launcherVariable("Y:\\tool", "Y:\\tool"), std::nullopt);
    EXPECT_EQ(launcherVariable("LAUNCHER_NAME", "Y:\\tool.bin"), std::optional<std::string>("tool.bin"));
    EXPECT_EQ(launcherVariable("LAUNCHER_DIRX", path), std::nullopt);
    EXPECT_EQ(launcherVariable("LAUNCHER_DIR", "Y:\\app.exe"), std::optional<std::string>("Y:"));
}
