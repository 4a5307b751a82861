#include "launcher/settings.h"

#include <windows.h>

#include "base/text_encoding.h"
#include "settings_contract/setting_values.h"

std::string LauncherSettings::text(unsigned id) {
    // Read straight from the string table (block id/16 + 1, entry id%16), as the platform's
    // string loader does, so a launch loads no window library just for its settings.
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC block = FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1), MAKEINTRESOURCEW(6));
    HGLOBAL loaded = block ? LoadResource(module, block) : nullptr;
    const auto* at = static_cast<const wchar_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!at) return std::string();
    const wchar_t* end = at + SizeofResource(module, block) / sizeof(wchar_t);
    for (unsigned entry = 0; entry < id % 16 && at < end; ++entry) at += 1 + *at;
    if (at >= end || *at == 0 || at + 1 + *at > end) return std::string();
    return narrow(at + 1, *at);
}

bool LauncherSettings::flag(unsigned id) { return flagIsOn(text(id)); }

int LauncherSettings::number(unsigned id) { return numberAsRead(text(id)); }
