#include "ui/picture.h"

#include <png.h>

#include "ui/alpha_blend.h"
#include "ui/resources.h"

OwnedBitmap DecodePngToBitmap(std::span<const uint8_t> png, COLORREF background, int& width,
                              int& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return {};
    image.format = PNG_FORMAT_BGRA;     // straight alpha, the byte order of a 32-bit DIB

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(image.width);
    info.bmiHeader.biHeight = -static_cast<LONG>(image.height);    // top-down, as libpng writes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
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

void Picture::Decode(COLORREF background)
{
    decodeTried_ = true;
    if (resourceName_ == nullptr)
        return;
    bitmap_ = DecodePngToBitmap(ResourceBytes(resourceName_), background, width_, height_);
}

void Picture::Paint(HDC dc, const RECT& client, COLORREF background)
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (!decodeTried_)
        Decode(background);
    if (!bitmap_)
        return;
    OwnedDC source(CreateCompatibleDC(dc));
    SelectScope select(source.Get(), bitmap_.Get());
    // HALFTONE averages the source pixels: a 1072 x 1500 picture shrunk to 72 x 112 stays clean.
    int previousMode = SetStretchBltMode(dc, HALFTONE);
    POINT origin;
    SetBrushOrgEx(dc, 0, 0, &origin);
    StretchBlt(dc, client.left, client.top, client.right - client.left, client.bottom - client.top,
               source.Get(), 0, 0, width_, height_, SRCCOPY);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    SetStretchBltMode(dc, previousMode);
}
