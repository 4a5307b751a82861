#pragma once

#include <optional>
#include <string>

// The VM options from the file named after the launcher's executable with ".vmoptions"
// appended; nothing when that file cannot be opened (the compiled-in setting applies then).
std::optional<std::string> readVmOptionsFile(const std::string& executablePath);
