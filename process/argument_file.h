#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "process/command_line.h"

// Java 9 and later read arguments from a file named on their command line as @FILE. A command
// line longer than process creation takes goes there in part: the options, the boot class path
// and the class or module path; what to start and the application's arguments stay on the line.

// The runtime reads argument files (its feature version is 9 or more; 0 is unknown).
bool readsArgumentFiles(int featureVersion);

// The arguments for the file: the VM options, the boot class path and the class or module path,
// split as the runtime splits its command line.
std::vector<std::string> argumentFileArguments(const std::string& vmOptions, const std::string& bootClassPath,
                                               const LaunchForm& form);

// The file's text: one argument a line, each in double quotes, a backslash or quote inside
// escaped with a backslash (within quotes a backslash escapes, and # outside them starts a comment).
std::string argumentFileText(const std::vector<std::string>& arguments);

// The Java arguments that name the file instead: @FILE, what to start, the application's arguments.
std::string argumentsWithFile(const std::string& argumentFile, const LaunchForm& form,
                              const std::string& applicationArguments);

// What the user is told when the command line is too long to start, with or without a file:
// its length, the system's limit and why no argument file could take it.
std::string commandLineTooLongText(std::size_t length, int featureVersion, bool withArgumentFile);
