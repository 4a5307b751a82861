#pragma once

#include <optional>
#include <string>

// The launcher's folder: its path cut at the last backslash. Nothing when the path has none,
// so that no directory is ever formed relative to the drive root by accident.
std::optional<std::string> executableDirectoryOf(const std::string& executablePath);

// The folder the launcher enters: its own folder, a backslash and the configured relative path;
// a configured absolute path as it is.
std::string workingDirectoryOf(const std::string& executableDirectory, const std::string& relative);
