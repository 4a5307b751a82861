#pragma once

#include <string>

// Where users get Java; shown in the cannot-start dialog and opened from its link.
extern const char* const JavaDownloadUrl;
extern const char* const CannotStartCaption;

// The cannot-start dialog's message: what is missing, the minimum version, where to get it.
std::string cannotStartMessage(bool jdkRequired, const std::string& minimumVersion, const std::string& downloadUrl);
