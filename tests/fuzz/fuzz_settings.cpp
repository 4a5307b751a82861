// Settings files: any bytes are refused with a reason or read; values never exceed their limits.
#include <cstdint>
#include <string>

#include "configure/settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<LauncherConfiguration> parsed = parseSettings(std::string(reinterpret_cast<const char*>(data), size));
    if (parsed)
        for (const auto& [id, value] : parsed.value().strings)
            if (value.size() > MaxSettingLength * 3 || value.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    return 0;
}
