// Texts of the launcher's own settings and options file: variables in them, and the list of
// exit statuses that restart the application.
#include <cstdint>
#include <string>

#include "launcher/restart_policy.h"
#include "launcher/variables.h"
#include "settings_contract/setting_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);

    // Short names are defined, with values that hold percent signs and grow the text.
    VariableLookup lookup = [](const std::string& name) -> std::optional<std::string> {
        if (name.size() > 3) return std::nullopt;
        return name.empty() ? std::string() : std::string(name.size() * 70000, name[0]) + "%" + name + "%";
    };
    std::string expanded = expandVariables(text, lookup);
    if (expanded.size() > text.size() + MaxSubstitutedBytes) __builtin_trap();
    if (text.find('%') == std::string::npos && expanded != text) __builtin_trap();
    VariableLookup nothing = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
    if (expandVariables(text, nothing).size() > text.size()) __builtin_trap();
    launcherVariable(text, text);

    Result<std::vector<std::uint32_t>> statuses = parseExitStatuses(text);
    if (statuses && !text.empty()) {
        std::size_t commas = 0;
        for (char c : text) commas += c == ',';
        if (statuses.value().size() != commas + 1) __builtin_trap();
        RestartPolicy policy(statuses.value());
        for (std::uint64_t now = 0; now < 20; ++now)
            if (policy.decide(statuses.value()[0], now) == RestartDecision::End) __builtin_trap();
        if (policy.recentRestarts() != RestartPolicy::MaxRestarts) __builtin_trap();
    }
    return 0;
}
