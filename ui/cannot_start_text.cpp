#include "ui/cannot_start_text.h"

const char* const CannotStartCaption = "Application Cannot Start";

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
