// The picture box's decode path on arbitrary bytes: libpng's simplified reader to straight
// BGRA, then MakeOpaque. Afterwards every pixel is opaque, pixels that were opaque keep their
// colour, transparent ones show the background and the rest lie between the two.
#include <png.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/alpha_blend.h"

namespace {

// libpng accepts pictures up to a million pixels on each side, so a header of a few dozen
// bytes can ask for terabytes. The largest real picture is 1500 x 1500 (2.25 million
// pixels); this cap covers it and keeps every run within a 16 MB buffer.
constexpr uint64_t kMaxPixels = 4'000'000;

constexpr Rgb kBackground{0x2A, 0x81, 0xD4};

// Frees whatever libpng still holds on every way out; freeing twice is harmless.
struct ImageScope {
    png_image image{};
    ImageScope() { image.version = PNG_IMAGE_VERSION; }
    ~ImageScope() { png_image_free(&image); }
};

uint32_t BigEndian32(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// Rewrites the CRC of every whole chunk after the signature. A mutated chunk otherwise
// fails its CRC and libpng stops at once, so the header and ancillary chunks would hardly
// ever be explored.
void RepairChunkCrcs(uint8_t* data, size_t size)
{
    size_t offset = 8;
    while (offset <= size && size - offset >= 12) {
        const uint32_t length = BigEndian32(data + offset);
        if (length > size - offset - 12) {
            break;
        }
        uint8_t* typeAndBody = data + offset + 4;
        const auto crc = static_cast<uint32_t>(crc32(0, typeAndBody, length + 4));
        uint8_t* stored = typeAndBody + 4 + length;
        for (int i = 0; i < 4; ++i) {
            stored[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        }
        offset += size_t{length} + 12;
    }
}

bool Between(uint8_t value, uint8_t a, uint8_t b)
{
    return a <= b ? a <= value && value <= b : b <= value && value <= a;
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int /*seed*/)
{
    size = LLVMFuzzerMutate(data, size, maxSize);
    RepairChunkCrcs(data, size);
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ImageScope scope;
    png_image& image = scope.image;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        return 0;
    }
    if (image.width == 0 || image.height == 0) {
        __builtin_trap();       // libpng must refuse an empty picture at the header
    }
    const uint64_t pixels = uint64_t{image.width} * image.height;
    if (pixels > kMaxPixels) {
        return 0;
    }
    image.format = PNG_FORMAT_BGRA;

    std::vector<uint8_t> buffer(PNG_IMAGE_SIZE(image));
    if (buffer.size() != pixels * 4) {
        __builtin_trap();       // four bytes a pixel, rows packed: MakeOpaque relies on it
    }
    if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) {
        return 0;
    }
    const std::vector<uint8_t> decoded = buffer;
    MakeOpaque(buffer.data(), static_cast<size_t>(pixels), kBackground);

    const uint8_t background[3] = {kBackground.b, kBackground.g, kBackground.r};
    for (size_t i = 0; i < buffer.size(); i += 4) {
        if (buffer[i + 3] != 255) {
            __builtin_trap();
        }
        const uint8_t alpha = decoded[i + 3];
        for (size_t c = 0; c < 3; ++c) {
            const uint8_t before = decoded[i + c];
            const uint8_t after = buffer[i + c];
            const bool sound = alpha == 255 ? after == before
                               : alpha == 0 ? after == background[c]
                                            : Between(after, before, background[c]);
            if (!sound) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
