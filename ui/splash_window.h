#pragma once

#include <windows.h>

struct IPicture;

extern const char* const SplashLoadFailedText;

// The decoded splash picture; released once, by its owner.
class SplashPicture {
public:
    SplashPicture() = default;
    ~SplashPicture();
    SplashPicture(const SplashPicture&) = delete;
    SplashPicture& operator=(const SplashPicture&) = delete;

    // Decodes the executable's splash resource; false when it does not decode.
    [[nodiscard]] bool load();
    // The bitmap for the window; stays the picture's.
    HANDLE bitmap() const;

private:
    IPicture* picture_ = nullptr;
};

// Puts the picture into the monitor window, centres the window on the primary screen and shows
// it with the start-up show value.
void showSplash(HWND window, const SplashPicture& picture, int showCommand);
