#include "ui/layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CentredOrigin, HalvesTheSpareRoomTowardZero)
{
    const struct {
        int32_t screen, outer, expected;
    } cases[] = {
        {1920, 284, 818}, {1080, 141, 469}, {1080, 300, 390}, {1920, 197, 861},
        {1080, 98, 491},  {1920, 223, 848}, {1080, 73, 503},  {1921, 284, 818},
        {100, 301, -100},                                   // -100.5 cuts toward zero
        {INT32_MAX, INT32_MIN, INT32_MAX},                  // the difference leaves 32 bits
        {INT32_MIN, INT32_MAX, -INT32_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CentredOrigin(c.screen, c.outer), c.expected) << c.screen << ", " << c.outer;
    }
}

constexpr TabStopInfo kTabbed{true, true, true, 0};
constexpr TabStopInfo kStatic{false, true, true, 0};      // labels, pictures
constexpr TabStopInfo kTimer{false, false, true, 0};

// The main window: list box, button2, button1, two pictures, the timer, three labels.
std::vector<TabStopInfo> MainWindow()
{
    return {kTabbed, kTabbed, kTabbed, kStatic, kStatic, kTimer, kStatic, kStatic, kStatic};
}

TEST(TabOrder, EqualNumbersRunInReverseRecordOrder)
{
    EXPECT_EQ(TabOrder(MainWindow()), (std::vector<size_t>{2, 1, 0}));
}

TEST(TabOrder, HiddenWindowHasItsButtonsOnly)
{
    const std::vector<TabStopInfo> hiddenWindow{kTabbed, kTabbed, kStatic};
    EXPECT_EQ(TabOrder(hiddenWindow), (std::vector<size_t>{1, 0}));
}

TEST(TabOrder, OnlyTabStopsThatAreVisibleAndEnabledTakePart)
{
    std::vector<TabStopInfo> controls = MainWindow();
    controls[0].visible = false;
    EXPECT_EQ(TabOrder(controls), (std::vector<size_t>{2, 1}));
    controls[1].enabled = false;
    EXPECT_EQ(TabOrder(controls), (std::vector<size_t>{2}));
    controls[2].tabStop = false;
    EXPECT_TRUE(TabOrder(controls).empty());
}

TEST(TabOrder, LowerNumbersComeFirst)
{
    std::vector<TabStopInfo> controls = MainWindow();
    controls[0].tabIndex = -1;
    controls[1].tabIndex = 5;
    controls[2].tabIndex = 5;
    controls.push_back({true, true, true, 3});
    EXPECT_EQ(TabOrder(controls), (std::vector<size_t>{0, 9, 2, 1}));
}

TEST(NextInTabOrder, WrapsAroundBothWays)
{
    const std::vector<TabStopInfo> controls = MainWindow();   // order 2, 1, 0
    const struct {
        size_t current;
        bool backwards;
        size_t expected;
    } cases[] = {
        {2, false, 1}, {1, false, 0}, {0, false, 2},
        {0, true, 1},  {1, true, 2},  {2, true, 0},
        {4, false, 2}, {4, true, 0},                            // a picture is not in the order
        {99, false, 2}, {99, true, 0},                          // nor is a missing control
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextInTabOrder(controls, c.current, c.backwards), c.expected)
            << c.current << (c.backwards ? " back" : " forward");
    }
}

TEST(NextInTabOrder, SingleControlStaysPut)
{
    const std::vector<TabStopInfo> controls{kStatic, kTabbed};
    EXPECT_EQ(NextInTabOrder(controls, 1, false), 1u);
    EXPECT_EQ(NextInTabOrder(controls, 1, true), 1u);
}

TEST(NextInTabOrder, NothingToMoveToWhenNoControlTakesPart)
{
    const std::vector<TabStopInfo> labels{kStatic, kTimer};
    EXPECT_EQ(NextInTabOrder(labels, 0, false), std::nullopt);
    EXPECT_EQ(NextInTabOrder({}, 0, true), std::nullopt);
}

}  // namespace
