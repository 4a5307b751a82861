#pragma once

#include <string>
#include <vector>

// Java's launcher turns its command line into the ANSI code page before the application sees
// it, so a path with characters that code page lacks reaches the runtime but not the
// application. Where the volume keeps short (8.3) names, the components of such a path that need
// it are given in their short form instead; every path changed, or left because it has none, is
// traced.

// The path as Java can read it: itself when the ANSI code page holds it, otherwise with each
// component the code page lacks in its short form (a relative path is looked up from the current
// directory and stays relative). A component without a usable short name stays as it is.
std::string javaReadablePath(const std::string& path);

// The application's arguments with each one that names an existing file or folder in a form
// Java can read (javaReadablePath, in double quotes as needed); every other argument exactly as given.
std::string javaReadableArguments(const std::string& arguments);
