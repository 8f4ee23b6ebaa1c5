#include "watcher/riff.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void PutTag(Bytes& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

struct Chunk {
    const char* tag;
    Bytes body;
    std::optional<uint32_t> declaredSize = std::nullopt;   // a lie about the body size
};

Bytes Filled(size_t size, uint8_t first)
{
    Bytes body(size);
    for (size_t i = 0; i < size; ++i) {
        body[i] = static_cast<uint8_t>(first + i);
    }
    return body;
}

// A RIFF file of the given chunks, each odd body followed by its pad byte.
Bytes BuildRiff(const std::vector<Chunk>& chunks, const char* form = "WAVE",
                const char* magic = "RIFF", std::optional<uint32_t> riffSize = std::nullopt)
{
    Bytes out;
    PutTag(out, magic);
    PutU32(out, 0);
    PutTag(out, form);
    for (const Chunk& chunk : chunks) {
        PutTag(out, chunk.tag);
        PutU32(out, chunk.declaredSize.value_or(static_cast<uint32_t>(chunk.body.size())));
        out.insert(out.end(), chunk.body.begin(), chunk.body.end());
        if (chunk.body.size() % 2 != 0) {
            out.push_back(0);
        }
    }
    const uint32_t size = riffSize.value_or(static_cast<uint32_t>(out.size() - 8));
    for (int i = 0; i < 4; ++i) {
        out[4 + i] = static_cast<uint8_t>(size >> (8 * i));
    }
    return out;
}

Chunk Format(size_t size = 16)
{
    return {"fmt ", Filled(size, 0x10)};
}

Chunk Data(size_t size = 4)
{
    return {"data", Filled(size, 0x80)};
}

struct Found {
    std::optional<WaveChunks> chunks;
    Bytes copy;

    size_t FormatOffset() const { return static_cast<size_t>(chunks->format - copy.data()); }
    size_t DataOffset() const { return static_cast<size_t>(chunks->data - copy.data()); }
};

// Walks a copy of the first `length` bytes held in a block of exactly that size, so that any
// read past the end is caught by the address sanitizer.
Found Walk(const Bytes& file, size_t length)
{
    Found found;
    found.copy = Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    found.chunks = FindWaveChunks(found.copy.data(), found.copy.size());
    return found;
}

Found Walk(const Bytes& file)
{
    return Walk(file, file.size());
}

TEST(RiffWalk, FindsChunksOfTheSignInChime)
{
    std::ifstream in(std::string(VARNEL_ASSETS_DIR) + "/sign_in_chime.wav", std::ios::binary);
    if (!in) {
        GTEST_SKIP() << "assets/sign_in_chime.wav is not there";
    }
    const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_EQ(file.size(), 110698u);
    const Found found = Walk(file);
    ASSERT_TRUE(found.chunks);
    EXPECT_EQ(found.FormatOffset(), 20u);
    EXPECT_EQ(found.chunks->formatSize, 16u);
    EXPECT_EQ(found.DataOffset(), 106u);
    EXPECT_EQ(found.chunks->dataSize, 110592u);
}

TEST(RiffWalk, FindsFormatAndDataOfASmallFile)
{
    const Found found = Walk(BuildRiff({Format(), Data(6)}));
    ASSERT_TRUE(found.chunks);
    EXPECT_EQ(found.FormatOffset(), 20u);
    EXPECT_EQ(found.chunks->formatSize, 16u);
    EXPECT_EQ(found.chunks->format[0], 0x10);
    EXPECT_EQ(found.DataOffset(), 44u);
    EXPECT_EQ(found.chunks->dataSize, 6u);
    EXPECT_EQ(found.chunks->data[5], 0x85);
}

TEST(RiffWalk, EveryTruncationOfAFileIsRefused)
{
    const Bytes file = BuildRiff({Format(), {"LIST", Filled(5, 1)}, Data(10)});
    for (size_t length = 0; length < file.size(); ++length) {
        EXPECT_FALSE(Walk(file, length).chunks) << "cut at " << length;
    }
    EXPECT_TRUE(Walk(file).chunks);
}

TEST(RiffWalk, OddChunkIsFollowedByItsPadByte)
{
    const Found found = Walk(BuildRiff({Format(), {"LIST", Filled(3, 1)}, Data()}));
    ASSERT_TRUE(found.chunks);
    // 12 header + 8 + 16 fmt + 8 + 3 + 1 pad + 8 data header.
    EXPECT_EQ(found.DataOffset(), 56u);
    EXPECT_EQ(found.chunks->data[0], 0x80);
}

TEST(RiffWalk, OddDataAtTheEndNeedsNoPadByte)
{
    const Bytes file = BuildRiff({Format(), Data(5)});
    const Found found = Walk(file, file.size() - 1);
    ASSERT_TRUE(found.chunks);
    EXPECT_EQ(found.chunks->dataSize, 5u);
}

TEST(RiffWalk, ChunkOrderDoesNotMatter)
{
    const Found found = Walk(BuildRiff({Data(), Format()}));
    ASSERT_TRUE(found.chunks);
    EXPECT_EQ(found.DataOffset(), 20u);
    EXPECT_EQ(found.FormatOffset(), 32u);
}

TEST(RiffWalk, TakesTheFirstUsableChunkOfEachKind)
{
    const Found found = Walk(BuildRiff({Format(18), Data(0), Data(2), Format(16), Data(4)}));
    ASSERT_TRUE(found.chunks);
    EXPECT_EQ(found.chunks->formatSize, 18u);
    EXPECT_EQ(found.FormatOffset(), 20u);
    EXPECT_EQ(found.chunks->dataSize, 2u);
    EXPECT_EQ(found.DataOffset(), 54u);
}

TEST(RiffWalk, RefusesIncompleteOrDamagedFiles)
{
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"no data", BuildRiff({Format()})},
        {"empty data", BuildRiff({Format(), Data(0)})},
        {"no fmt", BuildRiff({Data()})},
        {"fmt shorter than 16", BuildRiff({Format(14), Data()})},
        {"chunk size past the end", BuildRiff({Format(), {"junk", Filled(4, 0), 0xFFFFFFF0u},
                                               Data()})},
        {"data size past the end", BuildRiff({Format(), {"data", Filled(4, 0), 0xFFFFFFF0u}})},
        {"data size one past the end", BuildRiff({Format(), {"data", Filled(4, 0), 5u}})},
        {"fmt size past the end", BuildRiff({{"fmt ", Filled(16, 0), 0xFFFFFFFFu}, Data()})},
        {"riff size ends before data", BuildRiff({Format(), Data()}, "WAVE", "RIFF", 36u)},
        {"riff size too small for a header", BuildRiff({Format(), Data()}, "WAVE", "RIFF", 0u)},
        {"not WAVE", BuildRiff({Format(), Data()}, "AVI ")},
        {"not RIFF", BuildRiff({Format(), Data()}, "WAVE", "RIFX")},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Walk(c.file).chunks) << c.name;
    }
}

TEST(RiffWalk, RiffSizeLargerThanTheFileStopsAtTheEnd)
{
    const Found found = Walk(BuildRiff({Format(), Data()}, "WAVE", "RIFF", 0xFFFFFFFFu));
    ASSERT_TRUE(found.chunks);
    EXPECT_EQ(found.chunks->dataSize, 4u);
}

TEST(RiffWalk, BytesAfterTheRiffSizeAreIgnored)
{
    Bytes file = BuildRiff({Format()});
    const Bytes trailer = BuildRiff({Data()});
    file.insert(file.end(), trailer.begin() + 12, trailer.end());   // a "data" chunk outside
    EXPECT_FALSE(Walk(file).chunks);
}

TEST(RiffWalk, NullBufferIsRefused)
{
    EXPECT_FALSE(FindWaveChunks(nullptr, 0));
}

}  // namespace
