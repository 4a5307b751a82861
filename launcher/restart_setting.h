#pragma once

#include <cstdint>

#include "launcher/restart_policy.h"

// The policy of this launcher's restart_on_exit; a list that cannot be read is traced and
// restarts nothing.
RestartPolicy restartPolicySetting();

// Whether the application that has just ended with `status` starts again; says so in the trace.
[[nodiscard]] bool startsAgain(RestartPolicy& restarts, std::uint32_t status);
