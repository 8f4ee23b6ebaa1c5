// ScanTick on a scripted desktop: which windows are listed, which can be measured, and what
// the tick did to the record, in order.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "watcher/scan_tick.h"

namespace {

struct ScriptedWindow {
    int32_t handle;
    std::optional<Rect> rect;   // nullopt: closed after the snapshot was taken
};

class ScriptedDesktop {
public:
    std::vector<ScriptedWindow> windows;
    std::vector<std::string> effects;
    std::vector<int32_t> measured;

    ScanSeam Seam()
    {
        ScanSeam seam;
        seam.context = this;
        seam.listVisibleWindows = [](void* c) {
            std::vector<int32_t> handles;
            for (const ScriptedWindow& w : Self(c).windows)
                handles.push_back(w.handle);
            return SnapshotList::FromHandles(handles);
        };
        seam.measureWindow = [](void* c, int32_t handle, Rect& rect) {
            Self(c).measured.push_back(handle);
            for (const ScriptedWindow& w : Self(c).windows) {
                if (w.handle == handle && w.rect) {
                    rect = *w.rect;
                    return true;
                }
            }
            return false;
        };
        seam.raiseSignInCount = [](void* c) { Self(c).effects.push_back("count"); };
        seam.simulateLeftClick = [](void* c, int32_t x, int32_t y) {
            Self(c).effects.push_back("click " + std::to_string(x) + "," + std::to_string(y));
        };
        seam.appendSignInLog = [](void* c) { Self(c).effects.push_back("log"); };
        seam.playSignInChime = [](void* c) { Self(c).effects.push_back("chime"); };
        return seam;
    }

private:
    static ScriptedDesktop& Self(void* c) { return *static_cast<ScriptedDesktop*>(c); }
};

const Rect kPrompt{100, 200, 400, 522};        // 300 x 322, sign-in point (250, 470)
const Rect kOtherPrompt{-1000, -500, -700, -178};   // sign-in point (-850, -229)
const Rect kExpandedMain{818, 390, 1102, 690};  // 284 x 300: never a prompt

const std::vector<std::string> kOneSignIn = {"count", "click 250,470", "log", "chime"};

}  // namespace

TEST(ScanTick, SignsInAtAPromptInOrderCountClickLogChime)
{
    ScriptedDesktop desktop;
    desktop.windows = {{66, kExpandedMain}, {210, kPrompt}, {98, Rect{0, 0, 276, 300}}};
    WatcherState state;
    ScanTick(desktop.Seam(), state);

    EXPECT_EQ(kOneSignIn, desktop.effects);
    EXPECT_EQ((std::vector<int32_t>{66, 210, 98}), desktop.measured);
    ASSERT_EQ(3u, state.windowSnapshot.Count());
    EXPECT_STREQ("210", state.windowSnapshot.Item(1));
}

TEST(ScanTick, EveryMatchingWindowIsHandledInListOrder)
{
    ScriptedDesktop desktop;
    desktop.windows = {{1, kPrompt}, {2, kExpandedMain}, {3, kOtherPrompt}};
    WatcherState state;
    ScanTick(desktop.Seam(), state);

    std::vector<std::string> expected = kOneSignIn;
    for (const char* e : {"count", "click -850,-229", "log", "chime"})
        expected.push_back(e);
    EXPECT_EQ(expected, desktop.effects);
}

TEST(ScanTick, APromptThatStaysIsSignedInAgainAtTheNextTick)
{
    ScriptedDesktop desktop;
    desktop.windows = {{7, kPrompt}};
    WatcherState state;
    ScanTick(desktop.Seam(), state);
    ScanTick(desktop.Seam(), state);
    std::vector<std::string> expected = kOneSignIn;
    expected.insert(expected.end(), kOneSignIn.begin(), kOneSignIn.end());
    EXPECT_EQ(expected, desktop.effects);
}

TEST(ScanTick, AWindowThatCannotBeMeasuredIsSkippedNotJudgedOnThePreviousRectangle)
{
    // A closed window right after a prompt: no second count, click, line or chime.
    ScriptedDesktop desktop;
    desktop.windows = {{5, kPrompt}, {6, std::nullopt}};
    WatcherState state;
    ScanTick(desktop.Seam(), state);
    EXPECT_EQ(kOneSignIn, desktop.effects);
    EXPECT_EQ((std::vector<int32_t>{5, 6}), desktop.measured) << "the closed window was still tried";
    EXPECT_EQ(300, state.candidateWidth) << "Candidate values stay those of the last window measured";

    // A closed window first, then a prompt: the prompt is handled.
    ScriptedDesktop closedFirst;
    closedFirst.windows = {{6, std::nullopt}, {5, kPrompt}};
    ScanTick(closedFirst.Seam(), state);
    EXPECT_EQ(kOneSignIn, closedFirst.effects);
}

TEST(ScanTick, CandidateValuesHoldTheLastWindowAndSurviveAnEmptyTick)
{
    ScriptedDesktop desktop;
    desktop.windows = {{1, kPrompt}, {2, Rect{0, 0, 284, 141}}};
    WatcherState state;
    ScanTick(desktop.Seam(), state);
    EXPECT_EQ(284, state.candidateWidth);
    EXPECT_EQ(141, state.candidateHeight);
    EXPECT_FLOAT_EQ(284.0f / 141.0f, state.candidateRatio);

    desktop.windows.clear();
    desktop.effects.clear();
    ScanTick(desktop.Seam(), state);
    EXPECT_EQ(0u, state.windowSnapshot.Count());
    EXPECT_TRUE(desktop.effects.empty());
    EXPECT_EQ(284, state.candidateWidth);
    EXPECT_EQ(141, state.candidateHeight);
}

TEST(ScanTick, NegativeHandlesReachTheDesktopUnchanged)
{
    ScriptedDesktop desktop;
    desktop.windows = {{-2147483647 - 1, kPrompt}, {-12345, kExpandedMain}};
    WatcherState state;
    ScanTick(desktop.Seam(), state);
    EXPECT_EQ((std::vector<int32_t>{-2147483647 - 1, -12345}), desktop.measured);
    EXPECT_EQ(kOneSignIn, desktop.effects);
}

TEST(ScanTick, AThousandWindowsAreAllMeasured)
{
    ScriptedDesktop desktop;
    std::vector<int32_t> prompts;
    for (int32_t i = 0; i < 1000; ++i) {
        bool prompt = i % 97 == 3;
        desktop.windows.push_back({1000 + i, prompt ? kPrompt : kExpandedMain});
        if (prompt)
            prompts.push_back(1000 + i);
    }
    WatcherState state;
    ScanTick(desktop.Seam(), state);
    EXPECT_EQ(1000u, desktop.measured.size());
    EXPECT_EQ(1000u, state.windowSnapshot.Count());
    EXPECT_EQ(prompts.size() * 4, desktop.effects.size());
    EXPECT_STREQ("1999", state.windowSnapshot.Item(999));
}
