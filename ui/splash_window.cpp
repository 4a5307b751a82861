#include "ui/splash_window.h"

#include <objbase.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/dialog_show.h"
#include "ui/monitor_dpi.h"
#include "ui/picture_bytes.h"
#include "ui/placement.h"
#include "settings_contract/splash_picture.h"

const char* const SplashLoadFailedText = "Cannot load splash screen. Probably unsupported or invalid file.";

namespace {

// The bitmap resource as a complete picture file; empty when the executable has none.
std::vector<std::uint8_t> pictureResource(int id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (!bytes || !size) return {};
    return pictureFileBytes(static_cast<const std::uint8_t*>(bytes), size);
}

std::optional<OpenedPicture> openPicture(const PictureDecoder& decoder, const std::vector<std::uint8_t>& file) {
    return decoder.open(file.data(), file.size());
}

// The picture with its alpha on a layered window; false when the window cannot take it.
bool showTranslucent(HWND window, const SplashPicture& picture, Point at) {
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    HDC memory = CreateCompatibleDC(nullptr);
    BOOL updated = FALSE;
    if (memory) {
        HGDIOBJ previous = SelectObject(memory, picture.bitmap());
        POINT position{at.x, at.y}, origin{0, 0};
        SIZE size{picture.size().width, picture.size().height};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        updated = UpdateLayeredWindow(window, nullptr, &position, &size, memory, &origin, 0, &blend, ULW_ALPHA);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    // A layered window that never got its picture stays invisible.
    if (!updated) SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
    return updated;
}

// The bitmap static control takes the bitmap's size; the window's place for it.
Point showInStatic(HWND window, const SplashPicture& picture) {
    SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.bitmap()));
    RECT rect;
    GetWindowRect(window, &rect);
    return centredOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), rect.right - rect.left,
                           rect.bottom - rect.top);
}

} // namespace

Result<void> SplashPicture::load() {
    // The imaging component's objects are COM objects; a thread already initialised otherwise
    // still decodes, so only the picture's own result counts.
    HRESULT initialised = CoInitialize(nullptr);
    (void)initialised;
    PictureDecoder decoder;
    if (Result<void> started = decoder.start(); !started) return started;
    std::vector<std::uint8_t> normalFile = pictureResource(SplashResourceId);
    if (normalFile.empty()) return Failure{0, "the executable holds no splash picture"};
    std::optional<OpenedPicture> normal = openPicture(decoder, normalFile);
    if (!normal) return Failure{0, "the splash picture is no picture the system decodes"};
    if (!splashSizeAccepted(normal->size()))
        return Failure{0, "the splash picture is " + std::to_string(normal->size().width) + " x " +
                              std::to_string(normal->size().height) + " pixels, more than the launcher shows"};

    unsigned dpi = primaryMonitorDpi();
    std::vector<std::uint8_t> highDpiFile;
    std::optional<OpenedPicture> highDpi;
    if (dpi > NormalPictureDpi) {
        highDpiFile = pictureResource(HighDpiSplashResourceId);
        if (!highDpiFile.empty()) highDpi = openPicture(decoder, highDpiFile);
    }
    std::optional<PictureSize> highDpiSize;
    if (highDpi) highDpiSize = highDpi->size();
    SplashChoice choice = chooseSplashPicture(normal->size(), highDpiSize, dpi);
    std::optional<RenderedPicture> rendered =
        decoder.render(choice.source == SplashSource::HighDpi ? *highDpi : *normal, choice.shown);
    // A high-DPI picture whose pixels do not decode leaves the normal one.
    if (!rendered && choice.source == SplashSource::HighDpi)
        rendered = decoder.render(*normal, chooseSplashPicture(normal->size(), std::nullopt, dpi).shown);
    if (!rendered) return Failure{0, "the splash picture's pixels do not decode"};
    rendered_ = std::move(*rendered);
    return {};
}

HWND createSplashWindow(HINSTANCE instance) {
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | SS_BITMAP, 0, 0, CW_USEDEFAULT,
                           CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

void showSplash(HWND window, const SplashPicture& picture) {
    BringWindowToTop(window);
    Point at = centredOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), picture.size().width,
                               picture.size().height);
    // Without a layered window the static control still blends the picture, over its own background.
    if (!picture.translucent() || !showTranslucent(window, picture, at)) at = showInStatic(window, picture);
    SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE);
    showNormally(window);
    UpdateWindow(window);
}
