#include "ui/alpha_blend.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(BlendChannel, MixesInProportionToAlphaRounded)
{
    const struct {
        uint8_t colour, alpha, background, expected;
    } cases[] = {
        {200, 255, 17, 200},     // opaque keeps the colour
        {0, 255, 255, 0},
        {255, 255, 0, 255},
        {200, 0, 17, 17},        // transparent gives the background
        {255, 0, 0, 0},
        {255, 128, 0, 128},      // 32640 / 255 = 128 exactly
        {255, 127, 0, 127},
        {0, 128, 255, 127},      // 127 * 255 / 255
        {100, 128, 200, 150},    // (12800 + 25400 + 127) / 255 = 150.3
        {1, 1, 0, 0},            // 0.0039 rounds down
        {255, 1, 0, 1},          // 1.0
        {3, 128, 0, 2},          // 1.506 rounds up
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BlendChannel(c.colour, c.alpha, c.background), c.expected)
            << int{c.colour} << " a" << int{c.alpha} << " over " << int{c.background};
    }
}

TEST(MakeOpaque, BlendsBlueGreenRedInMemoryOrder)
{
    // Pixel 0: pure blue, half transparent. Pixel 1: red, opaque. Pixel 2: transparent.
    std::array<uint8_t, 12> bgra{255, 0, 0, 128, 0, 0, 255, 255, 9, 9, 9, 0};
    const Rgb background{.r = 240, .g = 100, .b = 20};
    MakeOpaque(bgra.data(), 3, background);
    const std::array<uint8_t, 12> expected{
        138, 50, 120, 255,       // (255*128 + 20*127 + 127)/255, 100*127, 240*127 over 255
        0, 0, 255, 255,
        20, 100, 240, 255,       // the background, in blue, green, red order
    };
    EXPECT_EQ(bgra, expected);
}

TEST(MakeOpaque, LeavesBytesPastTheCountAlone)
{
    std::array<uint8_t, 8> bgra{1, 2, 3, 0, 4, 5, 6, 0};
    MakeOpaque(bgra.data(), 1, Rgb{.r = 7, .g = 8, .b = 9});
    EXPECT_EQ(bgra, (std::array<uint8_t, 8>{9, 8, 7, 255, 4, 5, 6, 0}));
}

}  // namespace
