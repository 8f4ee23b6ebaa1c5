#pragma once
// A picture box's picture: a PNG carried in the executable, decoded at the first paint,
// made opaque against the box's background and stretched into the box. What is kept for
// later paints is the stretched result at the box's size, not the whole decoded picture:
// the same pixels on screen for a fraction of the memory (72 x 112 instead of 1072 x 1500).
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
    void Render(HDC dc, int width, int height, COLORREF background);

    const char* resourceName_;
    bool decodeTried_ = false;
    OwnedBitmap shown_;         // the picture as stretched into the box
    int shownWidth_ = 0;
    int shownHeight_ = 0;
};

// Decodes PNG bytes into a top-down 32-bit DIB section, opaque against background.
// Bytes that libpng refuses give no bitmap.
OwnedBitmap DecodePngToBitmap(std::span<const uint8_t> png, COLORREF background, int& width,
                              int& height);
