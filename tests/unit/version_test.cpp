#include <gtest/gtest.h>

#include "jvm/version.h"

TEST(VersionFromBanner, RealBanners) {
    EXPECT_EQ(versionFromBanner("java version \"1.5.0_06\"\r\nJava(TM) 2 Runtime Environment, Standard Edition "
                                "(build 1.5.0_06-b05)\r\n"),
              "1.5.0_06");
    EXPECT_EQ(versionFromBanner("java version \"1.8.0_391\"\r\nJava(TM) SE Runtime Environment (build 1.8.0_391-b13)\r\n"),
              "1.8.0_391");
    EXPECT_EQ(versionFromBanner("openjdk version \"17.0.15\" 2025-04-15\r\nOpenJDK Runtime Environment\r\n"), "17.0.15");
    EXPECT_EQ(versionFromBanner("openjdk version \"25.0.3\" 2026-04-21 LTS\r\n"), "25.0.3");
}

TEST(VersionFromBanner, LinesBeforeTheBannerDoNotMatter) {
    EXPECT_EQ(versionFromBanner("Picked up JAVA_TOOL_OPTIONS: -Dfile.encoding=UTF-8\r\nopenjdk version \"21.0.2\" "
                                "2024-01-16\r\n"),
              "21.0.2");
    EXPECT_EQ(versionFromBanner("Picked up _JAVA_OPTIONS: -Xmx1g\nWarning: x\njava version \"1.8.0_391\"\n"), "1.8.0_391");
}

TEST(VersionFromBanner, NoVersionLineGivesEmpty) {
    EXPECT_EQ(versionFromBanner(""), "");
    EXPECT_EQ(versionFromBanner("Error: could not find java.dll\r\n"), "");
    EXPECT_EQ(versionFromBanner("java version 1.8\r\n"), "");
}

TEST(VersionAtLeast, ComparesNumericallyComponentByComponent) {
    EXPECT_TRUE(versionAtLeast("1.5", "1.10"));
    EXPECT_TRUE(versionAtLeast("9", "10"));
    EXPECT_TRUE(versionAtLeast("1.6.0", "1.6"));
    EXPECT_TRUE(versionAtLeast("1.6", "1.6.0"));
    EXPECT_TRUE(versionAtLeast("1.5", "1.5.0_06"));
    EXPECT_TRUE(versionAtLeast("1.5", "1.5"));
    EXPECT_TRUE(versionAtLeast("1.8", "17.0.15"));
    EXPECT_TRUE(versionAtLeast("1.8.0_100", "1.8.0_391"));
    EXPECT_FALSE(versionAtLeast("1.8.0_391", "1.8.0_100"));
    EXPECT_FALSE(versionAtLeast("1.5", "1.4.2_08"));
    EXPECT_FALSE(versionAtLeast("17", "1.8.0_391"));
    EXPECT_FALSE(versionAtLeast("25", "17.0.15"));
}

TEST(VersionAtLeast, TextAfterTheNumbersIsIgnored) {
    EXPECT_TRUE(versionAtLeast("1.7", "1.7.0-ea"));
    EXPECT_TRUE(versionAtLeast("13", "13+33"));
    EXPECT_FALSE(versionAtLeast("13.0.1", "13+33"));
    EXPECT_TRUE(versionAtLeast("1.5", "1.5.0_06\" rest"));
}

TEST(VersionAtLeast, VersionWithoutLeadingDigitMeetsNothing) {
    EXPECT_FALSE(versionAtLeast("1.3", ""));
    EXPECT_FALSE(versionAtLeast("1.3", "n \"17.0.15\""));
    EXPECT_FALSE(versionAtLeast("", "abc"));
}

TEST(VersionAtLeast, MinimumWithoutLeadingDigitCountsAsZero) {
    EXPECT_TRUE(versionAtLeast("", "1.1"));
    EXPECT_TRUE(versionAtLeast("latest", "0"));
}

TEST(VersionAtLeast, HugeNumbersDoNotWrapAround) {
    EXPECT_TRUE(versionAtLeast("1.5", "1.99999999999999999999999999"));
    EXPECT_FALSE(versionAtLeast("99999999999999999999999", "18446744073709551614"));
}

TEST(VersionAtMost, ComparesOnAsManyComponentsAsTheMaximumHas) {
    EXPECT_TRUE(versionAtMost("1.8", "1.8.0_392"));
    EXPECT_FALSE(versionAtMost("1.8", "9"));
    EXPECT_FALSE(versionAtMost("1.8", "1.9.0"));
    EXPECT_TRUE(versionAtMost("17", "17.0.9"));
    EXPECT_FALSE(versionAtMost("17", "18"));
    EXPECT_TRUE(versionAtMost("17.0.9", "17.0.9.1"));
    EXPECT_FALSE(versionAtMost("17.0.8", "17.0.9"));
    EXPECT_TRUE(versionAtMost("", "99"));
    EXPECT_FALSE(versionAtMost("17", ""));
}

TEST(VersionFromReleaseFile, TakesTheQuotedJavaVersion) {
    EXPECT_EQ(versionFromReleaseFile("IMPLEMENTOR=\"Eclipse Adoptium\"\nJAVA_VERSION=\"21.0.5\"\nOS_NAME=\"Windows\"\n"),
              "21.0.5");
    EXPECT_EQ(versionFromReleaseFile("JAVA_VERSION=\"1.8.0_392\"\r\n"), "1.8.0_392");
    EXPECT_EQ(versionFromReleaseFile("JAVA_VERSION_DATE=\"2024-10-15\"\nJAVA_VERSION=\"17.0.13\""), "17.0.13");
    EXPECT_EQ(versionFromReleaseFile("JAVA_VERSION=17\n"), "");
    EXPECT_EQ(versionFromReleaseFile("JAVA_VERSION=\"17\nMORE=\"x\"\n"), "");
    EXPECT_EQ(versionFromReleaseFile(""), "");
}

// Java developers write 8 where Java 8 itself says 1.8: both sides take either form.
TEST(VersionAtLeast, OneDotNAndNAreTheSameVersion) {
    EXPECT_TRUE(versionAtLeast("8", "1.8.0_391"));
    EXPECT_TRUE(versionAtLeast("8", "1.8"));
    EXPECT_TRUE(versionAtLeast("1.8", "8"));
    EXPECT_TRUE(versionAtLeast("1.8.0_100", "8.0.391"));
    EXPECT_FALSE(versionAtLeast("8.0.400", "1.8.0_391"));
    EXPECT_FALSE(versionAtLeast("9", "1.8.0_391"));
    EXPECT_TRUE(versionAtLeast("1.9", "9.0.4"));
    EXPECT_TRUE(versionAtLeast("7", "1.10"));
    // 1.0 and 1.1 were never called 0 or 1.
    EXPECT_TRUE(versionAtLeast("1.1", "1.2"));
    EXPECT_FALSE(versionAtLeast("1.2", "1.1.8"));
    EXPECT_TRUE(versionAtLeast("1", "1.1"));
}

TEST(VersionAtMost, OneDotNAndNAreTheSameVersion) {
    EXPECT_TRUE(versionAtMost("8", "1.8.0_391"));
    EXPECT_FALSE(versionAtMost("8", "9"));
    EXPECT_FALSE(versionAtMost("8", "1.9.0"));
    EXPECT_TRUE(versionAtMost("1.8", "8.0.1"));
    EXPECT_FALSE(versionAtMost("1.8", "9.0.4"));
    EXPECT_TRUE(versionAtMost("8", "1.7.0_80"));
    EXPECT_TRUE(versionAtMost("1.8.0_391", "8.0.391"));
    EXPECT_FALSE(versionAtMost("1.8.0_100", "1.8.0_391"));
}

TEST(Version, FeatureVersionIsTheFirstNumberOrTheOneAfterOne) {
    EXPECT_EQ(featureVersionOf("1.8.0_391"), 8);
    EXPECT_EQ(featureVersionOf("1.8"), 8);
    EXPECT_EQ(featureVersionOf("17.0.15"), 17);
    EXPECT_EQ(featureVersionOf("25"), 25);
    EXPECT_EQ(featureVersionOf("25-ea"), 25);
    EXPECT_EQ(featureVersionOf("21.0.2+13-LTS"), 21);
    EXPECT_EQ(featureVersionOf("1"), 1);
    EXPECT_EQ(featureVersionOf(""), std::nullopt);
    EXPECT_EQ(featureVersionOf("openjdk"), std::nullopt);
    EXPECT_EQ(featureVersionOf("99999999999999999999999"), std::nullopt);
}
