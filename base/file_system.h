#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "base/result.h"

// Paths are UTF-8. The launcher's own full path, read whole whatever its length; nothing when it
// cannot be had.
std::optional<std::string> executablePath();

// True for an existing file or directory (relative paths from the current directory).
bool fileExists(const std::string& path);

// The full path of a path relative to the current directory (the path itself when that fails).
std::string fullPathOf(const std::string& path);

// A file's bytes whole; nothing when it cannot be read or holds more than `limit` bytes.
std::optional<std::string> readWholeFile(const std::string& path, std::size_t limit);

// Makes `directory` the current directory.
Result<void> enterDirectory(const std::string& directory);
