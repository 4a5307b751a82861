#include "launcher/restart_policy.h"

#include <algorithm>

RestartDecision RestartPolicy::decide(std::uint32_t status, std::uint64_t now) {
    if (std::find(statuses_.begin(), statuses_.end(), status) == statuses_.end()) return RestartDecision::End;
    restartTimes_.erase(std::remove_if(restartTimes_.begin(), restartTimes_.end(),
                                       [now](std::uint64_t at) { return now - at >= WindowMilliseconds; }),
                        restartTimes_.end());
    if (restartTimes_.size() >= MaxRestarts) return RestartDecision::LimitReached;
    restartTimes_.push_back(now);
    return RestartDecision::Restart;
}
