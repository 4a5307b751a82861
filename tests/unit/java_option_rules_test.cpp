#include <gtest/gtest.h>

#include "settings_contract/heap_share.h"
#include "base/version_range.h"
#include "process/vm_options.h"

namespace {

std::optional<VersionRange> range(const std::string& text) {
    RangePrefix prefix = readRangePrefix(text);
    if (prefix.kind != RangePrefix::Kind::Range) return std::nullopt;
    return prefix.range;
}

constexpr std::uint64_t GB = 1024ull * 1024 * 1024;

} // namespace

TEST(VersionRange, TheFourFormsAndTheirEnds) {
    EXPECT_EQ(range("[17]"), (VersionRange{17, 17}));
    EXPECT_EQ(range("[9-23]-Dx"), (VersionRange{9, 23}));
    EXPECT_EQ(range("[24+]"), (VersionRange{24, VersionRange::HighestFeatureVersion}));
    EXPECT_EQ(range("[-8]"), (VersionRange{1, 8}));
    EXPECT_EQ(range("[9999]"), (VersionRange{9999, 9999}));
    EXPECT_EQ(range("[9-9]"), (VersionRange{9, 9}));
    EXPECT_EQ(readRangePrefix("[9999-9999]x").length, 11u);
    VersionRange nineToTwentyThree{9, 23};
    EXPECT_FALSE(nineToTwentyThree.admits(8));
    EXPECT_TRUE(nineToTwentyThree.admits(9));
    EXPECT_TRUE(nineToTwentyThree.admits(23));
    EXPECT_FALSE(nineToTwentyThree.admits(24));
    for (const char* text : {"[17]", "[9-23]", "[24+]", "[-8]"}) EXPECT_EQ(rangeText(*range(text)), text);
}

TEST(VersionRange, AnythingElseInBracketsIsMalformedAndNoBracketIsNoRange) {
    EXPECT_EQ(readRangePrefix("-Xmx1g").kind, RangePrefix::Kind::None);
    EXPECT_EQ(readRangePrefix("").kind, RangePrefix::Kind::None);
    for (const char* text : {"[]", "[+]", "[-]", "[9-]", "[-9-]", "[23-9]", "[0]", "[08]", "[1.8]", "[ 17]", "[17 ]",
                             "[10000]", "[17", "[abc]", "[9+-23]", "[+9]", "[9--23]", "[99999-99999]"})
        EXPECT_EQ(readRangePrefix(text).kind, RangePrefix::Kind::Malformed) << text;
}

TEST(VersionRange, TheToolNamesTheOptionThatIsWrong) {
    EXPECT_EQ(vmOptionsProblem(""), std::nullopt);
    EXPECT_EQ(vmOptionsProblem("-Xmx1g [24+]--enable-native-access=ALL-UNNAMED \"-Dt=[1] x\""), std::nullopt);
    EXPECT_NE(vmOptionsProblem("-Xmx1g [24]")->find("[24] without an option"), std::string::npos);
    EXPECT_NE(vmOptionsProblem("[24+] --enable-native-access=ALL-UNNAMED")->find("without an option"), std::string::npos);
    EXPECT_NE(vmOptionsProblem("-Da=1 [1.8]-Xmx1g")->find("\"[1.8]-Xmx1g\""), std::string::npos);
}

TEST(VmOptionPieces, FileLinesCarryTheirRangeForTheWholeLine) {
    VmOptionPieces pieces = vmOptionPiecesOfLines("-Xmx1g\n[24+] --enable-native-access=ALL-UNNAMED -Da=1\n"
                                                   "  [-8]-XX:+UseG1GC\n# [17] a comment\n[x] -Dbad\n[17]\n");
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[1].range, (VersionRange{24, VersionRange::HighestFeatureVersion}));
    EXPECT_EQ(pieces[1].text, "--enable-native-access=ALL-UNNAMED -Da=1 ");
    EXPECT_EQ(pieces[2].text, "-XX:+UseG1GC ");
    EXPECT_TRUE(pieces[3].malformedRange);
    EXPECT_TRUE(pieces[4].malformedRange); // a range with nothing to give
    EXPECT_EQ(writtenText(pieces), joinVmOptionLines("-Xmx1g\n[24+] --enable-native-access=ALL-UNNAMED -Da=1\n"
                                                     "  [-8]-XX:+UseG1GC\n[x] -Dbad\n[17]\n"));

    ChosenVmOptions for25 = chooseVmOptions(pieces, 25);
    EXPECT_EQ(for25.text, "-Xmx1g --enable-native-access=ALL-UNNAMED -Da=1 ");
    EXPECT_EQ(for25.trace, (std::vector<std::string>{
                               "VM option for Java 25: [24+] --enable-native-access=ALL-UNNAMED -Da=1",
                               "VM option not for Java 25: [-8]-XX:+UseG1GC",
                               "VM option with a malformed version range, left out: [x] -Dbad",
                               "VM option with a malformed version range, left out: [17]"}));
    EXPECT_EQ(chooseVmOptions(pieces, 8).text, "-Xmx1g -XX:+UseG1GC ");
    ChosenVmOptions unknown = chooseVmOptions(pieces, std::nullopt);
    EXPECT_EQ(unknown.text, "-Xmx1g ");
    EXPECT_EQ(unknown.trace[0], "VM option not for a Java of unknown version: [24+] --enable-native-access=ALL-UNNAMED -Da=1");
}

TEST(VmOptionPieces, InTheSettingARangeHoldsForOneOptionAndTheRestStaysVerbatim) {
    std::string setting = "-Dname=\"two  words\"  [24+]--enable-native-access=ALL-UNNAMED [18-23]-Djava.security.manager=allow -Xmx1g";
    VmOptionPieces pieces = vmOptionPiecesOfSetting(setting);
    EXPECT_EQ(writtenText(pieces), setting);
    EXPECT_EQ(chooseVmOptions(pieces, 25).text, "-Dname=\"two  words\"  --enable-native-access=ALL-UNNAMED -Xmx1g");
    EXPECT_EQ(chooseVmOptions(pieces, 21).text, "-Dname=\"two  words\"  -Djava.security.manager=allow -Xmx1g");
    EXPECT_EQ(chooseVmOptions(pieces, 17).text, "-Dname=\"two  words\"  -Xmx1g");
    // A '[' inside quotes or inside an option is no range; a text without ranges is one piece.
    EXPECT_EQ(chooseVmOptions(vmOptionPiecesOfSetting("\"-Da=[17] b\" -Db=[9]"), 8).text, "\"-Da=[17] b\" -Db=[9]");
    EXPECT_EQ(vmOptionPiecesOfSetting("  -Xmx1g  ").size(), 1u);
    EXPECT_EQ(chooseVmOptions(vmOptionPiecesOfSetting("-Da [17] -Db"), 17).text, "-Da -Db");
    EXPECT_EQ(chooseVmOptions(vmOptionPiecesOfSetting("[17]-Da"), 17).text, "-Da");
}

TEST(HeapShare, TheSettingsSyntax) {
    std::optional<HeapShare> full = parseHeapShare("25,512,8192");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->percent, 25u);
    EXPECT_EQ(full->floorMegabytes, 512u);
    EXPECT_EQ(full->capMegabytes, 8192u);
    EXPECT_EQ(parseHeapShare("50")->floorMegabytes, 0u);
    EXPECT_EQ(parseHeapShare(" 50 , , 4096 ")->capMegabytes, 4096u);
    EXPECT_EQ(parseHeapShare("100,1024,1024")->capMegabytes, 1024u);
    for (const char* text : {"", "0", "101", "-5", "25%", "25.5", "25,0", "25,512,256", "25,1,2,3", "25,x",
                             "25,16777217", "1e3", ",512"})
        EXPECT_FALSE(parseHeapShare(text)) << text;
    EXPECT_EQ(heapShareProblem("25,512"), std::nullopt);
    EXPECT_TRUE(heapShareProblem("25,512,256"));
}

TEST(HeapShare, ShareThenFloorThenCapThenWhatA32BitRuntimeCanReserve) {
    HeapShare quarter{25, 512, 8192};
    EXPECT_EQ(maximumHeapFigure(quarter, 16 * GB, false).megabytes, 4096u);
    EXPECT_EQ(maximumHeapFigure(quarter, 16 * GB, false).bound, HeapFigure::Bound::Share);
    HeapFigure small = maximumHeapFigure(quarter, 1 * GB, false);
    EXPECT_EQ(small.megabytes, 512u);
    EXPECT_EQ(small.bound, HeapFigure::Bound::Floor);
    HeapFigure big = maximumHeapFigure(quarter, 64 * GB, false);
    EXPECT_EQ(big.megabytes, 8192u);
    EXPECT_EQ(big.bound, HeapFigure::Bound::Cap);
    HeapFigure thirtyTwo = maximumHeapFigure(quarter, 16 * GB, true);
    EXPECT_EQ(thirtyTwo.megabytes, Runtime32BitHeapLimitMegabytes);
    EXPECT_EQ(thirtyTwo.bound, HeapFigure::Bound::Runtime32Bit);
    // The floor never lifts a 32-bit runtime past what it can reserve.
    EXPECT_EQ(maximumHeapFigure(HeapShare{10, 2048, 0}, 4 * GB, true).megabytes, Runtime32BitHeapLimitMegabytes);
    // Rounded down to whole megabytes; a PC with 2 TB does not overflow.
    EXPECT_EQ(maximumHeapFigure(HeapShare{33, 0, 0}, 3 * GB + 5, false).megabytes, 1013u);
    EXPECT_EQ(maximumHeapFigure(HeapShare{100, 0, 0}, 2048 * GB, false).megabytes, 2048u * 1024);
    EXPECT_EQ(maximumHeapFigure(HeapShare{1, 0, 0}, 100 * 1024 * 1024, false).megabytes, 8u);
}

TEST(HeapShare, OptionsThatAlreadySetTheMaximumHeap) {
    EXPECT_EQ(maximumHeapOption("-Xms64m -Dx=-Xmx1g"), "");
    EXPECT_EQ(maximumHeapOption(""), "");
    EXPECT_EQ(maximumHeapOption("-Da=1 -Xmx2g"), "-Xmx2g");
    EXPECT_EQ(maximumHeapOption("\"-XX:MaxHeapSize=3g\""), "\"-XX:MaxHeapSize=3g\"");
    EXPECT_EQ(maximumHeapOption("-XX:MaxRAMPercentage=50.0 -Xss1m"), "-XX:MaxRAMPercentage=50.0");
    EXPECT_EQ(maximumHeapOption("\"-Dname=a -Xmx1g\""), "");
}
