#pragma once

#include <optional>
#include <string>

#include "configure/resources/resource_data.h"

std::optional<Bytes> readFileBytes(const std::string& path);
bool writeFileBytes(const std::string& path, const Bytes& bytes);
