#include <gtest/gtest.h>

#include "launcher/later_start_rules.h"

namespace {

std::uint32_t u32At(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

TEST(LaterStart, MessageCarriesEachArgumentWholeWithLengthsAndChecksum) {
    // Blanks, an empty argument, non-ASCII (UTF-8 bytes as given) and a character outside the BMP.
    std::vector<std::string> arguments = {"C:\\my docs\\Bericht Grüße.txt", "", "\xE6\x96\x87", "\xF0\x9F\x98\x80"};
    std::optional<std::string> message = laterStartMessage(arguments);
    ASSERT_TRUE(message);
    ASSERT_EQ(message->size(), laterStartMessageLength(arguments));
    EXPECT_EQ(message->substr(0, 4), "ARG1");
    std::uint32_t payloadLength = u32At(*message, 4);
    ASSERT_EQ(message->size(), LaterStartHeaderBytes + payloadLength + LaterStartTrailerBytes);
    std::string payload = message->substr(LaterStartHeaderBytes, payloadLength);
    EXPECT_EQ(u32At(*message, LaterStartHeaderBytes + payloadLength), crc32Of(payload));
    ASSERT_EQ(u32At(payload, 0), arguments.size());
    std::size_t at = 4;
    for (const std::string& argument : arguments) {
        ASSERT_EQ(u32At(payload, at), argument.size());
        EXPECT_EQ(payload.substr(at + 4, argument.size()), argument);
        at += 4 + argument.size();
    }
    EXPECT_EQ(at, payload.size());
    // No arguments is still a message: the application learns of the later start.
    EXPECT_EQ(laterStartMessage({})->size(), LaterStartHeaderBytes + 4 + LaterStartTrailerBytes);
}

TEST(LaterStart, MessageAboveTheLimitIsRefusedOneAtTheLimitIsNot) {
    std::size_t overhead = laterStartMessageLength({""});
    std::string fits(LaterStartMessageLimit - overhead, 'x');
    ASSERT_TRUE(laterStartMessage({fits}));
    EXPECT_EQ(laterStartMessage({fits})->size(), LaterStartMessageLimit);
    EXPECT_FALSE(laterStartMessage({fits + "x"}));
    EXPECT_EQ(laterStartMessageLength({fits + "x"}), LaterStartMessageLimit + 1);
}

TEST(LaterStart, ChecksumIsTheZipOneAndTheBytesAreTheLibrarysGoldenMessage) {
    EXPECT_EQ(crc32Of(""), 0u);
    EXPECT_EQ(crc32Of("123456789"), 0xCBF43926u);
    // The same bytes stand in the Java library's tests: both sides agree on them.
    std::string golden = "4152473111000000020000000300000061206202000000c39c205df85a";
    std::optional<std::string> message = laterStartMessage({"a b", "\xC3\x9C"});
    ASSERT_TRUE(message);
    std::string hex;
    for (unsigned char byte : *message) {
        hex += "0123456789abcdef"[byte >> 4];
        hex += "0123456789abcdef"[byte & 0xF];
    }
    EXPECT_EQ(hex, golden);
}

TEST(LaterStart, PipeNameOnlyForAWellFormedToken) {
    unsigned char random[16] = {0x00, 0x01, 0xAB, 0xFF, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0};
    std::string token = laterStartToken(random);
    EXPECT_EQ(token, "0001abff102030405060708090a0b0c0");
    EXPECT_EQ(laterStartPipeName(token), "\\\\.\\pipe\\JavaApplicationLauncher-" + token);
    EXPECT_EQ(laterStartPipeName(""), "");
    EXPECT_EQ(laterStartPipeName(std::string(32, '\0')), "");
    EXPECT_EQ(laterStartPipeName(token.substr(1)), "");
    EXPECT_EQ(laterStartPipeName("0001abff102030405060708090a0b0c\\"), "");
    EXPECT_EQ(laterStartChannelOption("\\\\.\\pipe\\P"), "-Dwindowslauncher.instance.channel=\\\\.\\pipe\\P");
}
