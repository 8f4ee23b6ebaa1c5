#pragma once
// Pictures are decoded to straight-alpha BGRA and made opaque against the box's background.
#include <cstddef>
#include <cstdint>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// colour over background in proportion to alpha, rounded; alpha 255 keeps the colour.
uint8_t BlendChannel(uint8_t colour, uint8_t alpha, uint8_t background);

// Blends every pixel of a BGRA buffer over the background and sets its alpha to 255.
void MakeOpaque(uint8_t* bgra, size_t pixelCount, Rgb background);
