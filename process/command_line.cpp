#include "process/command_line.h"

#include "base/absolute_path.h"

std::string quotedJar(const std::string& jar) {
    if (jar.find_first_of(" \t") == std::string::npos || jar.find('"') != std::string::npos) return jar;
    // Backslashes right before the closing quote would escape it: they are doubled.
    std::string::size_type trailing = jar.size() - (jar.find_last_not_of('\\') + 1);
    return "\"" + jar + std::string(trailing, '\\') + "\"";
}

std::string quotedArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each must be doubled, and the quote escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

std::vector<ArgumentSpan> splitArguments(const std::string& commandLine) {
    std::vector<ArgumentSpan> arguments;
    std::size_t at = 0;
    const std::size_t size = commandLine.size();
    while (true) {
        while (at < size && (commandLine[at] == ' ' || commandLine[at] == '\t')) ++at;
        if (at == size) return arguments;
        ArgumentSpan argument;
        argument.begin = at;
        bool quoted = false;
        while (at < size && (quoted || (commandLine[at] != ' ' && commandLine[at] != '\t'))) {
            char c = commandLine[at];
            if (c == '\\') {
                std::size_t run = commandLine.find_first_not_of('\\', at);
                std::size_t count = (run == std::string::npos ? size : run) - at;
                at += count;
                if (at < size && commandLine[at] == '"') {
                    argument.value.append(count / 2, '\\');
                    if (count % 2 == 1) {
                        argument.value += '"';
                        ++at;
                    }
                } else {
                    argument.value.append(count, '\\');
                }
                continue;
            }
            if (c == '"') {
                // Inside quotes, "" is a literal quote, as the C runtime reads it.
                if (quoted && at + 1 < size && commandLine[at + 1] == '"') {
                    argument.value += '"';
                    at += 2;
                    continue;
                }
                quoted = !quoted;
                ++at;
                continue;
            }
            argument.value += c;
            ++at;
        }
        argument.end = at;
        arguments.push_back(std::move(argument));
    }
}

std::vector<std::string> pathEntries(const std::string& text) {
    std::vector<std::string> entries;
    std::string::size_type at = 0;
    while (at <= text.size()) {
        std::string::size_type end = text.find(';', at);
        if (end == std::string::npos) end = text.size();
        std::string entry = text.substr(at, end - at);
        std::string::size_type first = entry.find_first_not_of(" \t"), last = entry.find_last_not_of(" \t");
        entry = first == std::string::npos ? std::string() : entry.substr(first, last - first + 1);
        if (entry.size() >= 2 && entry.front() == '"' && entry.back() == '"') entry = entry.substr(1, entry.size() - 2);
        if (!entry.empty()) entries.push_back(entry);
        at = end + 1;
    }
    return entries;
}

std::string entryBelow(const std::string& launcherDirectory, const std::string& entry) {
    return isAbsolutePath(entry) ? entry : launcherDirectory + "\\" + entry;
}

std::string jarEntry(const std::string& jar) {
    std::string entry;
    for (char c : jar)
        if (c != '"') entry += c;
    return entry;
}

LaunchForm launchFormOf(const LaunchSettings& settings, const std::string& launcherDirectory) {
    LaunchForm form;
    form.jar = settings.jar;
    auto below = [&](const std::string& text) {
        std::vector<std::string> entries;
        for (const std::string& entry : pathEntries(text)) entries.push_back(entryBelow(launcherDirectory, entry));
        return entries;
    };
    if (!settings.module.empty()) {
        form.kind = LaunchKind::Module;
        form.module = settings.module;
        form.modulePath = below(settings.modulePath);
    } else if (!settings.mainClass.empty()) {
        form.kind = LaunchKind::MainClass;
        form.mainClass = settings.mainClass;
        if (!settings.jar.empty()) form.classPath.push_back(jarEntry(settings.jar));
        for (std::string& entry : below(settings.classPath)) form.classPath.push_back(std::move(entry));
    }
    return form;
}

std::string quotedPath(const std::vector<std::string>& entries) {
    std::string path;
    for (const std::string& entry : entries) {
        if (!path.empty()) path += ';';
        path += entry;
    }
    return quotedArgument(path);
}

LaunchArguments launchArguments(const LaunchForm& form) {
    switch (form.kind) {
    case LaunchKind::MainClass:
        return {form.classPath.empty() ? std::string() : "-cp " + quotedPath(form.classPath),
                quotedArgument(form.mainClass)};
    case LaunchKind::Module:
        return {form.modulePath.empty() ? std::string() : "-p " + quotedPath(form.modulePath),
                "-m " + quotedArgument(form.module)};
    case LaunchKind::Jar:
        break;
    }
    return {std::string(), "-jar " + quotedJar(form.jar)};
}

std::string javaArguments(const std::string& vmOptions, const std::string& bootClassPath, const LaunchForm& form,
                          const std::string& applicationArguments) {
    std::string arguments = vmOptions;
    if (!bootClassPath.empty()) arguments += " -Xbootclasspath/p:" + bootClassPath;
    LaunchArguments launch = launchArguments(form);
    if (!launch.pathOption.empty()) arguments += " " + launch.pathOption;
    arguments += " " + launch.target;
    if (!applicationArguments.empty()) arguments += " " + applicationArguments;
    return arguments;
}

std::string javaArguments(const std::string& vmOptions, const std::string& bootClassPath, const std::string& jar,
                          const std::string& applicationArguments) {
    LaunchForm form;
    form.jar = jar;
    return javaArguments(vmOptions, bootClassPath, form, applicationArguments);
}

std::string fullCommandLine(const std::string& javaExecutable, const std::string& arguments) {
    return "\"" + javaExecutable + "\" " + arguments;
}
