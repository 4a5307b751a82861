#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "configure/resources/resource_data.h"

// Paths are UTF-8 text, on Windows as everywhere; a backslash separates folders on Linux too,
// as Windows users write their settings files.
std::filesystem::path pathOf(const std::string& utf8);

std::optional<Bytes> readFileBytes(const std::string& path);
bool writeFileBytes(const std::string& path, const Bytes& bytes);

// Writes a file that did not exist before, created exclusively (never through a link or over
// another file); false when that name is taken or the bytes cannot be written.
bool writeNewFile(const std::string& path, const Bytes& bytes);
