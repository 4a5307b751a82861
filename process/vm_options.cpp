#include "process/vm_options.h"

std::string joinVmOptionLines(const std::string& fileBytes) {
    static const std::string byteOrderMark = "\xEF\xBB\xBF";
    std::string::size_type at = fileBytes.compare(0, 3, byteOrderMark) == 0 ? 3 : 0;
    std::string result;
    for (;;) {
        std::string::size_type end = fileBytes.find('\n', at);
        std::string line = fileBytes.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
        result += line;
        result += ' ';
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return result;
}
