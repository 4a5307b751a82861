#include "launcher/variables.h"

namespace {

bool equalsIgnoringCase(const std::string& text, const char* upper) {
    std::size_t i = 0;
    for (; i < text.size() && upper[i]; ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != upper[i]) return false;
    }
    return i == text.size() && !upper[i];
}

std::string fileNameOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string expandVariables(const std::string& text, const VariableLookup& lookup) {
    std::string result;
    result.reserve(text.size());
    std::size_t substituted = 0;
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type open = text.find('%', at);
        if (open == std::string::npos) break;
        result.append(text, at, open - at);
        std::string::size_type close = text.find('%', open + 1);
        if (close == std::string::npos) {
            at = open; // unterminated: the rest stays as written
            break;
        }
        at = close + 1;
        if (close == open + 1) {
            result += '%';
            continue;
        }
        std::string name = text.substr(open + 1, close - open - 1);
        std::optional<std::string> value = lookup(name);
        if (value && substituted + value->size() <= MaxSubstitutedBytes) {
            substituted += value->size();
            result += *value;
        } else {
            result.append(text, open, close - open + 1);
        }
    }
    result.append(text, at, std::string::npos);
    return result;
}

std::optional<std::string> launcherVariable(const std::string& name, const std::string& executablePath) {
    if (equalsIgnoringCase(name, "LAUNCHER_FILE")) return executablePath;
    if (equalsIgnoringCase(name, "LAUNCHER_DIR")) {
        std::string::size_type slash = executablePath.find_last_of("\\/");
        return slash == std::string::npos ? std::string() : executablePath.substr(0, slash);
    }
    if (equalsIgnoringCase(name, "LAUNCHER_NAME")) {
        std::string file = fileNameOf(executablePath);
        if (file.size() > 4 && equalsIgnoringCase(file.substr(file.size() - 4), ".EXE")) file.resize(file.size() - 4);
        return file;
    }
    return std::nullopt;
}
