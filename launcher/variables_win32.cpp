#include <windows.h>

#include "base/text_encoding.h"
#include "launcher/variables.h"

std::optional<std::string> environmentVariable(const std::string& name) {
    // '=' cannot be part of a name (the hidden "=C:" entries are no user's variables).
    if (name.find('=') != std::string::npos) return std::nullopt;
    std::wstring wideName = widen(name);
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (length < value.size()) return narrow(value.data(), length);
        value.assign(length, L'\0'); // too small: `length` counts the terminating null too
    }
}

std::string expandLauncherVariables(const std::string& text, const std::string& executablePath) {
    if (text.find('%') == std::string::npos) return text;
    return expandVariables(text, [&executablePath](const std::string& name) {
        std::optional<std::string> own = launcherVariable(name, executablePath);
        return own ? own : environmentVariable(name);
    });
}
