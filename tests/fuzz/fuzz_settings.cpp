// Settings files: any bytes are refused with a reason or read; values never exceed their limits,
// hold no control character but tab, follow their key's rule and name the line they stand on,
// and the versions accepted leave some runtime to run.
#include <cstdint>
#include <string>

#include "configure/settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Result<LauncherConfiguration> parsed = parseSettings(std::string(reinterpret_cast<const char*>(data), size));
    if (!parsed) return 0;
    // Each key stands on one line, and every value read has the line it came from.
    for (const auto& [key, line] : parsed.value().lines)
        if (line < 1) __builtin_trap();
    for (const auto& [key, value] : parsed.value().metadata)
        if (!parsed.value().lines.count(key)) __builtin_trap();
    for (const auto& [id, value] : parsed.value().strings) {
        if (value.size() > MaxSettingLength * 3) __builtin_trap();
        for (char c : value)
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) __builtin_trap();
        for (const SettingKey& key : settingKeys()) {
            if (key.id != id) continue;
            if (valueProblem(key.rule, value)) __builtin_trap();
            // The launcher reads a flag by its presence: only one that is on is stored.
            if (key.rule.kind == ValueKind::Flag && value != FlagOnText) __builtin_trap();
        }
    }
    // Some runtime can meet the versions that were accepted.
    const auto& strings = parsed.value().strings;
    auto text = [&](unsigned id) { return strings.count(id) ? strings.at(id) : std::string(); };
    std::string minimum = strings.count(SettingMinimumVersion) ? text(SettingMinimumVersion) : DefaultMinimumVersion;
    if (!versionAtLeast(minimum, minimum) || !versionAtMost(text(SettingMaximumVersion), minimum)) __builtin_trap();
    return 0;
}
