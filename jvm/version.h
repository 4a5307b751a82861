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

// The feature version of a version text: its first number, or its second for 1.N (1.8.0_391 is
// 8, 17.0.15 is 17, 25-ea is 25); nothing when the text does not begin with a digit.
std::optional<int> featureVersionOf(const std::string& version);
