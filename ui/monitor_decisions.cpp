#include "ui/monitor_decisions.h"

SplashTick countSplashTick(MonitorFields& fields) {
    SplashTick tick;
    if (fields.splashSecondsLeft > 0) {
        --fields.splashSecondsLeft;
        tick.lookForWindow = fields.waitForWindow;
    } else {
        fields.splashActive = false;
        tick.hideSplash = true;
    }
    return tick;
}

bool splashEndsLauncher(const MonitorFields& fields) { return fields.splashSecondsLeft == 0 && !fields.stayAlive; }

PollDecision decideAfterPoll(PollResult poll, std::uint32_t status, std::uint32_t& exitCode) {
    PollDecision decision;
    if (poll == PollResult::Ended) {
        exitCode = status;
        decision.stopTimer = true;
        decision.quit = true;
    } else if (poll == PollResult::Unavailable) {
        decision.stopTimer = true;
    }
    return decision;
}

std::uint32_t statusAtSplashEnd(PollResult poll, std::uint32_t status) { return poll == PollResult::Ended ? status : 0; }
