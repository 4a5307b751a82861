#include "base/environment.h"
#include "launcher/variables.h"

std::string expandLauncherVariables(const std::string& text, const std::string& executablePath) {
    if (text.find('%') == std::string::npos) return text;
    return expandVariables(text, [&executablePath](const std::string& name) {
        std::optional<std::string> own = launcherVariable(name, executablePath);
        return own ? own : environmentVariable(name);
    });
}
