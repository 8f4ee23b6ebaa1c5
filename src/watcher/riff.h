#pragma once
// The RIFF/WAVE chunk walk. Bounds-checked: never reads outside [bytes, bytes + length).
#include <cstddef>
#include <cstdint>
#include <optional>

struct WaveChunks {
    const uint8_t* format = nullptr;    // body of "fmt " (at least 16 bytes)
    uint32_t formatSize = 0;
    const uint8_t* data = nullptr;      // body of "data" (not empty)
    uint32_t dataSize = 0;
};

// Needs "RIFF", "WAVE", a "fmt " chunk of 16 bytes or more and a non-empty "data" chunk.
std::optional<WaveChunks> FindWaveChunks(const uint8_t* bytes, size_t length);
