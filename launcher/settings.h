#pragma once

#include <string>

// The settings compiled into the launcher's string table (ids in setting_ids.h), read on demand
// as UTF-8; texts of any length are read whole, every character kept.
class LauncherSettings {
public:
    static std::string text(unsigned id);
    static bool flag(unsigned id);  // on when the entry has any text at all
    static int number(unsigned id); // decimal value as atoi reads it; 0 when absent
};
