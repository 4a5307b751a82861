#pragma once

#include <optional>
#include <string>

// Java versions as min_version and max_version name them and as the launcher compares them
// with the versions runtimes report.

// The minimum the launcher asks for when min_version is absent.
inline constexpr const char* DefaultMinimumVersion = "1.3";

// Numeric, component-wise comparison: the leading run of digits, '.' and '_' is split at '.'
// and '_' into numbers, a missing component counts as 0, anything after the run is ignored.
// A version without a leading digit meets no minimum; a minimum without one counts as 0.
// 1.N and N (N of 2 or more) are the same version on either side: 8 admits 1.8.0_391.
bool versionAtLeast(const std::string& minimum, const std::string& version);

// True when the version, compared on as many components as the maximum has, is not above it:
// the maximum 1.8 (or 8) admits 1.8.0_392 and refuses 9; 17 admits 17.0.9 and refuses 18. An empty
// maximum admits everything; a version without a leading digit meets no maximum.
bool versionAtMost(const std::string& maximum, const std::string& version);

// Whether the comparison above reads `text` whole: numbers of at most nine digits separated by
// single '.' or '_' (1.8, 17.0.2, 1.8.0_392). Of any other text only a leading part, or nothing,
// would count.
bool isJavaVersion(const std::string& text);

// Whether some runtime can be at least `minimum` (DefaultMinimumVersion when empty) and at most
// `maximum` (none when empty). Both must be Java versions.
bool versionRangeCanBeMet(const std::string& minimum, const std::string& maximum);

// The feature version of a version text by the same rule: its first number, or its second for
// 1.N (1.8.0_391 is 8, 17.0.15 is 17, 25-ea is 25); nothing when the text does not begin with a
// digit.
std::optional<int> featureVersionOf(const std::string& version);
