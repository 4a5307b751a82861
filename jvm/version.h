#pragma once

#include <optional>
#include <string>

// Versions compare by the one rule of the settings (versionAtLeast, versionAtMost).
#include "settings_contract/java_version.h"

// The version a runtime reports: the text between the double quotes on the first banner line
// that contains `version "` (java version "1.8.0_391", openjdk version "17.0.15" ...);
// empty when no such line was printed.
std::string versionFromBanner(const std::string& banner);

// The version a runtime's `release` file names on its JAVA_VERSION="..." line; empty when the
// file has no such line.
std::string versionFromReleaseFile(const std::string& text);
