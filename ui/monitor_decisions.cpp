#include "ui/monitor_decisions.h"

#include <algorithm>

namespace {

constexpr std::uint32_t SecondsInADay = 24 * 60 * 60;

} // namespace

std::uint32_t startupCheckSeconds(const std::string& text) {
    if (text.empty() || text.size() > 9 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return DefaultStartupCheckSeconds;
    return std::min<std::uint32_t>(static_cast<std::uint32_t>(std::stoul(text)), SecondsInADay);
}

WaitPolicy decideWaitPolicy(const WaitChoices& choices) {
    WaitPolicy policy;
    policy.splash = choices.splash;
    if (choices.splash) {
        policy.splashMilliseconds = 1000u * static_cast<std::uint32_t>(choices.splashSeconds < 1 ? 2 : std::min(choices.splashSeconds, 4294967)); // at most what 32 bits of milliseconds hold
        policy.splashEndsAtWindow = choices.waitForWindow;
    }
    // Only captured output can be reported; a console shows the user the output itself.
    bool captured = !choices.consoleLauncher && !choices.consoleWindow;
    if (captured) policy.watchMilliseconds = 1000u * startupCheckSeconds(choices.startupCheck);
    policy.reportFailure = policy.watchMilliseconds > 0;

    if (choices.stayAlive || choices.consoleLauncher)
        policy.stay = Stay::UntilApplicationEnds;
    else if (choices.debugLog && captured)
        policy.stay = Stay::UntilOutputEnds;
    else if (policy.splash || policy.watchMilliseconds > 0)
        policy.stay = Stay::UntilWindowOrWatchTime;
    else
        policy.stay = Stay::AtOnce;
    return policy;
}

WaitTracker::WaitTracker(const WaitPolicy& policy)
    : policy_(policy), splashOver_(!policy.splash), watchOver_(policy.watchMilliseconds == 0) {}

void WaitTracker::timePassed(std::uint64_t now) {
    if (!splashOver_ && now >= policy_.splashMilliseconds) splashOver_ = true;
    if (!watchOver_ && now >= policy_.watchMilliseconds) watchOver_ = true;
    if (draining() &&
        (now >= endedAt_ + DrainLimitMilliseconds || now >= lastArrival_ + DrainSilenceMilliseconds))
        drainOver_ = true;
}

void WaitTracker::windowSeen() {
    windowFound_ = true;
    watchOver_ = true;
    if (policy_.splashEndsAtWindow) splashOver_ = true;
}

void WaitTracker::applicationEnded(std::uint32_t status, std::uint64_t now) {
    if (ended_.ended) return;
    ended_ = ApplicationEnd{true, status};
    endedInStartPhase_ = !startPhaseOver();
    startFailed_ = policy_.reportFailure && !watchOver_ && !windowFound_ && status != 0;
    // The splash goes before the rest of the output is read.
    splashOver_ = true;
    watchOver_ = true;
    endedAt_ = now;
    lastArrival_ = now;
}

void WaitTracker::outputArrived(std::uint64_t now) { lastArrival_ = std::max(lastArrival_, now); }

void WaitTracker::outputEnded() { outputEnded_ = true; }

bool WaitTracker::lookingForWindow() const {
    if (ended_.ended || windowFound_) return false;
    return !watchOver_ || (splashShowing() && policy_.splashEndsAtWindow);
}

bool WaitTracker::done() const {
    bool outputSettled = outputEnded_ || drainOver_;
    switch (policy_.stay) {
    case Stay::AtOnce:
        return true;
    case Stay::UntilWindowOrWatchTime:
        // A running application is left to itself; an ended one's last output is read first.
        return ended_.ended ? outputSettled : startPhaseOver();
    case Stay::UntilOutputEnds:
        return startPhaseOver() && (outputEnded_ || (ended_.ended && drainOver_));
    case Stay::UntilApplicationEnds:
        return ended_.ended && outputSettled;
    }
    return true;
}

std::uint64_t WaitTracker::nextDeadline() const {
    std::uint64_t next = UINT64_MAX;
    if (!splashOver_) next = std::min<std::uint64_t>(next, policy_.splashMilliseconds);
    if (!watchOver_) next = std::min<std::uint64_t>(next, policy_.watchMilliseconds);
    if (draining())
        next = std::min(next, std::min(endedAt_ + DrainLimitMilliseconds, lastArrival_ + DrainSilenceMilliseconds));
    return next;
}

std::uint32_t WaitTracker::exitCode() const {
    // A stay-alive launcher returns the status; otherwise only an end during the splash or the
    // start watch does, and a launcher that left its application running returns success.
    if (ended_.ended && (endedInStartPhase_ || policy_.stay == Stay::UntilApplicationEnds)) return ended_.status;
    return 0;
}
