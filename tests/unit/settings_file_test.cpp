#include <gtest/gtest.h>

#include "base/setting_ids.h"
#include "configure/settings/settings_file.h"

TEST(SettingsFile, KeysFillTheirIdsAndValuesAreVerbatim) {
    Result<LauncherConfiguration> result = parseSettings(
        "# comment\n\njar=my app.jar\nvm_options=-Dname=\"A \\\"quoted\\\" value\" -Dpath=C:\\x\\y\nmin_version=1.8\n"
        "splash=0\nworking_dir=..\\data\n");
    ASSERT_TRUE(result) << result.failure().what;
    const auto& strings = result.value().strings;
    EXPECT_EQ(strings.at(SettingJar), "my app.jar");
    EXPECT_EQ(strings.at(SettingVmOptions), "-Dname=\"A \\\"quoted\\\" value\" -Dpath=C:\\x\\y");
    EXPECT_EQ(strings.at(SettingMinimumVersion), "1.8");
    EXPECT_EQ(strings.at(SettingSplash), "0");
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
