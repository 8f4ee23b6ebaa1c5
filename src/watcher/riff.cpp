#include "riff.h"

#include <cstring>

namespace {

constexpr size_t kRiffHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;
constexpr uint32_t kMinFormatSize = 16;

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool HasTag(const uint8_t* p, const char* tag)
{
    return std::memcmp(p, tag, 4) == 0;
}

// Where the chunks end: the RIFF size counts from offset 8, but never past the buffer.
size_t ChunkAreaEnd(const uint8_t* bytes, size_t length)
{
    const uint64_t declared = uint64_t{8} + ReadU32(bytes + 4);
    return declared < length ? static_cast<size_t>(declared) : length;
}

}  // namespace

std::optional<WaveChunks> FindWaveChunks(const uint8_t* bytes, size_t length)
{
    if (bytes == nullptr || length < kRiffHeaderSize || !HasTag(bytes, "RIFF") ||
        !HasTag(bytes + 8, "WAVE")) {
        return std::nullopt;
    }
    const size_t end = ChunkAreaEnd(bytes, length);
    WaveChunks found;
    size_t offset = kRiffHeaderSize;
    // Every comparison subtracts from end only what is known to be below it, so no sum of
    // an untrusted size can wrap.
    while (offset <= end && end - offset >= kChunkHeaderSize) {
        const uint8_t* header = bytes + offset;
        const uint32_t bodySize = ReadU32(header + 4);
        const size_t bodyOffset = offset + kChunkHeaderSize;
        if (bodySize > end - bodyOffset) {
            break;                              // the body runs past the end: not taken
        }
        const uint8_t* body = bytes + bodyOffset;
        if (found.format == nullptr && HasTag(header, "fmt ") && bodySize >= kMinFormatSize) {
            found.format = body;
            found.formatSize = bodySize;
        } else if (found.data == nullptr && HasTag(header, "data") && bodySize > 0) {
            found.data = body;
            found.dataSize = bodySize;
        }
        const size_t padded = static_cast<size_t>(bodySize) + (bodySize & 1u);
        if (padded > end - bodyOffset) {
            break;                              // a missing final pad byte ends the walk
        }
        offset = bodyOffset + padded;
    }
    if (found.format == nullptr || found.data == nullptr) {
        return std::nullopt;
    }
    return found;
}
