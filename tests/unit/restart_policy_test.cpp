#include <gtest/gtest.h>

#include "launcher/restart_policy.h"
#include "settings_contract/setting_values.h"

namespace {

std::vector<std::uint32_t> statuses(const std::string& text) {
    Result<std::vector<std::uint32_t>> parsed = parseExitStatuses(text);
    EXPECT_TRUE(parsed.ok()) << text;
    return parsed.ok() ? parsed.value() : std::vector<std::uint32_t>{};
}

bool unreadable(const std::string& text) { return !parseExitStatuses(text).ok(); }

} // namespace

TEST(RestartStatuses, CommaSeparatedWithBlanksAroundEach) {
    EXPECT_EQ(statuses("3"), std::vector<std::uint32_t>{3});
    EXPECT_EQ(statuses("3,17, 250 ,\t0"), (std::vector<std::uint32_t>{3, 17, 250, 0}));
    EXPECT_EQ(statuses("007"), std::vector<std::uint32_t>{7});
    EXPECT_EQ(statuses(""), std::vector<std::uint32_t>{});
}

TEST(RestartStatuses, NegativeStatusesAreTheirTwosComplement) {
    // System.exit(-1) ends the process with 4294967295.
    EXPECT_EQ(statuses("-1"), std::vector<std::uint32_t>{4294967295u});
    EXPECT_EQ(statuses("-2147483648, 4294967295, -0"), (std::vector<std::uint32_t>{2147483648u, 4294967295u, 0}));
}

TEST(RestartStatuses, AnythingElseIsUnreadable) {
    for (const char* text : {"abc", "3,", ",3", "3,,4", " ", "3 4", "+3", "--1", "-", "3.0", "0x10", "4294967296",
                             "-2147483649", "99999999999999999999999", "3;4"})
        EXPECT_TRUE(unreadable(text)) << text;
    Result<std::vector<std::uint32_t>> parsed = parseExitStatuses("3, x ");
    ASSERT_FALSE(parsed.ok());
    EXPECT_EQ(parsed.failure().what, "\" x \" is not an exit status from -2147483648 to 4294967295");
}

TEST(RestartPolicy, RestartsOnlyOnListedStatuses) {
    RestartPolicy policy({3, 4294967295u});
    EXPECT_EQ(policy.decide(0, 1000), RestartDecision::End);
    EXPECT_EQ(policy.decide(3, 2000), RestartDecision::Restart);
    EXPECT_EQ(policy.decide(4294967295u, 3000), RestartDecision::Restart);
    EXPECT_EQ(policy.decide(1, 4000), RestartDecision::End);
    EXPECT_EQ(policy.recentRestarts(), 2u);
    EXPECT_EQ(RestartPolicy({}).decide(3, 0), RestartDecision::End);
}

TEST(RestartPolicy, AtMostTenRestartsWithinAnyMinute) {
    RestartPolicy policy({3});
    std::uint64_t now = 5000;
    for (int i = 0; i < 10; ++i, now += 1000) EXPECT_EQ(policy.decide(3, now), RestartDecision::Restart) << i;
    EXPECT_EQ(policy.recentRestarts(), 10u);
    EXPECT_EQ(policy.decide(3, now), RestartDecision::LimitReached);
    // A refusal is no restart: it does not count.
    EXPECT_EQ(policy.recentRestarts(), 10u);
    // The first restart (at 5000) leaves the minute at 65000; one more is allowed then, not before.
    EXPECT_EQ(policy.decide(3, 64999), RestartDecision::LimitReached);
    EXPECT_EQ(policy.decide(3, 65000), RestartDecision::Restart);
    EXPECT_EQ(policy.decide(3, 65001), RestartDecision::LimitReached);
}

TEST(RestartPolicy, SlowRestartsNeverReachTheLimit) {
    RestartPolicy policy({3});
    for (std::uint64_t i = 0; i < 100; ++i) EXPECT_EQ(policy.decide(3, i * 7000), RestartDecision::Restart) << i;
    EXPECT_LE(policy.recentRestarts(), 9u);
}
