#pragma once

#include <string>

// The console runtime beside a window runtime: ...\java.exe for ...\javaw.exe (any letter case);
// empty for any other executable.
std::string consoleJavaBeside(const std::string& javaExecutable);
