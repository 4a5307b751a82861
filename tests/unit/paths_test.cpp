#include <gtest/gtest.h>

#include "launcher/paths.h"

TEST(LauncherPaths, DirectoryIsThePathCutAtTheLastBackslash) {
    EXPECT_EQ(executableDirectoryOf("C:\\Apps\\Tool.exe"), std::optional<std::string>("C:\\Apps"));
    EXPECT_EQ(executableDirectoryOf("Y:\\app.exe"), std::optional<std::string>("Y:"));
    EXPECT_EQ(workingDirectoryOf("C:\\Apps", ""), "C:\\Apps\\");
    EXPECT_EQ(workingDirectoryOf("C:\\Apps", "..\\data"), "C:\\Apps\\..\\data");
}

TEST(LauncherPaths, NoDirectoryWithoutABackslash) {
    // Never a directory relative to the drive root: the launcher reports the missing path instead.
    EXPECT_EQ(executableDirectoryOf(""), std::nullopt);
    EXPECT_EQ(executableDirectoryOf("app.exe"), std::nullopt);
}

TEST(LauncherPaths, AbsoluteWorkingDirectoryIsTakenAsItIs) {
    // What a variable such as %APPDATA% or %LAUNCHER_DIR% expands to.
    EXPECT_EQ(workingDirectoryOf("C:\\Apps", "D:\\Users\\Łukasz\\data"), "D:\\Users\\Łukasz\\data");
    EXPECT_EQ(workingDirectoryOf("C:\\Apps", "c:/data"), "c:/data");
    EXPECT_EQ(workingDirectoryOf("C:\\Apps", "\\\\server\\share\\data"), "\\\\server\\share\\data");
    // Relative to a drive's current folder or root: still below the launcher's folder, as before.
    EXPECT_EQ(workingDirectoryOf("C:\\Apps", "D:data"), "C:\\Apps\\D:data");
    EXPECT_EQ(workingDirectoryOf("C:\\Apps", "\\data"), "C:\\Apps\\\\data");
}
