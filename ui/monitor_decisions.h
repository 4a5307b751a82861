#pragma once

#include <cstdint>

// The startup monitor's decisions, one tick at a time, apart from the window calls.
struct MonitorFields {
    bool splashActive;
    int splashSecondsLeft;
    bool waitForWindow;
    bool stayAlive;
};

struct SplashTick {
    bool lookForWindow = false; // run the application window check now
    bool hideSplash = false;    // the splash phase is over (stay-alive: one tick after the count)
};

// Counts one splash tick: the count goes down, or, already 0, the splash phase ends.
SplashTick countSplashTick(MonitorFields& fields);

// After the window check: does this tick end the launcher without watching any further?
bool splashEndsLauncher(const MonitorFields& fields);

enum class PollResult {
    Running,     // the application's process still runs
    Ended,       // its process handle is signalled; the status read is its exit status
    Unavailable, // no application process to ask
};

struct PollDecision {
    bool stopTimer = false;
    bool quit = false;
};

// What a poll means: an ended application (whatever its status, 259 included) ends the
// launcher with that status; no process at all only stops the timer.
PollDecision decideAfterPoll(PollResult poll, std::uint32_t status, std::uint32_t& exitCode);

// The launcher's status when the splash time ends it: a running application is a success,
// one that has already ended gives its own status.
std::uint32_t statusAtSplashEnd(PollResult poll, std::uint32_t status);
