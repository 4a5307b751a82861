#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/startup_cache_rules.h"

TEST(StartupCache, TheKindFollowsTheFeatureVersion) {
    struct Case {
        int feature;
        StartupCacheKind kind;
    } cases[] = {
        {0, StartupCacheKind::None},           {8, StartupCacheKind::None},
        {12, StartupCacheKind::None},          {13, StartupCacheKind::ArchiveAtExit},
        {17, StartupCacheKind::ArchiveAtExit}, {18, StartupCacheKind::ArchiveAtExit},
        {19, StartupCacheKind::DynamicArchive}, {24, StartupCacheKind::DynamicArchive},
        {25, StartupCacheKind::AheadOfTimeCache}, {26, StartupCacheKind::AheadOfTimeCache},
    };
    for (const Case& c : cases) EXPECT_EQ(startupCacheKindFor(c.feature), c.kind) << c.feature;
}

TEST(StartupCache, OptionsForEachKindBeforeAndAfterTheFirstStart) {
    const std::string file = "C:\\Users\\ann\\AppData\\Local\\App\\startup-cache\\x.jsa";
    EXPECT_EQ(startupCacheOptions(StartupCacheKind::ArchiveAtExit, file, false), "-XX:ArchiveClassesAtExit=" + file);
    EXPECT_EQ(startupCacheOptions(StartupCacheKind::ArchiveAtExit, file, true), "-XX:SharedArchiveFile=" + file);
    for (bool exists : {false, true})
        EXPECT_EQ(startupCacheOptions(StartupCacheKind::DynamicArchive, file, exists),
                  "-XX:+AutoCreateSharedArchive -XX:SharedArchiveFile=" + file);
    EXPECT_EQ(startupCacheOptions(StartupCacheKind::AheadOfTimeCache, file, false), "-XX:AOTCacheOutput=" + file);
    EXPECT_EQ(startupCacheOptions(StartupCacheKind::AheadOfTimeCache, file, true), "-XX:AOTCache=" + file);
    EXPECT_EQ(startupCacheOptions(StartupCacheKind::None, file, true), "");
    // A folder with blanks stays one argument.
    EXPECT_EQ(startupCacheOptions(StartupCacheKind::AheadOfTimeCache, "C:\\Users\\Ann Lee\\x.aot", true),
              "\"-XX:AOTCache=C:\\Users\\Ann Lee\\x.aot\"");

    // Only a start that writes needs a folder that takes files.
    EXPECT_TRUE(startupCacheWrites(StartupCacheKind::ArchiveAtExit, false));
    EXPECT_FALSE(startupCacheWrites(StartupCacheKind::ArchiveAtExit, true));
    EXPECT_TRUE(startupCacheWrites(StartupCacheKind::DynamicArchive, true));
    EXPECT_TRUE(startupCacheWrites(StartupCacheKind::AheadOfTimeCache, false));
    EXPECT_FALSE(startupCacheWrites(StartupCacheKind::AheadOfTimeCache, true));
    EXPECT_FALSE(startupCacheWrites(StartupCacheKind::None, false));
}

TEST(StartupCache, OptionsThatChooseTheirOwnCacheAreFound) {
    EXPECT_EQ(ownCacheOption("-Xmx512m -Xshare:off "), "-Xshare:off");
    EXPECT_EQ(ownCacheOption("-XX:SharedArchiveFile=app.jsa"), "-XX:SharedArchiveFile=app.jsa");
    EXPECT_EQ(ownCacheOption("\"-XX:AOTCache=C:\\my app\\a.aot\" -Xmx1g"), "-XX:AOTCache=C:\\my");
    EXPECT_EQ(ownCacheOption("-Xmx1g\t-XX:AOTCacheOutput=x.aot"), "-XX:AOTCacheOutput=x.aot");
    EXPECT_EQ(ownCacheOption("-XX:ArchiveClassesAtExit=a.jsa"), "-XX:ArchiveClassesAtExit=a.jsa");
    EXPECT_EQ(ownCacheOption("-XX:+AutoCreateSharedArchive"), "-XX:+AutoCreateSharedArchive");
    EXPECT_EQ(ownCacheOption("-XX:AOTMode=off"), "-XX:AOTMode=off");
    EXPECT_EQ(ownCacheOption("-XX:AOTConfiguration=a.conf"), "-XX:AOTConfiguration=a.conf");
    EXPECT_EQ(ownCacheOption("-XX:-UseSharedSpaces"), "-XX:-UseSharedSpaces");
    // Not where an option starts, or another option.
    EXPECT_EQ(ownCacheOption("-Dnote=-Xshare:off -Dx=\"a b\""), "");
    EXPECT_EQ(ownCacheOption("-XX:+UseSharedSpaces -Xmx1g"), "");
    EXPECT_EQ(ownCacheOption(""), "");
}

TEST(StartupCache, TheVariableTurnsItOffForOneStart) {
    for (const char* value : {"off", "OFF", "0", "no", "False"}) EXPECT_TRUE(startupCacheTurnedOff(value)) << value;
    for (const char* value : {"", "on", "1", "offline"}) EXPECT_FALSE(startupCacheTurnedOff(value)) << value;
}

namespace {

StartupCacheKey sampleKey() {
    return {"C:\\Apps\\My App\\MyApp.exe", "C:\\Program Files\\Java\\jdk-25\\bin\\javaw.exe", "release 1:2",
            "jar 3:4\nlauncher 1.0.0.0\noptions -Xmx1g "};
}

} // namespace

TEST(StartupCache, TheNameChangesWithEveryPartOfTheKeyButNotWithTheLetterCaseOfPaths) {
    StartupCacheKey key = sampleKey();
    std::string name = startupCacheFileName(key, StartupCacheKind::AheadOfTimeCache);
    ASSERT_EQ(name.size(), 4 * 8 + 3 + 4u);
    EXPECT_EQ(name.substr(35), ".aot");
    EXPECT_EQ(startupCacheFileName(key, StartupCacheKind::DynamicArchive).substr(35), ".jsa");
    EXPECT_EQ(name, startupCacheFileName(sampleKey(), StartupCacheKind::AheadOfTimeCache)); // stable

    StartupCacheKey upper = key;
    upper.application = "C:\\APPS\\MY APP\\MYAPP.EXE";
    upper.runtime = "c:\\program files\\java\\jdk-25\\bin\\JAVAW.exe";
    EXPECT_EQ(startupCacheFileName(upper, StartupCacheKind::AheadOfTimeCache), name);

    std::string StartupCacheKey::*parts[] = {&StartupCacheKey::application, &StartupCacheKey::runtime,
                                             &StartupCacheKey::runtimeBuild, &StartupCacheKey::applicationBuild};
    for (std::size_t i = 0; i < 4; ++i) {
        StartupCacheKey changed = key;
        changed.*parts[i] += "x";
        std::string other = startupCacheFileName(changed, StartupCacheKind::AheadOfTimeCache);
        // Exactly the group of the changed part differs.
        for (std::size_t group = 0; group < 4; ++group)
            EXPECT_EQ(other.substr(group * 9, 8) == name.substr(group * 9, 8), group != i) << i << " " << group;
    }
}

TEST(StartupCache, OutdatedCachesOfTheApplicationGoAndOthersStay) {
    const std::string current = "aaaaaaaa-11111111-22222222-33333333.aot";
    std::vector<std::string> names = {
        current,
        "aaaaaaaa-11111111-22222222-33333333.aot.config", // the runtime's file of the current cache
        "aaaaaaaa-11111111-99999999-33333333.aot",        // the same runtime, another build of it
        "aaaaaaaa-11111111-22222222-44444444.aot",        // the same runtime, an older application
        "aaaaaaaa-11111111-22222222-44444444.aot.config",
        "aaaaaaaa-55555555-66666666-33333333.jsa",        // another runtime, this application build: kept
        "aaaaaaaa-55555555-66666666-44444444.jsa",        // another runtime, an older application
        "bbbbbbbb-11111111-22222222-44444444.aot",        // another application
        "aaaaaaaa-11111111-22222222-44444444.txt",        // not a cache
        "AAAAAAAA-11111111-22222222-44444444.aot",        // not our spelling
        "aaaaaaaa-11111111-22222222-4444444.aot",
        "notes.txt",
    };
    std::vector<std::string> outdated = outdatedStartupCaches(names, current);
    std::sort(outdated.begin(), outdated.end());
    EXPECT_EQ(outdated, (std::vector<std::string>{
                            "aaaaaaaa-11111111-22222222-44444444.aot",
                            "aaaaaaaa-11111111-22222222-44444444.aot.config",
                            "aaaaaaaa-11111111-99999999-33333333.aot",
                            "aaaaaaaa-55555555-66666666-44444444.jsa",
                        }));
    EXPECT_TRUE(outdatedStartupCaches(names, "not-a-cache-name").empty());
}

TEST(StartupCache, AFileIsUsableOnlyWithTheMagicNumberOfItsKind) {
    const std::string staticArchive("\xa2\xab\x0b\xf0\xcf\x46", 6);
    const std::string dynamicArchive("\xa8\xab\x0b\xf0", 4);
    EXPECT_TRUE(startupCacheLooksUsable(StartupCacheKind::AheadOfTimeCache, staticArchive));
    EXPECT_FALSE(startupCacheLooksUsable(StartupCacheKind::AheadOfTimeCache, dynamicArchive));
    for (StartupCacheKind kind : {StartupCacheKind::ArchiveAtExit, StartupCacheKind::DynamicArchive}) {
        EXPECT_TRUE(startupCacheLooksUsable(kind, dynamicArchive));
        EXPECT_FALSE(startupCacheLooksUsable(kind, staticArchive));
    }
    EXPECT_FALSE(startupCacheLooksUsable(StartupCacheKind::DynamicArchive, std::string("\xa8\xab\x0b", 3)));
    EXPECT_FALSE(startupCacheLooksUsable(StartupCacheKind::DynamicArchive, ""));
    EXPECT_FALSE(startupCacheLooksUsable(StartupCacheKind::None, dynamicArchive));
}

TEST(StartupCache, FolderNamesHoldNoCharacterAFileNameMayNot) {
    EXPECT_EQ(startupCacheFolderName("My App"), "My App");
    EXPECT_EQ(startupCacheFolderName("Quill: Pro/Edition?"), "Quill_ Pro_Edition_");
    EXPECT_EQ(startupCacheFolderName("Top%pick"), "Top_pick");
    EXPECT_EQ(startupCacheFolderName("  Tools 2.0. . "), "Tools 2.0");
    EXPECT_EQ(startupCacheFolderName("Grüß"), "Grüß");
    EXPECT_EQ(startupCacheFolderName(std::string("a\tb\x01", 4)), "a_b_");
    EXPECT_EQ(startupCacheFolderName(" . "), "launcher");
    EXPECT_EQ(startupCacheFolderName(""), "launcher");
}
