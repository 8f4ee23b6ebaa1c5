// Walks arbitrary bytes as a RIFF/WAVE file. Any read outside the buffer is caught by ASan;
// chunks that are found must be whole, inside the buffer, and named by their own headers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "watcher/riff.h"

namespace {

uint32_t LittleEndian32(const uint8_t* p)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | p[i];
    }
    return value;
}

// The body [body, body + size) lies after the RIFF header and its own 8-byte chunk header,
// within both the buffer and the area the RIFF size declares; the header carries the tag
// and the size reported.
bool IsChunkBody(const uint8_t* bytes, size_t length, const uint8_t* body, uint32_t size,
                 const char* tag)
{
    const auto begin = reinterpret_cast<uintptr_t>(bytes);
    const auto at = reinterpret_cast<uintptr_t>(body);
    if (at < begin + 12 + 8 || at > begin + length) {
        return false;
    }
    const size_t offset = at - begin;
    if (size > length - offset) {
        return false;
    }
    const uint64_t declaredEnd = uint64_t{8} + LittleEndian32(bytes + 4);
    if (offset + size > declaredEnd) {
        return false;
    }
    return std::memcmp(body - 8, tag, 4) == 0 && LittleEndian32(body - 4) == size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A heap block of exactly the input's size: one byte too far is a heap overflow.
    const auto bytes = std::make_unique<uint8_t[]>(size);
    if (size != 0) {
        std::memcpy(bytes.get(), data, size);
    }

    const auto chunks = FindWaveChunks(bytes.get(), size);
    if (!chunks) {
        return 0;
    }
    if (size < 12 || std::memcmp(bytes.get(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.get() + 8, "WAVE", 4) != 0) {
        __builtin_trap();
    }
    if (chunks->format == nullptr || chunks->formatSize < 16 ||
        !IsChunkBody(bytes.get(), size, chunks->format, chunks->formatSize, "fmt ")) {
        __builtin_trap();
    }
    if (chunks->data == nullptr || chunks->dataSize == 0 ||
        !IsChunkBody(bytes.get(), size, chunks->data, chunks->dataSize, "data")) {
        __builtin_trap();
    }
    // Two chunks cannot share bytes.
    const uint8_t* first = chunks->format < chunks->data ? chunks->format : chunks->data;
    const uint8_t* second = first == chunks->format ? chunks->data : chunks->format;
    const uint32_t firstSize = first == chunks->format ? chunks->formatSize : chunks->dataSize;
    if (static_cast<size_t>(second - first) < size_t{firstSize} + 8) {
        __builtin_trap();
    }
    return 0;
}
