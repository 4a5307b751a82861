#include <gtest/gtest.h>

#include "settings_contract/setting_ids.h"
#include "configure/settings/settings_file.h"

TEST(SettingsFile, KeysFillTheirIdsAndValuesAreVerbatim) {
    Result<LauncherConfiguration> result = parseSettings(
        "# comment\n\njar=my app.jar\nvm_options=-Dname=\"A \\\"quoted\\\" value\" -Dpath=C:\\x\\y\nmin_version=1.8\n"
        "splash=0\nstay_alive=Yes\nworking_dir=..\\data\n");
    ASSERT_TRUE(result) << result.failure().what;
    const auto& strings = result.value().strings;
    EXPECT_EQ(strings.at(SettingJar), "my app.jar");
    EXPECT_EQ(strings.at(SettingVmOptions), "-Dname=\"A \\\"quoted\\\" value\" -Dpath=C:\\x\\y");
    EXPECT_EQ(strings.at(SettingMinimumVersion), "1.8");
    EXPECT_EQ(strings.count(SettingSplash), 0u); // a flag that is off is left out
    EXPECT_EQ(strings.at(SettingStayAlive), "on");
    EXPECT_EQ(strings.at(SettingWorkingDirectory), "..\\data");
    EXPECT_EQ(strings.size(), 5u);
}

TEST(SettingsFile, EmptyValueIsAbsentAndCrLfIsNotPartOfValues) {
    Result<LauncherConfiguration> result = parseSettings("\xEF\xBB\xBFjar=a.jar\r\nstay_alive=\r\nsplash_seconds=5\r\n");
    ASSERT_TRUE(result) << result.failure().what;
    EXPECT_EQ(result.value().strings.at(SettingJar), "a.jar");
    EXPECT_EQ(result.value().strings.at(SettingSplashSeconds), "5");
    EXPECT_EQ(result.value().strings.count(SettingStayAlive), 0u);
}

TEST(SettingsFile, LongValuesStayWhole) {
    std::string longValue(1000, 'v');
    Result<LauncherConfiguration> result = parseSettings("vm_options=" + longValue + "\n");
    ASSERT_TRUE(result);
    EXPECT_EQ(result.value().strings.at(SettingVmOptions), longValue);
}

TEST(SettingsFile, BadLinesAreRefusedNamingTheLine) {
    Result<LauncherConfiguration> unknown = parseSettings("jar=a.jar\n\nsplashh=on\n");
    EXPECT_FALSE(unknown);
    EXPECT_EQ(unknown.failure().what, "line 3: unknown key \"splashh\"");
    Result<LauncherConfiguration> noEquals = parseSettings("jar=a.jar\nstay_alive\n");
    EXPECT_FALSE(noEquals);
    EXPECT_EQ(noEquals.failure().what, "line 2: expected key=value, found \"stay_alive\"");
}

TEST(SettingsFile, ExampleConfigurationMatchesTheShippedExample) {
    const auto& strings = exampleConfiguration().strings;
    EXPECT_EQ(strings.at(SettingJar), "quillfen.jar");
    EXPECT_EQ(strings.at(SettingBundledJava), "jre\\bin\\javaw.exe");
    EXPECT_EQ(strings.at(SettingMinimumVersion), "1.5");
    EXPECT_EQ(strings.count(SettingSplash), 0u);
    EXPECT_EQ(strings.count(SettingJdkRequired), 0u);
    EXPECT_TRUE(strings.count(SettingStayAlive));
}

TEST(SettingsFile, CrOnlyAndMixedLineEndsReadAlike) {
    Result<LauncherConfiguration> result = parseSettings("# old Mac editor\rjar=a.jar\rstay_alive=on\r\nmin_version=11\n");
    ASSERT_TRUE(result) << result.failure().what;
    EXPECT_EQ(result.value().strings.at(SettingJar), "a.jar");
    EXPECT_EQ(result.value().strings.at(SettingStayAlive), "on");
    EXPECT_EQ(result.value().strings.at(SettingMinimumVersion), "11");
    Result<LauncherConfiguration> refused = parseSettings("jar=a.jar\r\rbad line\r");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.failure().what, "line 3: expected key=value, found \"bad line\"");
}

TEST(SettingsFile, ValuesThatDoNotFitTheir16BitLengthsAreRefused) {
    std::string fits(65535, 'v');
    EXPECT_TRUE(parseSettings("vm_options=" + fits + "\n"));
    Result<LauncherConfiguration> tooLong = parseSettings("jar=a.jar\nvm_options=" + fits + "v\n");
    ASSERT_FALSE(tooLong);
    EXPECT_EQ(tooLong.failure().what, "line 2: the value of vm_options is longer than 65535 characters");
    Result<LauncherConfiguration> longText = parseSettings("copyright=" + std::string(40000, 'c') + "\n");
    ASSERT_FALSE(longText);
    EXPECT_EQ(longText.failure().what, "line 1: the value of copyright is longer than 1024 characters");
}

namespace {

std::string refusal(const std::string& text) {
    Result<LauncherConfiguration> result = parseSettings(text);
    return result ? "accepted" : result.failure().what;
}

} // namespace

TEST(SettingsFile, ControlCharactersOtherThanTabAreRefusedNamingKeyAndLine) {
    EXPECT_EQ(refusal("jar=a.jar\nvm_options=-Xmx1g" + std::string(1, '\0') + " -Dx=1\n"),
              "line 2: the value of vm_options holds the control character U+0000 (only tab is allowed)");
    EXPECT_EQ(refusal("product_name=My\x1b[31mApp\n"),
              "line 1: the value of product_name holds the control character U+001B (only tab is allowed)");
    EXPECT_EQ(refusal("jar=a\x7F.jar\n"), "line 1: the value of jar holds the control character U+007F (only tab is allowed)");
    EXPECT_EQ(refusal("vm_options=-Xmx1g\t-Da=1\n"), "accepted");
}

TEST(SettingsFile, ValuesInAnotherEncodingThanUtf8AreRefusedNamingKeyAndLine) {
    // "Café" saved in code page 1252, a UTF-8 sequence cut short, an encoded surrogate.
    EXPECT_EQ(refusal("jar=a.jar\nproduct_name=Caf\xE9\n"),
              "line 2: the value of product_name is not UTF-8 text; save the settings file as UTF-8");
    EXPECT_EQ(refusal("jar=\xE2\x82.jar\n"), "line 1: the value of jar is not UTF-8 text; save the settings file as UTF-8");
    EXPECT_EQ(refusal("vm_options=-Dx=\xED\xA0\x80\n"),
              "line 1: the value of vm_options is not UTF-8 text; save the settings file as UTF-8");
    // Comments are not stored, whatever their bytes; UTF-8 values of every length are.
    EXPECT_EQ(refusal("# Caf\xE9\njar=caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80.jar\n"), "accepted");
}

TEST(SettingsFile, NumbersAreDecimalWithinTheLaunchersRange) {
    EXPECT_EQ(refusal("splash_seconds=99999999999\n"),
              "line 1: splash_seconds \"99999999999\" is not a whole number from -2147483648 to 2147483647");
    for (const char* bad : {"5s", " 5", "+5", "-", "0x10", "2147483648"})
        EXPECT_NE(refusal(std::string("splash_seconds=") + bad + "\n"), "accepted") << bad;
    for (const char* good : {"5", "0", "-1", "2147483647"})
        EXPECT_EQ(refusal(std::string("splash_seconds=") + good + "\n"), "accepted") << good;
    for (const char* good : {"0", "3600"})
        EXPECT_EQ(refusal(std::string("startup_check_seconds=") + good + "\n"), "accepted") << good;
    EXPECT_EQ(refusal("startup_check_seconds=3601\n"),
              "line 1: startup_check_seconds \"3601\" is not a whole number from 0 to 3600");
    EXPECT_NE(refusal("startup_check_seconds=-1\n"), "accepted");
}

TEST(SettingsFile, VersionsParseAsTheLauncherComparesThemAndTheMaximumAdmitsTheMinimum) {
    EXPECT_EQ(refusal("min_version=banana\n"),
              "line 1: min_version \"banana\" is not a Java version (numbers separated by dots or underscores, such as "
              "1.8 or 17.0.2)");
    for (const char* bad : {"-1", "1..8", "17-ea", "1.8.", " 11", "1234567890"})
        EXPECT_NE(refusal(std::string("max_version=") + bad + "\n"), "accepted") << bad;
    EXPECT_EQ(refusal("min_version=1.8.0_392\nmax_version=1.8\n"), "accepted"); // 1.8 admits 1.8.0_392
    EXPECT_EQ(refusal("max_version=17\nmin_version=17.0.9\n"), "accepted");
    EXPECT_EQ(refusal("jar=a.jar\nmax_version=1.8\nmin_version=11\n"),
              "line 2: max_version \"1.8\" is below min_version \"11\"");
    EXPECT_EQ(refusal("max_version=1.2\n"), "line 1: max_version \"1.2\" is below min_version \"1.3\" (the default)");
}

TEST(SettingsFile, AddressesAndExitStatusesAreChecked) {
    EXPECT_EQ(refusal("download_url=https://example.com/java?x=1\n"), "accepted");
    EXPECT_EQ(refusal("download_url=HTTP://example.com\n"), "accepted");
    for (const char* bad : {"ftp://example.com", "https://", "https://example.com/a b", "example.com", "https://a\tb"})
        EXPECT_EQ(refusal(std::string("download_url=") + bad + "\n"),
                  std::string("line 1: download_url \"") + bad + "\" is not an http:// or https:// address without blanks, quotes, < or >");
    EXPECT_EQ(refusal("restart_on_exit= 3 ,-1,4294967295,-2147483648\n"), "accepted");
    for (const char* bad : {"3,", ",3", "3;4", "4294967296", "-2147483649", "three", "3,,4"})
        EXPECT_EQ(refusal(std::string("restart_on_exit=") + bad + "\n"),
                  std::string("line 1: restart_on_exit \"") + bad +
                      "\" is not a list of exit statuses from -2147483648 to 4294967295 separated by commas");
    EXPECT_EQ(parseExitStatuses(" 3 ,-1, 4294967295").value(), (std::vector<std::uint32_t>{3, 4294967295u, 4294967295u}));
}

TEST(SettingsFile, FlagsTakeTheirWordsAndAnEmptyValueIsAlwaysAbsent) {
    EXPECT_EQ(refusal("single_instance=no\nconsole=0\nsplash=on\n"), "accepted");
    EXPECT_EQ(refusal("jar=a.jar\nstay_alive=enabled\n"),
              "line 2: stay_alive \"enabled\" is not a flag (on, yes, true or 1 turn it on; off, no, false or 0 leave "
              "it off)");
    for (const SettingKey& key : settingKeys())
        EXPECT_TRUE(parseSettings(std::string(key.name) + "=\n")) << key.name; // empty is absent, always fine
}

TEST(SettingsFile, AKeyGivenTwiceIsRefusedNamingBothLines) {
    // Empty or not, the second line of a key would silently undo the first.
    EXPECT_EQ(refusal("jar=a.jar\n# the start watch\nstartup_check_seconds=10\nstartup_check_seconds=30\n"),
              "line 4: startup_check_seconds is given twice (first on line 3); keep one of them");
    EXPECT_EQ(refusal("icon=\nproduct_name=A\nicon=app.ico\n"), "line 3: icon is given twice (first on line 1); keep one of them");
    Result<LauncherConfiguration> lines = parseSettings("\n# x\njar=a.jar\nicon=app.ico\n");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines.value().lines, (std::map<std::string, int>{{"jar", 3}, {"icon", 4}}));
}

TEST(SettingsFile, OneLaunchFormAndEachPathOnlyWithItsForm) {
    EXPECT_EQ(refusal("jar=app.jar\nmain_class=org.example.Main\nclass_path=lib\\*\n"), "accepted");
    EXPECT_EQ(refusal("module=org.example.app/org.example.Main\nmodule_path=mods\n"), "accepted");
    EXPECT_EQ(refusal("jar=app.jar\nmodule=org.example.app\n"),
              "line 2: module cannot be given together with jar (line 1): a module is started from the module path "
              "with -m; leave out jar");
    EXPECT_EQ(refusal("module=m\nmain_class=org.example.Main\n"),
              "line 1: module cannot be given together with main_class (line 2): a module is started from the module "
              "path with -m; leave out main_class");
    EXPECT_EQ(refusal("jar=app.jar\n\nclass_path=lib\\*\n"),
              "line 3: class_path needs main_class: the class path is used only to start a main class");
    EXPECT_EQ(refusal("main_class=org.example.Main\nmodule_path=mods\n"),
              "line 2: module_path needs module: the module path is used only to start a module");
    // An empty entry is an absent one, here as everywhere.
    EXPECT_EQ(refusal("jar=app.jar\nmodule=\nclass_path=\n"), "accepted");
}

TEST(SettingsFile, VersionRangesInVmOptionsAndTheHeapShareAreChecked) {
    EXPECT_EQ(refusal("vm_options=-Xmx1g [24+]--enable-native-access=ALL-UNNAMED [-8]-XX:MaxPermSize=64m\n"), "accepted");
    EXPECT_EQ(refusal("vm_options=-Xmx1g [24+] --enable-native-access=ALL-UNNAMED\n"),
              "line 1: vm_options \"-Xmx1g [24+] --enable-native-access=ALL-UNNAMED\" has the version range [24+] "
              "without an option: write the option right after it, with no blank between");
    EXPECT_NE(refusal("vm_options=[23-9]-Da=1\n").find("has \"[23-9]-Da=1\": a version range is"), std::string::npos);
    EXPECT_EQ(refusal("max_heap_percent=25,512,8192\nuser_vm_options=%APPDATA%\\App\\app.vmoptions\n"), "accepted");
    EXPECT_NE(refusal("max_heap_percent=25,8192,512\n").find("line 1: max_heap_percent \"25,8192,512\" is not P[,FLOOR_MB"),
              std::string::npos);
}
