#include "launcher/restart_setting.h"

#include <windows.h>

#include <string>

#include "launcher/settings.h"
#include "settings_contract/setting_ids.h"
#include "settings_contract/setting_values.h"
#include "trace/trace_log.h"

RestartPolicy restartPolicySetting() {
    Result<std::vector<std::uint32_t>> statuses = parseExitStatuses(LauncherSettings::text(SettingRestartOnExit));
    if (statuses) return RestartPolicy(std::move(statuses.value()));
    traceLog().trace("restart_on_exit ignored: " + statuses.failure().what);
    return RestartPolicy({});
}

bool startsAgain(RestartPolicy& restarts, std::uint32_t status) {
    RestartDecision decision = restarts.decide(status, GetTickCount64());
    if (decision == RestartDecision::End) return false;
    TraceLog& log = traceLog();
    if (decision == RestartDecision::Restart)
        log.append("Restart after exit status ").append(std::to_string(status)).append(" (restart ")
            .append(std::to_string(restarts.recentRestarts())).append(" within a minute)");
    else
        log.append("No restart after exit status ").append(std::to_string(status)).append(": ")
            .append(std::to_string(RestartPolicy::MaxRestarts)).append(" restarts within a minute");
    log.endLine();
    return decision == RestartDecision::Restart;
}
