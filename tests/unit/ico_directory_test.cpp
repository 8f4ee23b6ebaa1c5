#include "ui/ico_directory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& out, size_t at, uint16_t value)
{
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(Bytes& out, size_t at, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint32_t GetU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Entry {
    uint8_t width, height;
    uint16_t bitCount;
    uint32_t size, offset;
};

// A directory of the given entries followed by `imageBytes` bytes of image data.
Bytes BuildIco(const std::vector<Entry>& entries, size_t imageBytes, uint16_t type = 1)
{
    Bytes out(6 + 16 * entries.size() + imageBytes, 0xAB);
    PutU16(out, 0, 0);
    PutU16(out, 2, type);
    PutU16(out, 4, static_cast<uint16_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t at = 6 + 16 * i;
        out[at] = entries[i].width;
        out[at + 1] = entries[i].height;
        out[at + 2] = 0;
        out[at + 3] = 0;
        PutU16(out, at + 4, 1);
        PutU16(out, at + 6, entries[i].bitCount);
        PutU32(out, at + 8, entries[i].size);
        PutU32(out, at + 12, entries[i].offset);
    }
    return out;
}

// Two images after a 38-byte directory: 10 bytes at 38 and 20 bytes at 48.
Bytes TwoImages()
{
    return BuildIco({{16, 16, 4, 10, 38}, {0, 0, 32, 20, 48}}, 30);
}

// Reads a copy held in a block of exactly `length` bytes, so overreads are caught.
std::vector<IcoImage> Read(const Bytes& file, size_t length, Bytes& copy)
{
    copy = Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    return ReadIcoDirectory(copy.data(), copy.size());
}

std::vector<IcoImage> Read(const Bytes& file, Bytes& copy)
{
    return Read(file, file.size(), copy);
}

TEST(IcoDirectory, ReadsTheApplicationIcon)
{
    std::ifstream in(std::string(VARNEL_ASSETS_DIR) + "/app_icon.ico", std::ios::binary);
    if (!in) {
        GTEST_SKIP() << "assets/app_icon.ico is not there";
    }
    const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Bytes copy;
    const std::vector<IcoImage> images = Read(file, copy);
    ASSERT_EQ(images.size(), 14u);
    const struct {
        int side, bitCount;
        uint32_t size;
    } expected[] = {{16, 4, 296}, {32, 4, 744}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(images[i].width, expected[i].side);
        EXPECT_EQ(images[i].height, expected[i].side);
        EXPECT_EQ(images[i].bitCount, expected[i].bitCount);
        EXPECT_EQ(images[i].size, expected[i].size);
        // These are bitmap images: a 40-byte header whose width matches the entry's.
        EXPECT_EQ(GetU32(images[i].bytes), 40u);
        EXPECT_EQ(GetU32(images[i].bytes + 4), static_cast<uint32_t>(expected[i].side));
    }
}

TEST(IcoDirectory, ReadsEntriesInOrder)
{
    Bytes copy;
    const std::vector<IcoImage> images = Read(TwoImages(), copy);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width, 16);
    EXPECT_EQ(images[0].bitCount, 4);
    EXPECT_EQ(images[0].bytes, copy.data() + 38);
    EXPECT_EQ(images[0].size, 10u);
    EXPECT_EQ(images[1].width, 256);           // 0 stands for 256
    EXPECT_EQ(images[1].height, 256);
    EXPECT_EQ(images[1].bitCount, 32);
    EXPECT_EQ(images[1].bytes, copy.data() + 48);
    EXPECT_EQ(images[1].size, 20u);
}

TEST(IcoDirectory, EveryTruncationIsRefused)
{
    const Bytes file = TwoImages();
    Bytes copy;
    for (size_t length = 0; length < file.size(); ++length) {
        EXPECT_TRUE(Read(file, length, copy).empty()) << "cut at " << length;
    }
}

TEST(IcoDirectory, RefusesDamagedDirectories)
{
    Bytes reserved = TwoImages();
    reserved[0] = 1;
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"cursor", BuildIco({{16, 16, 4, 10, 22}}, 10, 2)},
        {"reserved not zero", reserved},
        {"image past the end", BuildIco({{16, 16, 4, 11, 22}}, 10)},
        {"offset past the end", BuildIco({{16, 16, 4, 1, 33}}, 10)},
        {"offset wraps", BuildIco({{16, 16, 4, 0x20, 0xFFFFFFF0u}}, 10)},
        {"size wraps", BuildIco({{16, 16, 4, 0xFFFFFFFFu, 22}}, 10)},
        {"later entry bad", BuildIco({{16, 16, 4, 5, 38}, {32, 32, 4, 6, 43}}, 10)},
        {"image inside the directory", BuildIco({{16, 16, 4, 10, 10}}, 10)},
        {"empty image", BuildIco({{16, 16, 4, 0, 22}}, 10)},
    };
    for (const auto& c : cases) {
        Bytes copy;
        EXPECT_TRUE(Read(c.file, copy).empty()) << c.name;
    }
}

TEST(IcoDirectory, MissingBufferIsRefused)
{
    EXPECT_TRUE(ReadIcoDirectory(nullptr, 0).empty());
}

}  // namespace
