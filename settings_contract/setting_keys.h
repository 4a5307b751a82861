#pragma once

#include <string>
#include <vector>

#include "settings_contract/setting_ids.h"
#include "settings_contract/setting_values.h"

// Every key of a settings file, once: the launcher reads the string table entries by these
// ids and rules, the configuration tool writes only values that follow them, and the Maven plugin
// and make-launcher take the table from here (launcher-resgen --key-table writes it).
//
// To add a setting: give it an id in setting_ids.h and one entry in settingKeys()
// (setting_keys.cpp); the rule decides what the tool accepts, the launcher reads it with
// LauncherSettings and the readings of setting_values.h.
struct SettingKey {
    const char* name;       // the key in a settings file
    unsigned id;            // its string table id; 0 for the keys that describe the executable
    ValueRule rule;
    const char* whenAbsent; // what the launcher does without it, in a few words
    const char* meaning;
};

// The keys of the launcher's string table, in the order of their ids.
const std::vector<SettingKey>& settingKeys();

// The keys that describe the executable itself: its icon and its version resource.
const std::vector<SettingKey>& metadataKeys();

// The key of that name, of either table; nullptr when there is none.
const SettingKey* findSettingKey(const std::string& name);

// Both tables for other programs (the Maven plugin, tests): a line of tab-separated columns
// naming them, then one line a key: name, id (0 for the executable's keys), kind, least and most
// (numbers only, otherwise empty), what the launcher does without it.
std::string keyTableText();
