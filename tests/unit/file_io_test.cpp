#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "configure/resources/file_io.h"

namespace {

std::string folderForTest() {
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("file_io_test-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder.string();
}

Bytes bytesOf(const std::string& path) {
    Result<Bytes> read = readInputFile(path, InputFile{"the file", 1 << 20, "1 MiB"});
    return read ? read.value() : Bytes{0xEE};
}

} // namespace

TEST(FileIo, WritesReplaceAFileAndAFailureSaysWhy) {
    std::string folder = folderForTest();
    std::string path = folder + "/out.res";
    ASSERT_TRUE(writeFileBytes(path, Bytes{1, 2, 3}));
    ASSERT_TRUE(writeFileBytes(path, Bytes{4}));
    EXPECT_EQ(bytesOf(path), Bytes{4});
    Result<void> missing = writeFileBytes(folder + "/no such folder/out.res", Bytes{1});
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().what, "cannot write " + folder + "/no such folder/out.res (No such file or directory)");
    EXPECT_NE(missing.failure().systemError, 0u);
}

TEST(FileIo, ANewFileNeverReplacesOrRemovesAnotherOne) {
    std::string folder = folderForTest();
    std::string path = folder + "/configured.exe.partial";
    ASSERT_TRUE(writeNewFile(path, Bytes{1, 2}));
    Result<void> again = writeNewFile(path, Bytes{9});
    ASSERT_FALSE(again);
    EXPECT_TRUE(nameTaken(again.failure()));
    EXPECT_EQ(bytesOf(path), (Bytes{1, 2})); // the file that had the name is kept as it was
}
