#include "ui/picture_decoder.h"

#include <limits>

#include "base/system_error.h"

namespace {

// The two GUIDs used here, defined here: the import library's object of them holds every GUID
// of the imaging component (3 KB).
constexpr GUID ImagingFactoryClass{0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr GUID PremultipliedBgra32{0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x10}};

// WICBitmapInterpolationModeHighQualityCubic, from Windows 10 on; older systems refuse it and
// get WICBitmapInterpolationModeFant.
constexpr auto HighQualityCubic = static_cast<WICBitmapInterpolationMode>(4);

// The picture's pixels as premultiplied BGRA: what layered windows and AlphaBlend take, and
// what scaling filters must work on so that transparent pixels lend no colour to their edges.
ComPtr<IWICFormatConverter> premultiplied(IWICImagingFactory* factory, IWICBitmapSource* source) {
    ComPtr<IWICFormatConverter> converter;
    if (factory->CreateFormatConverter(converter.receive()) != S_OK ||
        converter->Initialize(source, PremultipliedBgra32, WICBitmapDitherTypeNone, nullptr, 0.0,
                              WICBitmapPaletteTypeCustom) != S_OK)
        converter.reset();
    return converter;
}

ComPtr<IWICBitmapScaler> scaledTo(IWICImagingFactory* factory, IWICBitmapSource* source, PictureSize shown,
                                  WICBitmapInterpolationMode mode) {
    ComPtr<IWICBitmapScaler> scaler;
    if (factory->CreateBitmapScaler(scaler.receive()) != S_OK ||
        scaler->Initialize(source, static_cast<UINT>(shown.width), static_cast<UINT>(shown.height), mode) != S_OK)
        scaler.reset();
    return scaler;
}

// An empty top-down 32-bit DIB section of the given size, and where its pixels are.
UniqueBitmap dibSection(PictureSize size, void*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.width;
    info.bmiHeader.biHeight = -size.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels = nullptr;
    return UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
}

bool anyTranslucentPixel(const std::uint32_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if ((pixels[i] >> 24) != 0xFF) return true;
    return false;
}

} // namespace

Result<void> PictureDecoder::start() {
    HRESULT created = CoCreateInstance(ImagingFactoryClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                                       reinterpret_cast<void**>(factory_.receive()));
    if (created == S_OK) return {};
    auto code = static_cast<unsigned long>(created);
    return Failure{code, "the imaging component cannot be created (" + systemErrorText(code) + ")"};
}

std::optional<OpenedPicture> PictureDecoder::open(const std::uint8_t* bytes, std::size_t size) const {
    if (!factory_ || !bytes || size == 0 || size > std::numeric_limits<DWORD>::max()) return std::nullopt;
    OpenedPicture picture;
    UINT width = 0, height = 0;
    // The stream only reads: the bytes are never written through it.
    if (factory_->CreateStream(picture.stream_.receive()) != S_OK ||
        picture.stream_->InitializeFromMemory(const_cast<BYTE*>(bytes), static_cast<DWORD>(size)) != S_OK ||
        factory_->CreateDecoderFromStream(picture.stream_.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                          picture.decoder_.receive()) != S_OK ||
        picture.decoder_->GetFrame(0, picture.frame_.receive()) != S_OK ||
        picture.frame_->GetSize(&width, &height) != S_OK)
        return std::nullopt;
    if (width > static_cast<UINT>(MaxSplashSide) || height > static_cast<UINT>(MaxSplashSide)) return std::nullopt;
    picture.size_ = {static_cast<long>(width), static_cast<long>(height)};
    return picture;
}

std::optional<RenderedPicture> PictureDecoder::render(const OpenedPicture& picture, PictureSize shown) const {
    if (!factory_ || !splashSizeAccepted(picture.size()) || !splashSizeAccepted(shown)) return std::nullopt;
    ComPtr<IWICFormatConverter> converted = premultiplied(factory_.get(), picture.frame_.get());
    if (!converted) return std::nullopt;
    if (shown == picture.size()) return drawn(converted.get(), shown);
    // A filter may be refused when the scaler is set up or only when it is read: each is tried
    // to the end. Where neither scales, the picture shows at its own size rather than not at all.
    for (WICBitmapInterpolationMode mode : {HighQualityCubic, WICBitmapInterpolationModeFant}) {
        ComPtr<IWICBitmapScaler> scaled = scaledTo(factory_.get(), converted.get(), shown, mode);
        if (!scaled) continue;
        if (std::optional<RenderedPicture> rendered = drawn(scaled.get(), shown)) return rendered;
    }
    return drawn(converted.get(), picture.size());
}

std::optional<RenderedPicture> PictureDecoder::drawn(IWICBitmapSource* source, PictureSize size) {
    RenderedPicture rendered;
    rendered.size = size;
    void* pixels = nullptr;
    rendered.bitmap = dibSection(size, pixels);
    if (!rendered.bitmap.get() || !pixels) return std::nullopt;
    // Within the limits of splashSizeAccepted, so neither overflows.
    UINT stride = static_cast<UINT>(size.width) * 4;
    UINT bytes = stride * static_cast<UINT>(size.height);
    if (source->CopyPixels(nullptr, stride, bytes, static_cast<BYTE*>(pixels)) != S_OK) return std::nullopt;
    rendered.translucent = anyTranslucentPixel(static_cast<const std::uint32_t*>(pixels),
                                               static_cast<std::size_t>(size.width) * size.height);
    return rendered;
}
