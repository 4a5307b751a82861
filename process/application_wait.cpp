#include "process/application_wait.h"

#include <algorithm>

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
        policy.stay = Stay::NotAtAll;
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

void WaitTracker::applicationEnded(std::uint32_t status, std::uint64_t now, std::optional<std::uint64_t> endedAt) {
    if (ended_.ended) return;
    ended_ = ApplicationEnd{true, status};
    // Judged by the moment of the end: a launcher held up by a busy system still sees an
    // early end as one.
    std::uint64_t end = std::min(endedAt.value_or(now), now);
    bool watchRan = !windowFound_ && policy_.watchMilliseconds > 0 && end < policy_.watchMilliseconds;
    bool splashRan = policy_.splash && end < policy_.splashMilliseconds && !(policy_.splashEndsAtWindow && windowFound_);
    endedInStartPhase_ = watchRan || splashRan;
    startFailed_ = policy_.reportFailure && watchRan && status != 0;
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
    if (waitFailed_) return true;
    bool outputSettled = outputEnded_ || drainOver_;
    switch (policy_.stay) {
    case Stay::NotAtAll:
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
    // A launcher that was to return the status but could not see the end never claims success.
    if (!ended_.ended && waitFailed_ && policy_.stay == Stay::UntilApplicationEnds) return 1;
    return 0;
}

namespace {

std::uint64_t saturatingSum(std::uint64_t a, std::uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

} // namespace

WaitOutcome followApplication(const WaitPolicy& policy, bool outputFollowed, WaitSystem& system) {
    WaitTracker tracker(policy);
    if (!outputFollowed) tracker.outputEnded(); // nothing captured: nothing to wait for
    WaitOutcome outcome;
    bool withMessages = true;
    bool lastLookAtTheEnd = false;
    std::uint64_t nextLook = 0;
    auto look = [&](bool allWindows) {
        WindowNews news = system.lookAtWindows(allWindows, tracker.watchingForFailure());
        for (std::string& text : news.runtimeMessages) outcome.runtimeMessages.push_back(std::move(text));
        if (news.applicationWindow) tracker.windowSeen();
    };
    auto noteEnd = [&] {
        ApplicationExit exit = system.applicationExit();
        tracker.applicationEnded(exit.status, system.now(), exit.ranMilliseconds);
    };
    for (;;) {
        std::uint64_t now = system.now();
        tracker.timePassed(now);
        if (tracker.lookingForWindow() && now >= nextLook) {
            look(true);
            // Without messages no shows are reported: all windows are looked at again and again.
            nextLook = saturatingSum(now, withMessages ? system.windowPollMilliseconds() : WindowPollMilliseconds);
            continue;
        }
        if (tracker.done()) {
            // A launcher that was held up may find the application ended meanwhile: that end
            // is still judged by when it happened.
            if (!tracker.applicationRunning() || lastLookAtTheEnd) break;
            lastLookAtTheEnd = true;
            WaitRequest poll;
            poll.application = true;
            poll.timeoutMilliseconds = 0;
            poll.messages = false;
            if (system.wait(poll) != Wake::Application) break;
            noteEnd();
            continue;
        }
        if (!tracker.splashShowing()) system.hideSplash();

        WaitRequest request;
        request.application = tracker.applicationRunning();
        request.outputEnded = tracker.waitsForOutputEnd();
        request.outputArrived = tracker.draining();
        request.messages = withMessages;
        std::uint64_t until = tracker.nextDeadline();
        if (tracker.lookingForWindow()) until = std::min(until, nextLook);
        if (until != UINT64_MAX) request.timeoutMilliseconds = until > now ? until - now : 0;

        switch (system.wait(request)) {
        case Wake::Application:
            noteEnd();
            break;
        case Wake::OutputEnded:
            tracker.outputEnded();
            break;
        case Wake::OutputArrived:
            tracker.outputArrived(system.now());
            break;
        case Wake::Messages:
            system.dispatchMessages();
            if (tracker.lookingForWindow()) look(false);
            break;
        case Wake::TimedOut:
            break;
        case Wake::Failed:
            if (withMessages) {
                system.trace("Waiting with messages failed: waiting for the application alone");
                withMessages = false;
                nextLook = 0;
            } else {
                system.trace("Waiting for the application failed: its end is not known");
                tracker.waitFailed();
                lastLookAtTheEnd = true;
            }
            break;
        }
    }
    // The start-failure report comes next: the splash goes first.
    if (tracker.startFailed()) system.hideSplash();
    outcome.end = tracker.end();
    outcome.startFailed = tracker.startFailed();
    outcome.exitCode = tracker.exitCode();
    return outcome;
}
