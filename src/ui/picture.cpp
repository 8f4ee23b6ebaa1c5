#include "ui/picture.h"

#include <png.h>

#include "ui/alpha_blend.h"
#include "ui/resources.h"

namespace {

// A top-down 32-bit DIB section of the given size: the byte order libpng writes as BGRA,
// and the same kind of surface as a window's.
OwnedBitmap CreateTopDownDib(HDC dc, int width, int height, void*& bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    return OwnedBitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
}

}  // namespace

OwnedBitmap DecodePngToBitmap(std::span<const uint8_t> png, COLORREF background, int& width,
                              int& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return {};
    image.format = PNG_FORMAT_BGRA;     // straight alpha, the byte order of a 32-bit DIB

    void* bits = nullptr;
    OwnedBitmap bitmap =
        CreateTopDownDib(nullptr, static_cast<int>(image.width), static_cast<int>(image.height), bits);
    if (!bitmap) {
        png_image_free(&image);
        return {};
    }
    // Decode straight into the bitmap's own memory: no second copy of a 6 MB picture.
    if (!png_image_finish_read(&image, nullptr, bits, 0, nullptr))
        return {};
    GdiFlush();
    MakeOpaque(static_cast<uint8_t*>(bits), static_cast<size_t>(image.width) * image.height,
               {GetRValue(background), GetGValue(background), GetBValue(background)});
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return bitmap;
}

void Picture::Render(HDC dc, int width, int height, COLORREF background)
{
    decodeTried_ = true;
    int pictureWidth = 0, pictureHeight = 0;
    OwnedBitmap decoded;
    if (resourceName_ != nullptr)
        decoded = DecodePngToBitmap(ResourceBytes(resourceName_), background, pictureWidth, pictureHeight);
    if (!decoded)
        return;
    void* bits = nullptr;
    OwnedBitmap shown = CreateTopDownDib(dc, width, height, bits);
    OwnedDC source(CreateCompatibleDC(dc));
    OwnedDC target(CreateCompatibleDC(dc));
    if (!shown || !source || !target)
        return;
    SelectScope selectSource(source.Get(), decoded.Get());
    SelectScope selectTarget(target.Get(), shown.Get());
    // HALFTONE averages the source pixels: a 1072 x 1500 picture shrunk to 72 x 112 stays clean.
    SetStretchBltMode(target.Get(), HALFTONE);
    SetBrushOrgEx(target.Get(), 0, 0, nullptr);
    StretchBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, pictureWidth, pictureHeight, SRCCOPY);
    shown_ = std::move(shown);
    shownWidth_ = width;
    shownHeight_ = height;
}

void Picture::Paint(HDC dc, const RECT& client, COLORREF background)
{
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (!decodeTried_ || (shown_ && (width != shownWidth_ || height != shownHeight_)))
        Render(dc, width, height, background);
    if (!shown_) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    OwnedDC source(CreateCompatibleDC(dc));
    SelectScope select(source.Get(), shown_.Get());
    BitBlt(dc, client.left, client.top, width, height, source.Get(), 0, 0, SRCCOPY);
}
