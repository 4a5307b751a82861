#pragma once

#include <string>

// Where users get Java when the launcher names no other address; shown in the cannot-start
// dialog and opened from its link.
extern const char* const JavaDownloadUrl;
extern const char* const CannotStartCaption;

// The address the dialog shows and opens: the download_url setting when it is a web address
// (http or https), otherwise the default one. Nothing else is ever handed to the shell.
std::string downloadAddress(const std::string& setting);

// The cannot-start dialog's message: what is missing, the versions that fit, where to get it.
// Without a maximum version the text is the one users have always seen.
std::string cannotStartMessage(bool jdkRequired, const std::string& minimumVersion, const std::string& maximumVersion,
                               const std::string& downloadUrl);

// The dialog's caption: CannotStartCaption after the application's product name, when the
// launcher names one.
std::string cannotStartCaption(const std::string& productName);
