#include "ui/splash_window.h"

#include <ole2.h>
#include <olectl.h>

#include <vector>

#include "launcher/launch_state.h"
#include "ui/picture_bytes.h"
#include "ui/placement.h"

const char* const SplashLoadFailedText = "Cannot load splash screen. Probably unsupported or invalid file.";

namespace {

constexpr int SplashResourceId = 104;

// A memory stream holding the splash resource as a complete picture file; null when the
// stream cannot be made. A missing resource gives an empty stream, which does not decode.
IStream* loadSplashStream() {
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) return nullptr;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(SplashResourceId), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (bytes && size) {
        std::vector<std::uint8_t> file = pictureFileBytes(static_cast<const std::uint8_t*>(bytes), size);
        ULONG written = 0;
        stream->Write(file.data(), static_cast<ULONG>(file.size()), &written);
    }
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

} // namespace

bool createMonitorWindow(HINSTANCE instance) {
    launchState().splashWindow = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | SS_BITMAP, 0, 0,
                                                 CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    return launchState().splashWindow != nullptr;
}

bool showSplash(int showCommand) {
    LaunchState& state = launchState();
    HWND window = state.splashWindow;
    BringWindowToTop(window);
    // The decoders of some picture formats are COM objects.
    CoInitialize(nullptr);
    IStream* stream = loadSplashStream();
    if (!stream) return false;
    IPicture* picture = nullptr;
    HRESULT loaded = OleLoadPicture(stream, 0, TRUE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (loaded != S_OK || !picture) return false;
    state.splashPicture = picture;

    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    SendMessageA(window, STM_SETIMAGE, IMAGE_BITMAP, static_cast<LPARAM>(handle));

    RECT rect;
    GetWindowRect(window, &rect);
    Point at = centredOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), rect.right - rect.left,
                               rect.bottom - rect.top);
    SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return true;
}
