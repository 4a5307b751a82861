#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The statuses come from restart_on_exit as parseExitStatuses (setting_values.h) reads it.

enum class RestartDecision {
    End,          // not a restart status: the launcher ends with it
    Restart,      // start the application again
    LimitReached, // a restart status, but too many restarts within the last minute
};

// Whether an application that has ended is started again. At most MaxRestarts restarts within
// any WindowMilliseconds: an application that keeps ending with a restart status right away is
// not started forever. Times are milliseconds of a monotonic clock, given by the caller.
class RestartPolicy {
public:
    static constexpr std::size_t MaxRestarts = 10;
    static constexpr std::uint64_t WindowMilliseconds = 60 * 1000;

    explicit RestartPolicy(std::vector<std::uint32_t> statuses) : statuses_(std::move(statuses)) {}

    // The application ended with `status` at `now`; a Restart is counted.
    [[nodiscard]] RestartDecision decide(std::uint32_t status, std::uint64_t now);
    // Restarts counted within the window that ended at the last decision.
    std::size_t recentRestarts() const { return restartTimes_.size(); }

private:
    std::vector<std::uint32_t> statuses_;
    std::vector<std::uint64_t> restartTimes_; // of the restarts within the window, oldest first
};
