#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// startupCheckSeconds: the seconds of the start watch, as the setting is read.
#include "settings_contract/setting_values.h"

// How long the launcher stays once the application has started, decided once from the settings
// and switches (decideWaitPolicy), and the waiting itself as decisions on events (WaitTracker),
// apart from the window and process calls.

enum class Stay {
    NotAtAll,               // ends right after the start
    UntilWindowOrWatchTime, // until the application's window, the end of the splash and start watch, or its end
    UntilOutputEnds,        // -d: as above, and until the application's output has ended
    UntilApplicationEnds,   // stay-alive and console launchers: until it ends, returning its status
};

// What the settings and switches say, as they are read.
struct WaitChoices {
    bool splash = false;
    int splashSeconds = 0; // the setting's number; less than 1 means 2
    bool waitForWindow = false;
    bool stayAlive = false;
    bool consoleLauncher = false; // the runtime shares the launcher's console
    bool consoleWindow = false;   // -c: the runtime has a console window of its own
    bool debugLog = false;        // -d
    std::string startupCheck;     // startup_check_seconds as written; "" when absent
};

struct WaitPolicy {
    Stay stay = Stay::NotAtAll;
    bool splash = false;
    std::uint32_t splashMilliseconds = 0;
    bool splashEndsAtWindow = false;
    // The start watch: an application that ends with a non-zero status within this time and
    // before it has shown a window failed to start. 0: no watch.
    std::uint32_t watchMilliseconds = 0;
    bool reportFailure = false;
};

WaitPolicy decideWaitPolicy(const WaitChoices& choices);

// After the application has ended, its remaining output is read for at most this long in all,
// and only while some arrives at least every DrainSilenceMilliseconds.
constexpr std::uint32_t DrainLimitMilliseconds = 2000;
constexpr std::uint32_t DrainSilenceMilliseconds = 500;

// How the application ended, as far as the launcher saw it.
struct ApplicationEnd {
    bool ended = false;
    std::uint32_t status = 0;
};

// The waiting as a sequence of events, each with the milliseconds since the application's start.
class WaitTracker {
public:
    explicit WaitTracker(const WaitPolicy& policy);

    void timePassed(std::uint64_t now);
    void windowSeen();
    // `now` is when the launcher noticed the end, `endedAt` when the application ended (the
    // same when not known).
    void applicationEnded(std::uint32_t status, std::uint64_t now, std::optional<std::uint64_t> endedAt = std::nullopt);
    // Neither the messages nor the application can be waited for: the end will not be seen.
    void waitFailed() { waitFailed_ = true; }
    void outputArrived(std::uint64_t now);
    void outputEnded();

    bool splashShowing() const { return policy_.splash && !splashOver_; }
    bool lookingForWindow() const;
    bool draining() const { return ended_.ended && !outputEnded_ && !drainOver_; }
    // Whether the launcher waits for the end of the output (not only while draining).
    bool waitsForOutputEnd() const { return !outputEnded_ && (policy_.stay == Stay::UntilOutputEnds || draining()); }
    bool applicationRunning() const { return !ended_.ended; }
    // Whether the start watch still runs, so that a failure would be reported.
    bool watchingForFailure() const { return policy_.reportFailure && !watchOver_ && !windowFound_; }
    bool done() const;
    // The next moment at which time alone changes something; UINT64_MAX when none.
    std::uint64_t nextDeadline() const;

    ApplicationEnd end() const { return ended_; }
    // The application ended with a non-zero status during the start watch, before any window.
    bool startFailed() const { return startFailed_; }
    std::uint32_t exitCode() const;

private:
    bool startPhaseOver() const { return splashOver_ && watchOver_; }

    WaitPolicy policy_;
    bool splashOver_;
    bool watchOver_;
    bool windowFound_ = false;
    ApplicationEnd ended_;
    bool endedInStartPhase_ = false;
    bool startFailed_ = false;
    std::uint64_t endedAt_ = 0;
    std::uint64_t lastArrival_ = 0;
    bool outputEnded_ = false;
    bool drainOver_ = false;
    bool waitFailed_ = false;
};

// The waiting's view of the system, so that the wait itself is plain logic; the Win32 one
// is WaitSystem in win32_wait_system.cpp.
enum class Wake { Application, OutputEnded, OutputArrived, Messages, TimedOut, Failed };

struct WaitRequest {
    bool application = false;
    bool outputEnded = false;
    bool outputArrived = false;
    std::uint64_t timeoutMilliseconds = UINT64_MAX; // UINT64_MAX: no timeout
    bool messages = true;                           // false: a plain wait on the handles alone
};

// What a look at the application's windows found.
struct WindowNews {
    bool applicationWindow = false;
    // The texts of the runtime's own error boxes, which were closed: they are no window of the
    // application's, and their reason goes into the report.
    std::vector<std::string> runtimeMessages;
};

struct ApplicationExit {
    std::uint32_t status = 1;
    std::optional<std::uint64_t> ranMilliseconds; // from its start to its end, when known
};

class WaitSystem {
public:
    virtual ~WaitSystem() = default;
    // Milliseconds since the application's start.
    virtual std::uint64_t now() = 0;
    [[nodiscard]] virtual Wake wait(const WaitRequest& request) = 0;
    virtual void dispatchMessages() = 0;
    // All windows of the application, or only those shown since the last look; the runtime's
    // error boxes are taken only when `takeRuntimeBoxes`.
    virtual WindowNews lookAtWindows(bool allWindows, bool takeRuntimeBoxes) = 0;
    // How often all windows must be looked at; UINT64_MAX when shows are reported as they come.
    virtual std::uint64_t windowPollMilliseconds() = 0;
    virtual ApplicationExit applicationExit() = 0;
    virtual void hideSplash() = 0;
    virtual void trace(const std::string& text) = 0;
};

// While the splash or the start watch waits for the application's window without reports of
// window shows, all windows are looked at this often.
constexpr std::uint64_t WindowPollMilliseconds = 100;

struct WaitOutcome {
    ApplicationEnd end;
    bool startFailed = false; // show the start-failure report
    std::uint32_t exitCode = 0;
    std::vector<std::string> runtimeMessages;
};

// Waits as the policy says. `outputFollowed`: the application's output is captured and its
// end can be waited for.
WaitOutcome followApplication(const WaitPolicy& policy, bool outputFollowed, WaitSystem& system);
