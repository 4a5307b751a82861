#pragma once

#include <windows.h>

#include "base/result.h"
#include "ui/picture_decoder.h"
#include "ui/splash_scale.h"

extern const char* const SplashLoadFailedText;

// The splash picture, decoded and scaled for the primary monitor's DPI; released once, by its
// owner.
class SplashPicture {
public:
    // Decodes the executable's splash picture, or its high-DPI picture where the monitor's DPI
    // asks for it; why not when the splash picture cannot be shown.
    [[nodiscard]] Result<void> load();
    // The bitmap for the window (32 bits, premultiplied alpha); stays the picture's.
    HBITMAP bitmap() const { return rendered_.bitmap.get(); }
    PictureSize size() const { return rendered_.size; }
    // Some pixels are not fully opaque: the window must be layered to show them.
    bool translucent() const { return rendered_.translucent; }

private:
    RenderedPicture rendered_;
};

// The hidden pop-up that shows the splash picture; null when it cannot be made.
HWND createSplashWindow(HINSTANCE instance);

// Puts the picture into the splash window, centres the window on the primary screen and shows
// it at the picture's size, whatever show value the launcher was started with (that one is the
// application's). A translucent picture makes the window layered.
void showSplash(HWND window, const SplashPicture& picture);
