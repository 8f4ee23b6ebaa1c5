#pragma once
// A picture box's picture: a PNG carried in the executable, decoded at the first paint,
// made opaque against the box's background and kept for later paints.
#include <windows.h>

#include <cstdint>
#include <span>

#include "ui/gdi.h"

class Picture {
public:
    explicit Picture(const char* resourceName) : resourceName_(resourceName) {}

    // Fills the box with the background and stretches the whole picture into it.
    void Paint(HDC dc, const RECT& client, COLORREF background);

private:
    void Decode(COLORREF background);

    const char* resourceName_;
    bool decodeTried_ = false;
    OwnedBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

// Decodes PNG bytes into a top-down 32-bit DIB section, opaque against background.
// Bytes that libpng refuses give no bitmap.
OwnedBitmap DecodePngToBitmap(std::span<const uint8_t> png, COLORREF background, int& width,
                              int& height);
