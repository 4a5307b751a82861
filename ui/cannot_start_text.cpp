#include "ui/cannot_start_text.h"

const char* const JavaDownloadUrl = "https://www.java.com/download/";
const char* const CannotStartCaption = "Application Cannot Start";

std::string cannotStartMessage(bool jdkRequired, const std::string& minimumVersion, const std::string& downloadUrl) {
    return std::string("This application cannot start since no appropriate JVM was found.\n") +
           (jdkRequired ? "It is required to have JDK version " : "It is required to have JRE version ") +
           minimumVersion + " or higher installed on your computer.\n" + "Please go to " + downloadUrl +
           " for installation instructions.";
}
