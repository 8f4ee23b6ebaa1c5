#include "alpha_blend.h"

uint8_t BlendChannel(uint8_t colour, uint8_t alpha, uint8_t background)
{
    // +127 rounds the division to the nearest step; the sum never exceeds 255 * 255 + 127.
    const unsigned mixed = unsigned{colour} * alpha + unsigned{background} * (255u - alpha) + 127u;
    return static_cast<uint8_t>(mixed / 255u);
}

void MakeOpaque(uint8_t* bgra, size_t pixelCount, Rgb background)
{
    for (size_t i = 0; i < pixelCount; ++i) {
        uint8_t* pixel = bgra + i * 4;
        const uint8_t alpha = pixel[3];
        // Most pixels of a picture are opaque or fully clear: the blend gives the colour, or
        // the background, unchanged, so those skip the arithmetic.
        if (alpha == 255)
            continue;
        if (alpha == 0) {
            pixel[0] = background.b;
            pixel[1] = background.g;
            pixel[2] = background.r;
            pixel[3] = 255;
            continue;
        }
        pixel[0] = BlendChannel(pixel[0], alpha, background.b);
        pixel[1] = BlendChannel(pixel[1], alpha, background.g);
        pixel[2] = BlendChannel(pixel[2], alpha, background.r);
        pixel[3] = 255;
    }
}
