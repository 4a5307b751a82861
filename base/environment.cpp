#include "base/environment.h"

#include <windows.h>

#include "base/text_encoding.h"

std::optional<std::string> environmentVariable(const std::string& name) {
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
