#pragma once

#include <optional>
#include <string>

// The version a runtime reports: the text between the double quotes on the first banner line
// that contains `version "` (java version "1.8.0_391", openjdk version "17.0.15" ...);
// empty when no such line was printed.
std::string versionFromBanner(const std::string& banner);

// Numeric, component-wise comparison: the leading run of digits, '.' and '_' is split at '.'
// and '_' into numbers, a missing component counts as 0, anything after the run is ignored.
// A version without a leading digit meets no minimum; a minimum without one counts as 0.
// 1.N and N (N of 2 or more) are the same version on either side: 8 admits 1.8.0_391.
bool versionAtLeast(const std::string& minimum, const std::string& version);

// True when the version, compared on as many components as the maximum has, is not above it:
// the maximum 1.8 (or 8) admits 1.8.0_392 and refuses 9; 17 admits 17.0.9 and refuses 18. An empty
// maximum admits everything; a version without a leading digit meets no maximum.
bool versionAtMost(const std::string& maximum, const std::string& version);

// The version a runtime's `release` file names on its JAVA_VERSION="..." line; empty when the
// file has no such line.
std::string versionFromReleaseFile(const std::string& text);

// The feature version of a version text: its first number, or its second for 1.N (1.8.0_391 is
// 8, 17.0.15 is 17, 25-ea is 25); nothing when the text does not begin with a digit.
std::optional<int> featureVersionOf(const std::string& version);
