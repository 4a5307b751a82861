#include "ui/splash_window.h"

#include <ole2.h>
#include <olectl.h>

#include <vector>

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
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(SplashResourceId), MAKEINTRESOURCEW(2));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = resource ? SizeofResource(module, resource) : 0;
    if (bytes && size) {
        std::vector<std::uint8_t> file = pictureFileBytes(static_cast<const std::uint8_t*>(bytes), size);
        ULONG written = 0;
        if (stream->Write(file.data(), static_cast<ULONG>(file.size()), &written) != S_OK) {
            stream->Release();
            return nullptr;
        }
    }
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

} // namespace

SplashPicture::~SplashPicture() {
    if (picture_) picture_->Release();
}

bool SplashPicture::load() {
    // The decoders of some picture formats are COM objects; a thread already initialised
    // otherwise still decodes, so only the picture's own result counts.
    HRESULT initialised = CoInitialize(nullptr);
    (void)initialised;
    IStream* stream = loadSplashStream();
    if (!stream) return false;
    IPicture* picture = nullptr;
    HRESULT loaded = OleLoadPicture(stream, 0, TRUE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (loaded != S_OK || !picture) return false;
    if (picture_) picture_->Release();
    picture_ = picture;
    return true;
}

HANDLE SplashPicture::bitmap() const {
    OLE_HANDLE handle = 0;
    if (!picture_ || picture_->get_Handle(&handle) != S_OK) return nullptr;
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle));
}

void showSplash(HWND window, const SplashPicture& picture, int showCommand) {
    BringWindowToTop(window);
    SendMessageW(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.bitmap()));
    RECT rect;
    GetWindowRect(window, &rect);
    Point at = centredOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), rect.right - rect.left,
                               rect.bottom - rect.top);
    SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
}
