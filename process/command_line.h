#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What process creation takes: a command line of fewer UTF-16 units than this (its end, a NUL,
// is the last one).
constexpr std::size_t CommandLineLimit = 32767;

// The jar as one argument of Java's command line: in double quotes when it holds a blank and
// no quote of its own; a jar written with quotes, or without blanks, as it is.
std::string quotedJar(const std::string& jar);

// One argument as Windows programs split their command line: as it is when it holds no blank,
// tab or quote and is not empty; otherwise in double quotes, a quote inside escaped and the
// backslashes before a quote (or the closing one) doubled, so the program sees it exactly.
std::string quotedArgument(const std::string& argument);

// An argument of a command line and where its text stands in it.
struct ArgumentSpan {
    std::string value;
    std::size_t begin = 0, end = 0;
};

// A command line (or its tail) split as Windows programs split theirs: blanks and tabs separate,
// double quotes group, 2n backslashes before a quote give n and the quote groups, 2n+1 give n and
// a literal quote; other backslashes are literal.
std::vector<ArgumentSpan> splitArguments(const std::string& commandLine);

// How the application is started.
enum class LaunchKind {
    Jar,       // -jar JAR
    MainClass, // -cp CLASS-PATH MAIN-CLASS (no -cp when the class path is empty)
    Module,    // -p MODULE-PATH -m MODULE (no -p when the module path is empty)
};

struct LaunchForm {
    LaunchKind kind = LaunchKind::Jar;
    std::string jar;        // for -jar, as written (relative to the working directory)
    std::string mainClass;
    std::string module;     // module or module/class
    std::vector<std::string> classPath;  // entries as Java gets them, the jar first when given
    std::vector<std::string> modulePath;
};

// The entries of a class or module path setting: separated by ';', blanks around an entry and
// double quotes around it dropped, empty entries left out.
std::vector<std::string> pathEntries(const std::string& text);

// An entry relative to the launcher's folder unless it is absolute (C:\..., \\server\share\...).
std::string entryBelow(const std::string& launcherDirectory, const std::string& entry);

// A jar as a class path entry: the quotes its author may have written around it dropped.
std::string jarEntry(const std::string& jar);

// The settings that say how to start the application, as read (variables already expanded).
struct LaunchSettings {
    std::string jar, mainClass, classPath, module, modulePath;
};

// The launch form the settings give: the module when one is set, else the main class when one
// is set (the jar, when given, first on its class path), else the jar. Path entries are taken
// below the launcher's folder unless absolute; "dir\*" stays for Java to expand.
LaunchForm launchFormOf(const LaunchSettings& settings, const std::string& launcherDirectory);

// The entries joined with ';', as one argument (quotedArgument).
std::string quotedPath(const std::vector<std::string>& entries);

// What follows the options: the class or module path and what to start. `pathOption` is
// "-cp PATH" or "-p PATH" (empty when there is none), `target` "-jar JAR", "MAIN" or "-m MODULE".
struct LaunchArguments {
    std::string pathOption;
    std::string target;
};
LaunchArguments launchArguments(const LaunchForm& form);

// The Java arguments: the VM options verbatim, the boot class path when there is one, the class
// or module path, what to start, and the application's own arguments, when there are any,
// after one blank exactly as they were given.
std::string javaArguments(const std::string& vmOptions, const std::string& bootClassPath, const LaunchForm& form,
                          const std::string& applicationArguments = std::string());
// The same for a jar started with -jar.
std::string javaArguments(const std::string& vmOptions, const std::string& bootClassPath, const std::string& jar,
                          const std::string& applicationArguments = std::string());

// The command line given to process creation: the executable in double quotes, a blank, the arguments.
std::string fullCommandLine(const std::string& javaExecutable, const std::string& arguments);
