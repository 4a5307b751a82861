#pragma once

#include <optional>
#include <string>

// The text of an options file as UTF-8, in whatever encoding an editor saved it; nothing when it
// cannot be opened, is larger than any options file, or is text in no encoding it can have (those
// two traced, naming the file).
std::optional<std::string> readOptionsFileText(const std::string& path);

// The text of the file named after the launcher's executable with ".vmoptions"
// appended (its lines, not yet joined); nothing when that file cannot be read (the compiled-in
// setting applies then).
std::optional<std::string> readVmOptionsFile(const std::string& executablePath);
