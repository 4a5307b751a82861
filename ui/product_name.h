#pragma once

#include <string>

// The ProductName of the executable's version resource; empty when it has none.
std::string configuredProductName(const std::string& executablePath);

// The launcher's own product name: the ProductName of its version resource, or its file name
// when it has none. Titles the windows the launcher shows of its own.
std::string productNameOf(const std::string& executablePath);
