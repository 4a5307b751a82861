#pragma once

#include <string>

// downloadAddress: the address the dialog shows and opens, by the rule of the download_url setting.
#include "settings_contract/setting_values.h"

extern const char* const CannotStartCaption;

// The cannot-start dialog's message: what is missing, the versions that fit, where to get it.
// Without a maximum version the text is the one users have always seen.
std::string cannotStartMessage(bool jdkRequired, const std::string& minimumVersion, const std::string& maximumVersion,
                               const std::string& downloadUrl);

// The dialog's caption: CannotStartCaption after the application's product name, when the
// launcher names one.
std::string cannotStartCaption(const std::string& productName);
