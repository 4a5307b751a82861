#include "launcher/restart_policy.h"

#include <algorithm>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One status; false for anything but an optional minus and decimal digits within the range.
bool parseStatus(const std::string& text, std::uint32_t& status) {
    std::size_t at = 0;
    bool negative = !text.empty() && text[0] == '-';
    if (negative) at = 1;
    if (at == text.size()) return false;
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(text[at] - '0');
        if (value > 0xFFFFFFFFull) return false; // also stops the count before it could overflow
    }
    if (negative && value > 0x80000000ull) return false;
    status = static_cast<std::uint32_t>(negative ? (0x100000000ull - value) & 0xFFFFFFFFull : value);
    return true;
}

} // namespace

Result<std::vector<std::uint32_t>> parseRestartStatuses(const std::string& text) {
    std::vector<std::uint32_t> statuses;
    if (text.empty()) return statuses;
    std::string::size_type at = 0;
    for (;;) {
        std::string::size_type comma = text.find(',', at);
        std::string item = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        std::string::size_type first = 0, end = item.size();
        while (first < end && isBlank(item[first])) ++first;
        while (end > first && isBlank(item[end - 1])) --end;
        std::uint32_t status = 0;
        if (!parseStatus(item.substr(first, end - first), status))
            return Failure{0, "\"" + item + "\" is not an exit status from -2147483648 to 4294967295"};
        statuses.push_back(status);
        if (comma == std::string::npos) return statuses;
        at = comma + 1;
    }
}

RestartDecision RestartPolicy::decide(std::uint32_t status, std::uint64_t now) {
    if (std::find(statuses_.begin(), statuses_.end(), status) == statuses_.end()) return RestartDecision::End;
    restartTimes_.erase(std::remove_if(restartTimes_.begin(), restartTimes_.end(),
                                       [now](std::uint64_t at) { return now - at >= WindowMilliseconds; }),
                        restartTimes_.end());
    if (restartTimes_.size() >= MaxRestarts) return RestartDecision::LimitReached;
    restartTimes_.push_back(now);
    return RestartDecision::Restart;
}
