#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/character_tail.h"

namespace {

// Cut the characters' bytes after every byte: what is held back must be exactly the part of
// the character that the cut splits, so that the bytes before it are whole characters.
void expectEverySplitHeldBack(unsigned codePage, const std::vector<std::string>& characters) {
    std::string text;
    std::vector<std::size_t> boundaries{0};
    for (const std::string& character : characters) {
        text += character;
        boundaries.push_back(text.size());
    }
    std::size_t boundary = 0;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        while (boundary + 1 < boundaries.size() && boundaries[boundary + 1] <= cut) ++boundary;
        EXPECT_EQ(incompleteCharacterTail(codePage, text.data(), cut), cut - boundaries[boundary])
            << "code page " << codePage << ", cut after " << cut << " bytes";
    }
}

} // namespace

TEST(CharacterTail, Utf8SequencesOfEveryLengthAreHeldBackUntilWhole) {
    expectEverySplitHeldBack(65001, {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xE6\x97\xA5", "\r", "\n"});
    // Broken bytes are not held: they never become whole, and decode as broken now as later.
    EXPECT_EQ(incompleteCharacterTail(65001, "\x80\x80\x80\x80", 4), 0u);
    EXPECT_EQ(incompleteCharacterTail(65001, "\xC3\xA9\xA9", 3), 0u);
    EXPECT_EQ(incompleteCharacterTail(65001, "a\xFF", 2), 0u);
}

TEST(CharacterTail, DoubleBytePagesHoldBackALeadByteByTheirOwnRanges) {
    // Shift-JIS: a trail byte may be '\' (0x5C) or in a lead range (0x81, 0xE0).
    expectEverySplitHeldBack(932, {"\x95\x5C", "a", "\x81\x81", "\xE0\xE0", "\xB1", "\x83\x41"});
    EXPECT_EQ(incompleteCharacterTail(932, "a\xA0", 2), 0u); // 0xA0 to 0xDF are single bytes
    // GBK, UHC and Big5 lead from 0x81 to 0xFE.
    expectEverySplitHeldBack(936, {"\xD6\xD0", "x", "\xFE\x40", "\xB9\x5C"});
    expectEverySplitHeldBack(949, {"\xC7\xD1", "\xB1\xDB", ".", "\x81\x41"});
    expectEverySplitHeldBack(950, {"\xA4\xA4", "\xA5\x5C", "1", "\xF9\xFE"});
}

TEST(CharacterTail, Gb18030HoldsBackTwoAndFourByteSequences) {
    expectEverySplitHeldBack(54936, {"\x81\x30\x81\x30", "a", "\xD6\xD0", "\x95\x32\x82\x36", "\x81\x40", "9",
                                     "\xE3\x32\x9A\x35"});
    // A lead and a digit without the rest of a four-byte form is broken, not waited for.
    EXPECT_EQ(incompleteCharacterTail(54936, "\x81\x30zz", 4), 0u);
}

TEST(CharacterTail, SingleBytePagesHoldNothingBack) {
    for (unsigned codePage : {1252u, 1251u, 874u, 437u})
        EXPECT_EQ(incompleteCharacterTail(codePage, "caf\xE9\x81", 5), 0u) << codePage;
}
