#include "ui/cannot_start_text.h"

const char* const JavaDownloadUrl = "https://www.java.com/download/";
const char* const CannotStartCaption = "Application Cannot Start";

namespace {

bool startsWithIgnoringCase(const std::string& text, const char* prefix) {
    std::size_t at = 0;
    for (; prefix[at]; ++at) {
        if (at >= text.size()) return false;
        char c = text[at];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[at]) return false;
    }
    return true;
}

} // namespace

std::string downloadAddress(const std::string& setting) {
    std::size_t scheme = startsWithIgnoringCase(setting, "https://") ? 8 : startsWithIgnoringCase(setting, "http://") ? 7 : 0;
    bool plain = setting.find_first_of(" \t\r\n\"<>") == std::string::npos;
    return scheme && plain && setting.size() > scheme ? setting : JavaDownloadUrl;
}

std::string cannotStartMessage(bool jdkRequired, const std::string& minimumVersion, const std::string& maximumVersion,
                               const std::string& downloadUrl) {
    std::string versions = maximumVersion.empty() ? minimumVersion + " or higher"
                                                  : minimumVersion + " up to " + maximumVersion;
    return std::string("This application cannot start since no appropriate JVM was found.\n") +
           (jdkRequired ? "It is required to have JDK version " : "It is required to have JRE version ") + versions +
           " installed on your computer.\n" + "Please go to " + downloadUrl + " for installation instructions.";
}

std::string cannotStartCaption(const std::string& productName) {
    return productName.empty() ? CannotStartCaption : productName + " - " + CannotStartCaption;
}
