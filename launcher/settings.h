#pragma once

#include <string>

// The settings compiled into the launcher's string table (keys and rules in settings_contract/), read on demand
// as UTF-8; texts of any length are read whole, every character kept. Flags and numbers are read
// by the rules of setting_values.h.
class LauncherSettings {
public:
    static std::string text(unsigned id);
    static bool flag(unsigned id);  // flagIsOn: on when the entry has any text at all
    static int number(unsigned id); // numberAsRead: as atoi reads it; 0 when absent
};
