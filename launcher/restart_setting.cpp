#include "launcher/restart_setting.h"

#include <windows.h>

#include <string>

#include "base/setting_ids.h"
#include "launcher/settings.h"
#include "trace/trace_log.h"

RestartPolicy restartPolicySetting() {
    Result<std::vector<std::uint32_t>> statuses = parseRestartStatuses(LauncherSettings::text(SettingRestartOnExit));
    if (statuses) return RestartPolicy(std::move(statuses.value()));
    traceLog().trace("restart_on_exit ignored: " + statuses.failure().what);
    return RestartPolicy({});
}

bool startsAgain(RestartPolicy& restarts, std::uint32_t status) {
    RestartDecision decision = restarts.decide(status, GetTickCount64());
    if (decision == RestartDecision::Restart)
        traceLog().trace("Restart after exit status " + std::to_string(status) + " (restart " +
                         std::to_string(restarts.recentRestarts()) + " within a minute)");
    else if (decision == RestartDecision::LimitReached)
        traceLog().trace("No restart after exit status " + std::to_string(status) + ": " +
                         std::to_string(RestartPolicy::MaxRestarts) + " restarts within a minute");
    return decision == RestartDecision::Restart;
}
