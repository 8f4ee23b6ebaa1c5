// Checks that the bundled media files are well-formed and have the exact
// layout the program and its installer expect.  Parses the bytes directly so
// a broken generator cannot hide behind a lenient decoder.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef VARNEL_ASSETS_DIR
#error "VARNEL_ASSETS_DIR must name the assets directory"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readAsset(const std::string& name) {
    std::ifstream in(std::string(VARNEL_ASSETS_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Readers return 0 past the end; every caller checks sizes first, and a short
// file then shows up as a field mismatch instead of a crash.
std::uint32_t le16(const Bytes& b, std::size_t at) {
    if (at + 2 > b.size()) return 0;
    return b[at] | (b[at + 1] << 8);
}

std::uint32_t le32(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size()) return 0;
    return static_cast<std::uint32_t>(b[at]) | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t le32s(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(le32(b, at));
}

std::uint32_t be32(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size()) return 0;
    return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) |
           b[at + 3];
}

std::string text(const Bytes& b, std::size_t at, std::size_t n) {
    if (at + n > b.size()) return {};
    return std::string(b.begin() + at, b.begin() + at + n);
}

std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

TEST(Crc32, MatchesKnownValue) {
    const std::string s = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()), 0xCBF43926u);
}

// ---------------------------------------------------------------- icon ---

constexpr std::size_t kIcoSize = 171990;
constexpr std::size_t kIcoCount = 14;
constexpr std::size_t kIcoDirEnd = 6 + 16 * kIcoCount;

struct IconImage {
    unsigned size;
    unsigned bpp;
    std::uint32_t bytes;
};

constexpr std::array<IconImage, kIcoCount> kIconImages{{
    {16, 4, 296},    {32, 4, 744},    {48, 4, 1640},   {16, 8, 1384},   {32, 8, 2216},
    {48, 8, 3752},   {16, 32, 1128},  {24, 32, 2440},  {32, 32, 4264},  {48, 32, 9640},
    {64, 32, 16936}, {72, 32, 21640}, {96, 32, 38056}, {128, 32, 67624},
}};

std::size_t stride(unsigned width, unsigned bpp) { return (width * bpp + 31) / 32 * 4; }

std::size_t paletteBytes(unsigned bpp) { return bpp <= 8 ? (std::size_t{4} << bpp) : 0; }

class IcoFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ico = readAsset("app_icon.ico"); }
    static Bytes ico;
};
Bytes IcoFile::ico;

TEST_F(IcoFile, HeaderAndTotalSize) {
    ASSERT_EQ(ico.size(), kIcoSize);
    EXPECT_EQ(le16(ico, 0), 0u);  // reserved
    EXPECT_EQ(le16(ico, 2), 1u);  // 1 = icon, 2 would be a cursor
    EXPECT_EQ(le16(ico, 4), kIcoCount);
}

TEST_F(IcoFile, ImagesAreContiguousAndFillTheFile) {
    ASSERT_EQ(ico.size(), kIcoSize);
    std::size_t expected = kIcoDirEnd;
    for (std::size_t i = 0; i < kIcoCount; ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(le32(ico, entry + 12), expected);
        expected += le32(ico, entry + 8);
    }
    EXPECT_EQ(expected, ico.size());
}

class IcoImage : public IcoFile, public ::testing::WithParamInterface<std::size_t> {
protected:
    const IconImage& want() const { return kIconImages[GetParam()]; }
    std::size_t entry() const { return 6 + 16 * GetParam(); }
    std::size_t offset() const { return le32(ico, entry() + 12); }
    std::size_t maskOffset() const {
        const auto& w = want();
        return offset() + 40 + paletteBytes(w.bpp) + stride(w.size, w.bpp) * w.size;
    }
    // Bottom-up rows, like the colour bits.
    bool masked(unsigned x, unsigned yTop) const {
        const auto& w = want();
        const std::size_t at = maskOffset() + stride(w.size, 1) * (w.size - 1 - yTop) + x / 8;
        return (ico.at(at) >> (7 - x % 8)) & 1;
    }
    void SetUp() override {
        ASSERT_EQ(ico.size(), kIcoSize);
        ASSERT_LE(offset() + want().bytes, ico.size());
    }
};

TEST_P(IcoImage, DirectoryEntry) {
    const auto& w = want();
    EXPECT_EQ(ico[entry() + 0], w.size);
    EXPECT_EQ(ico[entry() + 1], w.size);
    EXPECT_EQ(ico[entry() + 2], w.bpp == 4 ? 16 : 0);  // colour count
    EXPECT_EQ(ico[entry() + 3], 0);
    EXPECT_EQ(le16(ico, entry() + 4), 1u);  // planes
    EXPECT_EQ(le16(ico, entry() + 6), w.bpp);
    EXPECT_EQ(le32(ico, entry() + 8), w.bytes);
}

TEST_P(IcoImage, BitmapHeaderDescribesAnUncompressedDib) {
    const auto& w = want();
    const std::size_t at = offset();
    // A PNG-compressed image would start with the PNG signature instead.
    EXPECT_EQ(le32(ico, at), 40u);
    EXPECT_EQ(le32s(ico, at + 4), static_cast<std::int32_t>(w.size));
    EXPECT_EQ(le32s(ico, at + 8), static_cast<std::int32_t>(2 * w.size));  // colour + mask
    EXPECT_EQ(le16(ico, at + 12), 1u);
    EXPECT_EQ(le16(ico, at + 14), w.bpp);
    EXPECT_EQ(le32(ico, at + 16), 0u);  // BI_RGB
    const std::uint32_t bitsSize =
        static_cast<std::uint32_t>((stride(w.size, w.bpp) + stride(w.size, 1)) * w.size);
    const std::uint32_t sizeImage = le32(ico, at + 20);
    EXPECT_TRUE(sizeImage == 0 || sizeImage == bitsSize) << sizeImage;
    for (std::size_t field = 24; field < 40; field += 4)
        EXPECT_EQ(le32(ico, at + field), 0u) << "header byte " << field;
}

TEST_P(IcoImage, SizeIsHeaderPalettePixelsAndMask) {
    const auto& w = want();
    EXPECT_EQ(w.bytes,
              40 + paletteBytes(w.bpp) + (stride(w.size, w.bpp) + stride(w.size, 1)) * w.size);
}

TEST_P(IcoImage, CornersAreTransparentAndCentreIsOpaque) {
    const unsigned s = want().size;
    EXPECT_TRUE(masked(0, 0));
    EXPECT_TRUE(masked(s - 1, 0));
    EXPECT_TRUE(masked(0, s - 1));
    EXPECT_TRUE(masked(s - 1, s - 1));
    EXPECT_FALSE(masked(s / 2, s / 2));
}

INSTANTIATE_TEST_SUITE_P(AllImages, IcoImage, ::testing::Range<std::size_t>(0, kIcoCount),
                         [](const auto& info) {
                             const auto& w = kIconImages[info.param];
                             return std::to_string(w.size) + "px_" + std::to_string(w.bpp) +
                                    "bpp";
                         });

// Only the 32-bit images carry alpha that the mask has to agree with.
class IcoAlphaImage : public IcoImage {};

std::vector<std::size_t> alphaImages() {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < kIcoCount; ++i)
        if (kIconImages[i].bpp == 32) out.push_back(i);
    return out;
}

TEST_P(IcoAlphaImage, MaskAgreesWithAlpha) {
    const auto& w = want();
    const std::size_t bits = offset() + 40;
    std::size_t mismatches = 0;
    for (unsigned y = 0; y < w.size; ++y) {
        for (unsigned x = 0; x < w.size; ++x) {
            const std::uint8_t alpha = ico[bits + stride(w.size, 32) * (w.size - 1 - y) + 4 * x + 3];
            if ((alpha == 0) != masked(x, y)) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0u);
}

INSTANTIATE_TEST_SUITE_P(AlphaImages, IcoAlphaImage, ::testing::ValuesIn(alphaImages()),
                         [](const auto& info) {
                             return std::to_string(kIconImages[info.param].size) + "px";
                         });

// ---------------------------------------------------------------- PNGs ---

struct Chunk {
    std::string type;
    std::size_t data;  // offset of the chunk's data
    std::uint32_t length;
    bool crcOk;
};

// Walks the chunk list; stops at IEND or at the first chunk that runs past
// the end of the file (then `complete` stays false).
struct PngChunks {
    std::vector<Chunk> chunks;
    bool complete = false;
    std::size_t trailing = 0;
};

PngChunks walkPng(const Bytes& b) {
    PngChunks out;
    std::size_t at = 8;
    while (at + 12 <= b.size()) {
        const std::uint32_t length = be32(b, at);
        if (length > b.size() - at - 12) break;
        Chunk c{text(b, at + 4, 4), at + 8, length, false};
        c.crcOk = crc32(b.data() + at + 4, length + 4) == be32(b, at + 8 + length);
        out.chunks.push_back(c);
        at += 12 + length;
        if (c.type == "IEND") {
            out.complete = true;
            out.trailing = b.size() - at;
            break;
        }
    }
    return out;
}

struct PngCase {
    const char* file;
    std::uint32_t width;
    std::uint32_t height;
};

class PngFile : public ::testing::TestWithParam<PngCase> {
protected:
    void SetUp() override {
        png = readAsset(GetParam().file);
        ASSERT_GT(png.size(), 8u) << GetParam().file << " is missing or empty";
        walk = walkPng(png);
    }
    const Chunk* find(const std::string& type) const {
        for (const auto& c : walk.chunks)
            if (c.type == type) return &c;
        return nullptr;
    }
    Bytes png;
    PngChunks walk;
};

TEST_P(PngFile, Signature) {
    const std::array<std::uint8_t, 8> sig{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(sig.begin(), sig.end(), png.begin()));
}

TEST_P(PngFile, ChunkSequence) {
    ASSERT_TRUE(walk.complete) << "no IEND, or a chunk overruns the file";
    EXPECT_EQ(walk.trailing, 0u);
    std::vector<std::string> types;
    for (const auto& c : walk.chunks) types.push_back(c.type);
    ASSERT_GE(types.size(), 7u);
    const std::vector<std::string> head{"IHDR", "sRGB", "gAMA", "pHYs"};
    EXPECT_EQ(std::vector<std::string>(types.begin(), types.begin() + 4), head);
    for (std::size_t i = 4; i + 1 < types.size(); ++i) EXPECT_EQ(types[i], "IDAT") << i;
    EXPECT_GE(types.size() - 5, 2u) << "image data should be split over several IDATs";
    EXPECT_EQ(types.back(), "IEND");
    EXPECT_EQ(walk.chunks.back().length, 0u);
}

TEST_P(PngFile, EveryChunkCrcIsValid) {
    ASSERT_FALSE(walk.chunks.empty());
    for (const auto& c : walk.chunks) EXPECT_TRUE(c.crcOk) << c.type << " at " << c.data;
}

TEST_P(PngFile, HeaderFields) {
    const Chunk* ihdr = find("IHDR");
    ASSERT_NE(ihdr, nullptr);
    ASSERT_EQ(ihdr->length, 13u);
    const std::size_t at = ihdr->data;
    EXPECT_EQ(be32(png, at), GetParam().width);
    EXPECT_EQ(be32(png, at + 4), GetParam().height);
    EXPECT_EQ(png[at + 8], 8);   // bit depth
    EXPECT_EQ(png[at + 9], 6);   // RGBA
    EXPECT_EQ(png[at + 10], 0);  // deflate
    EXPECT_EQ(png[at + 11], 0);  // adaptive filtering
    EXPECT_EQ(png[at + 12], 0);  // not interlaced
}

TEST_P(PngFile, ColourSpaceAndDensity) {
    const Chunk* srgb = find("sRGB");
    const Chunk* gama = find("gAMA");
    const Chunk* phys = find("pHYs");
    ASSERT_TRUE(srgb && gama && phys);
    ASSERT_EQ(srgb->length, 1u);
    EXPECT_EQ(png[srgb->data], 0);  // perceptual intent
    ASSERT_EQ(gama->length, 4u);
    EXPECT_EQ(be32(png, gama->data), 45455u);
    ASSERT_EQ(phys->length, 9u);
    EXPECT_GT(be32(png, phys->data), 0u);
    EXPECT_EQ(be32(png, phys->data), be32(png, phys->data + 4));  // square pixels
    EXPECT_EQ(png[phys->data + 8], 1);                             // per metre
}

TEST_P(PngFile, ImageDataStartsAZlibStream) {
    const Chunk* idat = find("IDAT");
    ASSERT_NE(idat, nullptr);
    ASSERT_GE(idat->length, 2u);
    const unsigned cmf = png[idat->data], flg = png[idat->data + 1];
    EXPECT_EQ(cmf & 0x0F, 8u);  // deflate
    EXPECT_EQ((cmf * 256 + flg) % 31, 0u);
    EXPECT_EQ(flg & 0x20, 0u);  // no preset dictionary
}

INSTANTIATE_TEST_SUITE_P(Pictures, PngFile,
                         ::testing::Values(PngCase{"main_picture.png", 1072, 1500},
                                           PngCase{"author_picture.png", 1500, 1500}),
                         [](const auto& info) {
                             std::string n = info.param.file;
                             return n.substr(0, n.find('.'));
                         });

// ---------------------------------------------------------------- WAV ---

constexpr std::size_t kWavSize = 110698;
constexpr std::size_t kWavData = 106;
constexpr std::uint32_t kWavDataBytes = 110592;

class WavFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() { wav = readAsset("sign_in_chime.wav"); }
    void SetUp() override { ASSERT_EQ(wav.size(), kWavSize); }
    static std::int16_t sample(std::size_t index) {
        return static_cast<std::int16_t>(le16(wav, kWavData + 2 * index));
    }
    static Bytes wav;
};
Bytes WavFile::wav;

TEST_F(WavFile, ChunkTags) {
    const struct {
        std::size_t at;
        const char* tag;
    } tags[] = {{0, "RIFF"},  {8, "WAVE"},  {12, "fmt "}, {36, "LIST"}, {44, "INFO"},
                {48, "ICRD"}, {62, "IGNR"}, {76, "ISFT"}, {98, "data"}};
    for (const auto& t : tags) EXPECT_EQ(text(wav, t.at, 4), t.tag) << "at " << t.at;
}

TEST_F(WavFile, NumericFields) {
    const struct {
        std::size_t at;
        unsigned width;
        std::uint32_t value;
        const char* what;
    } fields[] = {
        {4, 4, kWavSize - 8, "RIFF size"},
        {16, 4, 16, "fmt size"},
        {20, 2, 1, "PCM"},
        {22, 2, 2, "channels"},
        {24, 4, 22050, "frame rate"},
        {28, 4, 88200, "byte rate"},
        {32, 2, 4, "block align"},
        {34, 2, 16, "bits per sample"},
        {40, 4, 54, "LIST size"},
        {52, 4, 5, "ICRD size"},
        {66, 4, 6, "IGNR size"},
        {102, 4, kWavDataBytes, "data size"},
    };
    for (const auto& f : fields) {
        const std::uint32_t got = f.width == 2 ? le16(wav, f.at) : le32(wav, f.at);
        EXPECT_EQ(got, f.value) << f.what << " at " << f.at;
    }
}

TEST_F(WavFile, InfoTexts) {
    EXPECT_EQ(text(wav, 56, 6), std::string("2017\0\0", 6));  // text, NUL, pad
    EXPECT_EQ(text(wav, 70, 6), std::string("Blues\0", 6));
    // The software tag may be any name, but it must be NUL-terminated
    // printable text whose size field plus pad fills the list exactly.
    const std::uint32_t isft = le32(wav, 80);
    EXPECT_EQ(isft + (isft & 1), 14u);
    ASSERT_GE(isft, 2u);
    ASSERT_LE(isft, 14u);
    EXPECT_EQ(wav[84 + isft - 1], 0) << "terminator";
    for (std::size_t i = 84; i < 84 + isft - 1; ++i)
        EXPECT_TRUE(wav[i] >= 0x20 && wav[i] < 0x7F) << "byte " << i;
    for (std::size_t i = 84 + isft; i < 98; ++i) EXPECT_EQ(wav[i], 0) << "pad " << i;
}

TEST_F(WavFile, DataFillsTheRestOfTheFile) {
    EXPECT_EQ(kWavData + kWavDataBytes, wav.size());
    EXPECT_EQ(kWavDataBytes % 4, 0u);  // whole stereo frames
}

TEST_F(WavFile, SoundStartsPromptlyAndStaysBelowFullScale) {
    const std::size_t samples = kWavDataBytes / 2;
    int peak = 0;
    std::size_t firstSound = samples;
    for (std::size_t i = 0; i < samples; ++i) {
        const int v = sample(i);
        peak = std::max(peak, v < 0 ? -v : v);
        if (v != 0 && firstSound == samples) firstSound = i;
    }
    EXPECT_LT(firstSound, 2u * 64) << "more than 64 silent frames at the start";
    EXPECT_LE(peak, 23170) << "louder than -3 dBFS";
    EXPECT_GE(peak, 8192) << "quieter than -12 dBFS";
}

TEST_F(WavFile, DecaysTowardsSilence) {
    auto energy = [](std::size_t from, std::size_t count) {
        double sum = 0;
        for (std::size_t i = from; i < from + count; ++i) sum += double(sample(i)) * sample(i);
        return sum / count;
    };
    const std::size_t samples = kWavDataBytes / 2;
    const std::size_t window = 4096;
    // At least 30 dB quieter at the end than at the start.
    EXPECT_LT(energy(samples - window, window) * 1000, energy(0, window));
}

}  // namespace
