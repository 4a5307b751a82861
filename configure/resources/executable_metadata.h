#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "configure/resources/resource_data.h"

constexpr std::uint16_t ResourceTypeIcon = 3;
constexpr std::uint16_t ResourceTypeGroupIcon = 14;
constexpr std::uint16_t ResourceTypeVersion = 16;
constexpr std::uint16_t ResourceTypeManifest = 24;

// Real icon files hold a handful of sizes; more images than this are refused.
constexpr std::size_t MaxIconImages = 64;

// The icon group and its images made from an .ico file: RT_GROUP_ICON 1 naming RT_ICON 1..n.
// The reason instead when the bytes are not an icon file.
Result<std::vector<Resource>> iconResources(const Bytes& icoFile);

// A neutral 32 x 32 icon file for launchers that name none.
Bytes defaultIconFile();

// The version resource (RT_VERSION 1) from the configuration's metadata, with neutral texts
// where it names none.
Resource versionResource(const std::map<std::string, std::string>& metadata);

// The application manifest (RT_MANIFEST 1): runs as the invoker with no elevation prompt,
// declares the supported systems, common controls 6 and per-monitor DPI awareness.
Resource manifestResource();
extern const char* const LauncherManifest;
