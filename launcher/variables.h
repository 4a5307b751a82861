#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// A variable's value by name; nothing when no variable of that name is defined.
using VariableLookup = std::function<std::optional<std::string>(const std::string& name)>;

// How many bytes of values one expansion may substitute in all; references beyond that stay as
// written, so a hostile options file cannot make the launcher build an endless text.
constexpr std::size_t MaxSubstitutedBytes = 1024 * 1024;

// Replaces each %NAME% in `text` by the value `lookup` gives for NAME. A name that is not
// defined stays as written (its percent signs included), %% gives one %, and a % without a
// closing one stays as it is. Values are taken as they are: a % in a value is not looked at again.
std::string expandVariables(const std::string& text, const VariableLookup& lookup);

// The launcher's own variables, in any letter case: LAUNCHER_DIR (its folder, no trailing
// backslash), LAUNCHER_FILE (its full path), LAUNCHER_NAME (its file name without ".exe").
// Nothing for any other name.
std::optional<std::string> launcherVariable(const std::string& name, const std::string& executablePath);

// expandVariables with the launcher's own variables first, then the process environment.
std::string expandLauncherVariables(const std::string& text, const std::string& executablePath);
