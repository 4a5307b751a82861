// Command lines and options split as Windows programs split them, each argument quoted back, and
// the class and module path settings read into entries.
#include <cstdint>
#include <string>

#include "process/argument_file.h"
#include "process/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t previousEnd = 0;
    std::vector<std::string> values;
    for (const ArgumentSpan& argument : splitArguments(text)) {
        if (argument.begin < previousEnd || argument.end < argument.begin || argument.end > text.size()) __builtin_trap();
        previousEnd = argument.end;
        // Quoted back, every argument splits into itself alone.
        std::vector<ArgumentSpan> again = splitArguments(quotedArgument(argument.value));
        if (again.size() != 1 || again[0].value != argument.value) __builtin_trap();
        values.push_back(argument.value);
    }
    if (argumentFileText(values).size() < values.size() * 4) __builtin_trap();
    for (const std::string& entry : pathEntries(text))
        if (entry.empty() || entry.find(';') != std::string::npos) __builtin_trap();
    LaunchSettings settings{"app.jar", "Main", text, "", ""};
    LaunchForm form = launchFormOf(settings, "C:\\App");
    if (form.kind != LaunchKind::MainClass || form.classPath.empty() || form.classPath[0] != "app.jar") __builtin_trap();
    return 0;
}
