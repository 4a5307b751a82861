#pragma once

#include <windows.h>

#include <string>

// The modal dialog shown when no suitable Java runtime was found: the application's name and
// icon when the launcher names one, the message in a read-only rich edit whose link opens the
// download page, and an OK button.
class CannotStartDialog {
public:
    CannotStartDialog(std::string productName, std::string linkUrl, std::string messageText, int dialogHeight);
    CannotStartDialog(const CannotStartDialog&) = delete;
    CannotStartDialog& operator=(const CannotStartDialog&) = delete;
    ~CannotStartDialog();
    // IDOK or IDCANCEL as the user closed it; 0 or -1 when the dialog could not be made.
    [[nodiscard]] INT_PTR showModal(HWND owner);

private:
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL onInitDialog();
    void onLinkNotify(const NMHDR* header);

    void showHeading();

    std::string productName_;
    std::string linkUrl_;
    std::string messageText_;
    int dialogHeight_;
    HWND window_ = nullptr;
    HFONT headingFont_ = nullptr;
};

// Loads what the dialog needs, shows it with the texts for this run (the versions that fit and the
// download address, see downloadAddress) and returns when it closes.
void showCannotStartDialog(bool jdkRequired, const std::string& minimumVersion, const std::string& maximumVersion,
                           const std::string& downloadUrlSetting);
