#include <gtest/gtest.h>

#include "process/vm_options.h"

TEST(VmOptions, EachLineFollowedByOneBlank) {
    EXPECT_EQ(joinVmOptionLines(""), " ");
    EXPECT_EQ(joinVmOptionLines("A\n"), "A  ");
    EXPECT_EQ(joinVmOptionLines("A\nB\n"), "A B  ");
    EXPECT_EQ(joinVmOptionLines("A\nB"), "A B ");
    EXPECT_EQ(joinVmOptionLines("A\n\nB"), "A  B ");
}

TEST(VmOptions, CrLfReadsLikeLf) {
    EXPECT_EQ(joinVmOptionLines("-Xmx512m\r\n-Dname=\"two words\"\r\n"), joinVmOptionLines("-Xmx512m\n-Dname=\"two words\"\n"));
}

TEST(VmOptions, LinesAreVerbatim) {
    EXPECT_EQ(joinVmOptionLines("  -Xmx1g  \n# not a comment"), "  -Xmx1g   # not a comment ");
}

TEST(VmOptions, ByteOrderMarkIsSkipped) {
    EXPECT_EQ(joinVmOptionLines("\xEF\xBB\xBF-Xmx1g\n"), "-Xmx1g  ");
    EXPECT_EQ(joinVmOptionLines("-Da=\xEF\xBB\xBF"), "-Da=\xEF\xBB\xBF ");
}

TEST(VmOptions, LongLinesAreReadWholeAndLaterLinesKept) {
    std::string longLine(10000, 'x');
    EXPECT_EQ(joinVmOptionLines(longLine + "\n-Dlast=1"), longLine + " -Dlast=1 ");
}
