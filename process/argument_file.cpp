#include "process/argument_file.h"

bool readsArgumentFiles(int featureVersion) { return featureVersion >= 9; }

std::vector<std::string> argumentFileArguments(const std::string& vmOptions, const std::string& bootClassPath,
                                               const LaunchForm& form) {
    std::string options = vmOptions;
    if (!bootClassPath.empty()) options += " -Xbootclasspath/p:" + bootClassPath;
    LaunchArguments launch = launchArguments(form);
    if (!launch.pathOption.empty()) options += " " + launch.pathOption;
    std::vector<std::string> arguments;
    for (ArgumentSpan& argument : splitArguments(options)) arguments.push_back(std::move(argument.value));
    return arguments;
}

std::string argumentFileText(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        text += '"';
        for (char c : argument) {
            if (c == '\\' || c == '"') text += '\\';
            text += c;
        }
        text += "\"\r\n";
    }
    return text;
}

std::string argumentsWithFile(const std::string& argumentFile, const LaunchForm& form,
                              const std::string& applicationArguments) {
    std::string arguments = quotedArgument("@" + argumentFile) + " " + launchArguments(form).target;
    if (!applicationArguments.empty()) arguments += " " + applicationArguments;
    return arguments;
}

namespace {

std::string groupedNumber(std::size_t number) {
    std::string digits = std::to_string(number), grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

} // namespace

std::string commandLineTooLongText(std::size_t length, int featureVersion, bool withArgumentFile) {
    std::string text = "The application cannot start: its Java command line is " + groupedNumber(length) +
                       " characters long, and Windows starts programs with at most " +
                       groupedNumber(CommandLineLimit - 1) + ". ";
    if (withArgumentFile)
        text += "Even with its options in an argument file, what remains (the application's arguments) is too long.";
    else if (featureVersion <= 0)
        text += "The version of the Java runtime is not known, so its options cannot be given in an argument file "
                "(Java 9 and later read one).";
    else
        text += "Java " + std::to_string(featureVersion) +
                " cannot read its options from an argument file; Java 9 and later can.";
    return text;
}
