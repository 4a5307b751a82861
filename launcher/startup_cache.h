#pragma once

#include <string>
#include <vector>

#include "launcher/launch_state.h"

// The startup cache for one start: the options to add after the VM options (empty when none),
// and the trace lines that say which and why.
struct StartupCacheChoice {
    std::string options;
    std::vector<std::string> trace;
};

// With startup_cache on: the cache in %LOCALAPPDATA%\<product or launcher name>\startup-cache that
// the chosen runtime supports, made by this start or used by it; outdated caches of the
// application are removed. Whatever fails (a folder that cannot be written, a runtime of unknown
// version) leaves the start without a cache. Nothing, not even a trace, when the setting is off.
StartupCacheChoice chooseStartupCache(const LaunchState& state, const JavaRuntime& runtime);
