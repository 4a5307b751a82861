#include <gtest/gtest.h>

#include "process/application_wait.h"

namespace {

WaitChoices plain() { return WaitChoices{}; }

WaitChoices with(void (*change)(WaitChoices&)) {
    WaitChoices choices;
    change(choices);
    return choices;
}

} // namespace

TEST(WaitPolicy, OneStayForEachConfiguration) {
    struct Case {
        const char* what;
        WaitChoices choices;
        Stay stay;
        bool report;
    } cases[] = {
        {"plain", plain(), Stay::UntilWindowOrWatchTime, true},
        {"plain, watch off", with([](WaitChoices& c) { c.startupCheck = std::string("0"); }), Stay::NotAtAll, false},
        {"splash, watch off", with([](WaitChoices& c) { c.startupCheck = std::string("0"), c.splash = true; }),
         Stay::UntilWindowOrWatchTime, false},
        {"stay-alive", with([](WaitChoices& c) { c.stayAlive = true; }), Stay::UntilApplicationEnds, true},
        {"-d", with([](WaitChoices& c) { c.debugLog = true; }), Stay::UntilOutputEnds, true},
        {"-d, watch off", with([](WaitChoices& c) { c.debugLog = true, c.startupCheck = std::string("0"); }), Stay::UntilOutputEnds,
         false},
        {"-d with stay-alive", with([](WaitChoices& c) { c.debugLog = true, c.stayAlive = true; }),
         Stay::UntilApplicationEnds, true},
        {"console launcher", with([](WaitChoices& c) { c.consoleLauncher = true; }), Stay::UntilApplicationEnds, false},
        {"-c", with([](WaitChoices& c) { c.consoleWindow = true; }), Stay::NotAtAll, false},
    };
    for (const Case& c : cases) {
        WaitPolicy policy = decideWaitPolicy(c.choices);
        EXPECT_EQ(policy.stay, c.stay) << c.what;
        EXPECT_EQ(policy.reportFailure, c.report) << c.what;
    }
}

TEST(WaitPolicy, WatchAndSplashTimes) {
    EXPECT_EQ(decideWaitPolicy(plain()).watchMilliseconds, 10000u);
    EXPECT_EQ(decideWaitPolicy(with([](WaitChoices& c) { c.startupCheck = std::string("3"); })).watchMilliseconds, 3000u);
    for (const char* notANumber : {"-1", "3s", " 3", "abc", "+3", ""})
        EXPECT_EQ(startupCheckSeconds(notANumber), DefaultStartupCheckSeconds) << notANumber;
    EXPECT_EQ(startupCheckSeconds("999999999"), 86400u);
    EXPECT_EQ(startupCheckSeconds("9999999999"), 86400u);
    for (const char* zero : {"0", "-0", "0000000000"}) EXPECT_EQ(startupCheckSeconds(zero), 0u) << zero; // off, as the tool writes it
    for (int seconds : {0, -4}) {
        WaitChoices splash;
        splash.splash = true;
        splash.splashSeconds = seconds;
        EXPECT_EQ(decideWaitPolicy(splash).splashMilliseconds, 2000u) << seconds;
    }
    // Beyond what 32 bits of milliseconds hold (about 49.7 days) the time stays the longest one.
    for (int seconds : {4294967, 4294968, 5000000, 2147483647}) {
        WaitChoices longest;
        longest.splash = true;
        longest.splashSeconds = seconds;
        EXPECT_EQ(decideWaitPolicy(longest).splashMilliseconds, 4294967000u) << seconds;
    }
    WaitChoices one = with([](WaitChoices& c) { c.splash = true, c.splashSeconds = 1, c.waitForWindow = true; });
    EXPECT_EQ(decideWaitPolicy(one).splashMilliseconds, 1000u);
    EXPECT_TRUE(decideWaitPolicy(one).splashEndsAtWindow);
}

TEST(WaitTracker, AFailureWithinTheWatchIsReportedAfterTheLastOutput) {
    WaitTracker tracker(decideWaitPolicy(plain()));
    EXPECT_TRUE(tracker.lookingForWindow());
    tracker.timePassed(300);
    tracker.applicationEnded(1, 300);
    EXPECT_TRUE(tracker.startFailed());
    EXPECT_FALSE(tracker.done()); // its last output is read first
    EXPECT_TRUE(tracker.draining());
    tracker.outputEnded();
    EXPECT_TRUE(tracker.done());
    EXPECT_EQ(tracker.exitCode(), 1u);
}

TEST(WaitTracker, NoReportAfterAWindowAfterTheWatchOrForSuccess) {
    WaitTracker windowFirst(decideWaitPolicy(with([](WaitChoices& c) { c.stayAlive = true; })));
    windowFirst.windowSeen();
    EXPECT_FALSE(windowFirst.lookingForWindow());
    windowFirst.applicationEnded(1, 500);
    EXPECT_FALSE(windowFirst.startFailed());
    EXPECT_EQ(windowFirst.exitCode(), 1u);

    WaitTracker late(decideWaitPolicy(with([](WaitChoices& c) { c.stayAlive = true, c.startupCheck = std::string("1"); })));
    late.timePassed(1000);
    late.applicationEnded(1, 2500);
    EXPECT_FALSE(late.startFailed());

    WaitTracker success(decideWaitPolicy(plain()));
    success.applicationEnded(0, 100);
    EXPECT_FALSE(success.startFailed());

    WaitTracker off(decideWaitPolicy(with([](WaitChoices& c) { c.splash = true, c.startupCheck = std::string("0"); })));
    off.applicationEnded(1, 100);
    EXPECT_FALSE(off.startFailed());
    EXPECT_EQ(off.exitCode(), 1u); // ended during the splash: its status, as before
}

TEST(WaitTracker, APlainLauncherLeavesARunningApplicationAtItsWindowOrTheWatchTime) {
    WaitTracker window(decideWaitPolicy(plain()));
    EXPECT_FALSE(window.done());
    EXPECT_EQ(window.nextDeadline(), 10000u);
    window.windowSeen();
    EXPECT_TRUE(window.done());
    EXPECT_EQ(window.exitCode(), 0u);

    WaitTracker time(decideWaitPolicy(plain()));
    time.timePassed(9999);
    EXPECT_FALSE(time.done());
    time.timePassed(10000);
    EXPECT_TRUE(time.done());
    EXPECT_EQ(time.exitCode(), 0u);
}

TEST(WaitTracker, SplashAndWatchBothEndBeforeAPlainLauncherDoes) {
    WaitTracker tracker(decideWaitPolicy(with([](WaitChoices& c) { c.splash = true, c.splashSeconds = 3; })));
    EXPECT_TRUE(tracker.splashShowing());
    tracker.windowSeen(); // without wait_for_window the splash keeps its time
    EXPECT_TRUE(tracker.splashShowing());
    EXPECT_FALSE(tracker.done());
    EXPECT_EQ(tracker.nextDeadline(), 3000u);
    tracker.timePassed(3000);
    EXPECT_FALSE(tracker.splashShowing());
    EXPECT_TRUE(tracker.done());

    WaitTracker atWindow(decideWaitPolicy(
        with([](WaitChoices& c) { c.splash = true, c.splashSeconds = 30, c.waitForWindow = true, c.startupCheck = std::string("0"); })));
    EXPECT_TRUE(atWindow.lookingForWindow());
    atWindow.windowSeen();
    EXPECT_FALSE(atWindow.splashShowing());
    EXPECT_TRUE(atWindow.done());
}

TEST(WaitTracker, DebugLogWaitsForTheOutputButKeepsTheExitCode) {
    WaitTracker tracker(decideWaitPolicy(with([](WaitChoices& c) { c.debugLog = true; })));
    tracker.windowSeen();
    EXPECT_FALSE(tracker.done());
    EXPECT_TRUE(tracker.waitsForOutputEnd());
    tracker.applicationEnded(3, 20000);
    tracker.outputEnded();
    EXPECT_TRUE(tracker.done());
    EXPECT_EQ(tracker.exitCode(), 0u); // what it would be without -d: the window ended the wait

    WaitTracker closedEarly(decideWaitPolicy(with([](WaitChoices& c) { c.debugLog = true; })));
    closedEarly.outputEnded();
    EXPECT_FALSE(closedEarly.done()); // still watching the start
    closedEarly.timePassed(10000);
    EXPECT_TRUE(closedEarly.done());
}

TEST(WaitTracker, TheDrainIsBoundedInAllAndBySilence) {
    WaitTracker steady(decideWaitPolicy(with([](WaitChoices& c) { c.stayAlive = true; })));
    steady.applicationEnded(4, 1000);
    for (std::uint64_t now = 1100; now < 3000; now += 100) {
        steady.outputArrived(now);
        steady.timePassed(now);
        EXPECT_FALSE(steady.done()) << now;
        EXPECT_LE(steady.nextDeadline(), 3000u);
    }
    steady.timePassed(3000);
    EXPECT_TRUE(steady.done());
    EXPECT_EQ(steady.exitCode(), 4u);

    WaitTracker quiet(decideWaitPolicy(with([](WaitChoices& c) { c.stayAlive = true; })));
    quiet.applicationEnded(0, 1000);
    quiet.outputArrived(1200);
    EXPECT_EQ(quiet.nextDeadline(), 1200u + DrainSilenceMilliseconds);
    quiet.timePassed(1200 + DrainSilenceMilliseconds);
    EXPECT_TRUE(quiet.done());
}

TEST(WaitTracker, AStayAliveLauncherWaitsForTheEndWhateverTheStatus) {
    for (std::uint32_t status : {0u, 3u, 259u}) {
        WaitTracker tracker(decideWaitPolicy(with([](WaitChoices& c) { c.stayAlive = true; })));
        tracker.timePassed(60000);
        EXPECT_FALSE(tracker.done());
        EXPECT_EQ(tracker.nextDeadline(), UINT64_MAX);
        tracker.applicationEnded(status, 60000);
        tracker.outputEnded();
        EXPECT_TRUE(tracker.done());
        EXPECT_EQ(tracker.exitCode(), status);
    }
}

namespace {

// A system whose waits answer from a script: each answer moves the clock first.
struct ScriptedWait {
    std::uint64_t at;
    Wake wake;
};

class ScriptedSystem : public WaitSystem {
public:
    std::uint64_t clock = 0;
    std::vector<ScriptedWait> script;
    std::size_t next = 0;
    ApplicationExit exit;
    std::vector<WindowNews> looks; // handed out one per look at all windows
    std::vector<WaitRequest> requests;
    std::vector<bool> boxesTaken; // takeRuntimeBoxes of each look
    std::vector<std::string> traces;
    int fullLooks = 0;

    std::uint64_t now() override { return clock; }
    Wake wait(const WaitRequest& request) override {
        requests.push_back(request);
        if (next == script.size()) {
            ADD_FAILURE() << "waited past the script";
            return Wake::Failed;
        }
        clock = std::max(clock, script[next].at);
        return script[next++].wake;
    }
    void dispatchMessages() override {}
    WindowNews lookAtWindows(bool allWindows, bool takeRuntimeBoxes) override {
        boxesTaken.push_back(takeRuntimeBoxes);
        if (!allWindows) return WindowNews{};
        ++fullLooks;
        if (looks.empty()) return WindowNews{};
        WindowNews news = looks.front();
        looks.erase(looks.begin());
        return news;
    }
    std::uint64_t windowPollMilliseconds() override { return UINT64_MAX; }
    ApplicationExit applicationExit() override { return exit; }
    void hideSplash() override {}
    void trace(const std::string& text) override { traces.push_back(text); }
};

WaitChoices stayAlive() { return with([](WaitChoices& c) { c.stayAlive = true; }); }

} // namespace

TEST(FollowApplication, AFailedMessageWaitFallsBackToAPlainWaitThatStillSeesTheEnd) {
    ScriptedSystem system;
    system.script = {{0, Wake::Failed}, {100, Wake::TimedOut}, {300, Wake::Application}};
    system.exit = ApplicationExit{3, 300};
    WaitOutcome outcome = followApplication(decideWaitPolicy(stayAlive()), false, system);
    EXPECT_TRUE(outcome.end.ended);
    EXPECT_EQ(outcome.exitCode, 3u);
    EXPECT_TRUE(outcome.startFailed);
    ASSERT_EQ(system.requests.size(), 3u);
    EXPECT_TRUE(system.requests[0].messages);
    EXPECT_FALSE(system.requests[1].messages);
    EXPECT_FALSE(system.requests[2].messages);
    // Without messages no shows are reported: the windows are looked at on a timer instead.
    EXPECT_LE(system.requests[1].timeoutMilliseconds, WindowPollMilliseconds);
    EXPECT_GE(system.fullLooks, 3);
    EXPECT_EQ(system.traces, std::vector<std::string>{"Waiting with messages failed: waiting for the application alone"});
}

TEST(FollowApplication, WhenNoWaitWorksTheEndIsNotClaimed) {
    ScriptedSystem system;
    system.script = {{0, Wake::Failed}, {0, Wake::Failed}};
    WaitOutcome outcome = followApplication(decideWaitPolicy(stayAlive()), false, system);
    EXPECT_FALSE(outcome.end.ended);
    EXPECT_EQ(outcome.exitCode, 1u); // a stay-alive launcher must not return success
    ASSERT_EQ(system.traces.size(), 2u);
    EXPECT_EQ(system.traces[1], "Waiting for the application failed: its end is not known");
}

TEST(FollowApplication, AnEarlyEndIsJudgedByWhenItHappenedNotWhenItWasNoticed) {
    // Held up for 10.3 s, the launcher finds the watch over and an application that ended
    // with 2 after 600 ms: that is still a failed start.
    ScriptedSystem system;
    system.script = {{10300, Wake::Messages}, {10300, Wake::Application}, {10300, Wake::OutputEnded}};
    system.exit = ApplicationExit{2, 600};
    WaitOutcome outcome = followApplication(decideWaitPolicy(plain()), true, system);
    EXPECT_TRUE(outcome.startFailed);
    EXPECT_EQ(outcome.exitCode, 2u);
    ASSERT_GE(system.requests.size(), 2u);
    EXPECT_EQ(system.requests[1].timeoutMilliseconds, 0u); // a last look at the process

    ScriptedSystem later;
    later.script = {{10300, Wake::Messages}, {10300, Wake::Application}, {10300, Wake::OutputEnded}};
    later.exit = ApplicationExit{2, 10200};
    outcome = followApplication(decideWaitPolicy(plain()), true, later);
    EXPECT_FALSE(outcome.startFailed);
    EXPECT_EQ(outcome.exitCode, 0u);
}

TEST(FollowApplication, TheRuntimesErrorBoxesAreTakenOnlyWhileAFailureWouldBeReported) {
    ScriptedSystem system;
    WindowNews box;
    box.runtimeMessages = {"Error: Unable to access jarfile app.jar"};
    system.looks = {box};
    system.script = {{200, Wake::Application}, {250, Wake::OutputEnded}};
    system.exit = ApplicationExit{1, 200};
    WaitOutcome outcome = followApplication(decideWaitPolicy(plain()), true, system);
    EXPECT_TRUE(outcome.startFailed);
    EXPECT_EQ(outcome.runtimeMessages, box.runtimeMessages);
    EXPECT_EQ(system.boxesTaken, std::vector<bool>{true});

    // No watch: the box stays for the user, and the splash ends at it as at any window.
    ScriptedSystem unwatched;
    WindowNews window;
    window.applicationWindow = true;
    unwatched.looks = {window};
    unwatched.script = {{5000, Wake::TimedOut}};
    WaitChoices choices = with([](WaitChoices& c) {
        c.splash = true;
        c.splashSeconds = 5;
        c.waitForWindow = true;
    });
    WaitPolicy policy = decideWaitPolicy(choices);
    policy.watchMilliseconds = 0;
    policy.reportFailure = false;
    outcome = followApplication(policy, false, unwatched);
    EXPECT_FALSE(outcome.startFailed);
    EXPECT_EQ(unwatched.boxesTaken, std::vector<bool>{false});
    // The window ended the splash and the wait, after one last look at the process.
    ASSERT_EQ(unwatched.requests.size(), 1u);
    EXPECT_EQ(unwatched.requests[0].timeoutMilliseconds, 0u);
}
