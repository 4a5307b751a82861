#include "process/vm_options_file.h"

#include <cstdio>

#include "process/vm_options.h"
#include "trace/trace_log.h"

std::optional<std::string> readVmOptionsFile(const std::string& executablePath) {
    std::string path = executablePath + ".vmoptions";
    traceLog().append("VM options").append(path).endLine();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
    std::fclose(file);
    return joinVmOptionLines(bytes);
}
