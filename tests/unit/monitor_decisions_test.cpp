#include <gtest/gtest.h>

#include "ui/monitor_decisions.h"

namespace {

// Ticks until the splash phase ends the launcher; returns that tick, or 0 when it never does.
int tickThatEndsLauncher(MonitorFields fields, int ticks) {
    for (int tick = 1; tick <= ticks; ++tick) {
        if (!fields.splashActive) return 0;
        countSplashTick(fields);
        if (splashEndsLauncher(fields)) return tick;
    }
    return 0;
}

} // namespace

TEST(MonitorDecisions, WithoutStayAliveTheSplashEndsTheLauncherAtTickN) {
    EXPECT_EQ(tickThatEndsLauncher({true, 1, false, false}, 5), 1);
    EXPECT_EQ(tickThatEndsLauncher({true, 3, false, false}, 5), 3);
    EXPECT_EQ(tickThatEndsLauncher({true, 3, false, true}, 10), 0);
}

TEST(MonitorDecisions, CountingTicksLookForWindowsAndStayAliveHidesAtTickNPlusOne) {
    MonitorFields fields{true, 2, true, true};
    SplashTick first = countSplashTick(fields);
    EXPECT_TRUE(first.lookForWindow);
    EXPECT_FALSE(first.hideSplash);
    SplashTick second = countSplashTick(fields);
    EXPECT_TRUE(second.lookForWindow);
    EXPECT_EQ(fields.splashSecondsLeft, 0);
    EXPECT_TRUE(fields.splashActive);
    SplashTick third = countSplashTick(fields);
    EXPECT_FALSE(third.lookForWindow);
    EXPECT_TRUE(third.hideSplash);
    EXPECT_FALSE(fields.splashActive);
}

TEST(MonitorDecisions, WindowsAreOnlyLookedForWhenAskedFor) {
    MonitorFields fields{true, 3, false, false};
    EXPECT_FALSE(countSplashTick(fields).lookForWindow);
}

TEST(MonitorDecisions, AnEndedApplicationEndsTheLauncherWithItsStatus) {
    for (std::uint32_t status : {0u, 3u, 259u}) {
        std::uint32_t exitCode = 0;
        PollDecision decision = decideAfterPoll(PollResult::Ended, status, exitCode);
        EXPECT_TRUE(decision.stopTimer);
        EXPECT_TRUE(decision.quit);
        EXPECT_EQ(exitCode, status);
    }
}

TEST(MonitorDecisions, RunningKeepsWatchingAndNoProcessOnlyStopsTheTimer) {
    std::uint32_t exitCode = 0;
    PollDecision running = decideAfterPoll(PollResult::Running, 259, exitCode);
    EXPECT_FALSE(running.stopTimer);
    EXPECT_FALSE(running.quit);
    EXPECT_EQ(exitCode, 0u);
    PollDecision missing = decideAfterPoll(PollResult::Unavailable, 0, exitCode);
    EXPECT_TRUE(missing.stopTimer);
    EXPECT_FALSE(missing.quit);
    EXPECT_EQ(exitCode, 0u);
}

TEST(MonitorDecisions, SplashEndReturnsSuccessForARunningApplication) {
    EXPECT_EQ(statusAtSplashEnd(PollResult::Running, 259), 0u);
    EXPECT_EQ(statusAtSplashEnd(PollResult::Ended, 7), 7u);
    EXPECT_EQ(statusAtSplashEnd(PollResult::Ended, 259), 259u);
}
