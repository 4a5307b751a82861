#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "base/result.h"
#include "ui/com_ptr.h"
#include "ui/splash_scale.h"

// Owns one GDI bitmap and deletes it exactly once.
class UniqueBitmap {
public:
    UniqueBitmap() = default;
    explicit UniqueBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
    UniqueBitmap(const UniqueBitmap&) = delete;
    UniqueBitmap& operator=(const UniqueBitmap&) = delete;
    UniqueBitmap(UniqueBitmap&& other) noexcept : bitmap_(std::exchange(other.bitmap_, nullptr)) {}
    UniqueBitmap& operator=(UniqueBitmap&& other) noexcept {
        if (this != &other) {
            reset();
            bitmap_ = std::exchange(other.bitmap_, nullptr);
        }
        return *this;
    }
    ~UniqueBitmap() { reset(); }

    HBITMAP get() const { return bitmap_; }
    void reset() {
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }

private:
    HBITMAP bitmap_ = nullptr;
};

// A picture drawn for the screen: 32-bit pixels with premultiplied alpha, top row first, in a
// DIB section. Translucent when any pixel is not fully opaque.
struct RenderedPicture {
    UniqueBitmap bitmap;
    PictureSize size;
    bool translucent = false;
};

// The first frame of a picture file, opened but not yet decoded. Reads from the caller's
// bytes, which must outlive it.
class OpenedPicture {
public:
    PictureSize size() const { return size_; }

private:
    friend class PictureDecoder;
    ComPtr<IWICStream> stream_;
    ComPtr<IWICBitmapDecoder> decoder_;
    ComPtr<IWICBitmapFrameDecode> frame_;
    PictureSize size_;
};

// Picture files as the system's imaging component (WIC) decodes them: BMP, GIF, JPEG, PNG,
// TIFF, ICO, and whatever codecs the system has besides. Needs COM on the calling thread.
class PictureDecoder {
public:
    // The system's code and reason when the imaging component cannot be created.
    [[nodiscard]] Result<void> start();
    // Nothing when the bytes are no picture file the system decodes.
    [[nodiscard]] std::optional<OpenedPicture> open(const std::uint8_t* bytes, std::size_t size) const;
    // The picture decoded and scaled to `shown` with the best filter the system has, or at its
    // own size when the system scales it with none; nothing when its pixels do not decode.
    [[nodiscard]] std::optional<RenderedPicture> render(const OpenedPicture& picture, PictureSize shown) const;

private:
    // The source's pixels, `size` of them, in a new bitmap.
    static std::optional<RenderedPicture> drawn(IWICBitmapSource* source, PictureSize size);

    ComPtr<IWICImagingFactory> factory_;
};
