#pragma once
// Reads the directory of an ICO file held in memory, bounds-checked.
#include <cstddef>
#include <cstdint>
#include <vector>

struct IcoImage {
    int width = 0;              // 0 in the directory means 256
    int height = 0;
    int bitCount = 0;
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
};

// The images in directory order; empty when the header or any entry does not fit.
std::vector<IcoImage> ReadIcoDirectory(const uint8_t* bytes, size_t length);
