#pragma once

#include <string>

// The version a runtime reports: the text between the double quotes on the first banner line
// that contains `version "` (java version "1.8.0_391", openjdk version "17.0.15" ...);
// empty when no such line was printed.
std::string versionFromBanner(const std::string& banner);

// Numeric, component-wise comparison: the leading run of digits, '.' and '_' is split at '.'
// and '_' into numbers, a missing component counts as 0, anything after the run is ignored.
// A version without a leading digit meets no minimum; a minimum without one counts as 0.
bool versionAtLeast(const std::string& minimum, const std::string& version);
