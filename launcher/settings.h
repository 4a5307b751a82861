#pragma once

#include <optional>
#include <string>

// The settings compiled into the launcher's string table (ids in setting_ids.h), read on demand;
// texts of any length are read whole.
class LauncherSettings {
public:
    static std::string text(unsigned id);
    static bool flag(unsigned id);  // on when the entry has any text at all
    static int number(unsigned id); // decimal value as atoi reads it; 0 when absent
};

// The launcher's own full path, read whole whatever its length; nothing when it cannot be had.
std::optional<std::string> executablePath();

// True for an existing file or directory (relative paths from the current directory).
bool fileExists(const std::string& path);
