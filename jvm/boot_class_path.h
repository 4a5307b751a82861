#pragma once

#include <string>
#include <vector>

// One boot class path entry: the jar below the Java home's lib folder, in double quotes.
std::string quoteLibJar(const std::string& javaHome, const std::string& fileName);
// The entries joined with ';', in the order given.
std::string joinBootClassPath(const std::string& javaHome, const std::vector<std::string>& jarNames);

// The boot class path made of the jars in the Java home's lib folder (empty when none).
std::string buildBootClassPath(const std::string& javaHome);
