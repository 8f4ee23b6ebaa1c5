#include "ico_directory.h"

namespace {

constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint16_t kIconType = 1;

uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int Dimension(uint8_t stored)
{
    return stored == 0 ? 256 : stored;
}

// An image must be non-empty and lie wholly after the directory and inside the buffer;
// anything else means the file is damaged. Sums are formed in 64 bits so they cannot wrap.
bool ImageFits(uint32_t offset, uint32_t size, size_t directoryEnd, size_t length)
{
    return size > 0 && offset >= directoryEnd && uint64_t{offset} + size <= length;
}

}  // namespace

std::vector<IcoImage> ReadIcoDirectory(const uint8_t* bytes, size_t length)
{
    if (bytes == nullptr || length < kHeaderSize || ReadU16(bytes) != 0 ||
        ReadU16(bytes + 2) != kIconType) {
        return {};
    }
    const size_t count = ReadU16(bytes + 4);
    const size_t directoryEnd = kHeaderSize + count * kEntrySize;
    if (directoryEnd > length) {
        return {};
    }
    std::vector<IcoImage> images;
    images.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes + kHeaderSize + i * kEntrySize;
        const uint32_t size = ReadU32(entry + 8);
        const uint32_t offset = ReadU32(entry + 12);
        if (!ImageFits(offset, size, directoryEnd, length)) {
            return {};
        }
        IcoImage image;
        image.width = Dimension(entry[0]);
        image.height = Dimension(entry[1]);
        image.bitCount = ReadU16(entry + 6);
        image.bytes = bytes + offset;
        image.size = size;
        images.push_back(image);
    }
    return images;
}
