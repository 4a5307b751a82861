#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "configure/settings/settings_file.h"
#include "settings_contract/splash_picture.h"

// Standard resource types and the launcher's own ids.
constexpr std::uint16_t ResourceTypeBitmap = 2;
constexpr std::uint16_t ResourceTypeString = 6;

// One resource with ordinal type and name.
struct Resource {
    std::uint16_t type;
    std::uint16_t name;
    std::uint16_t language;
    Bytes data;
};

// The string table blocks that hold the configuration's entries (block n holds ids 16(n-1) to
// 16n-1). An absent entry is stored with length 0, which the launcher reads as absent.
std::vector<Resource> stringTableResources(const LauncherConfiguration& configuration);

// The sixteen texts of a string table block, and back (a block of empty texts is no block).
std::vector<std::u16string> stringBlockTexts(const Bytes& block);
Bytes stringBlockBytes(const std::vector<std::u16string>& texts);

// The default splash picture: a 48 x 48, 16-colour bitmap in the plain resource form
// (information header, palette and pixels; no file header).
Bytes defaultSplashBitmap();
