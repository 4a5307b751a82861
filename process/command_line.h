#pragma once

#include <string>
#include <vector>

// The jar as one argument of Java's command line: in double quotes when it holds a blank and
// no quote of its own; a jar written with quotes, or without blanks, as it is.
std::string quotedJar(const std::string& jar);

// The Java arguments: the VM options verbatim, the boot class path when there is one,
// then -jar and the jar (quotedJar), and the application's own arguments, when there are any,
// after one blank exactly as they were given.
std::string javaArguments(const std::string& vmOptions, const std::string& bootClassPath, const std::string& jar,
                          const std::string& applicationArguments = std::string());

// The command line given to process creation: the executable in double quotes, a blank, the arguments.
std::string fullCommandLine(const std::string& javaExecutable, const std::string& arguments);
