// The frame run in-process: ProgramStart with the real 主窗口 and its timer, observed
// through a message hook, then the orderly shutdown.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/frame.h"
#include "driver.h"
#include "watcher/watcher.h"

using namespace std::chrono_literals;

namespace {

std::vector<DWORD> tickTimes;
std::atomic<int> ticksSeen{0};
int exitHookRuns = 0;

void CountingExitHook() { ++exitHookRuns; }

bool IsTimerControl(HWND hwnd)
{
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    return lstrcmpW(cls, L"VarnelTimer") == 0;
}

LRESULT CALLBACK WatchTicks(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && IsTimerControl(msg->hwnd)) {
        tickTimes.push_back(GetTickCount());
        ++ticksSeen;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND MakeTestWindow(bool visible)
{
    return CreateWindowExW(0, L"STATIC", L"frame test", WS_POPUP | (visible ? WS_VISIBLE : 0), 50, 50, 40, 30,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool SnapshotHas(HWND hwnd)
{
    std::string text = std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)));
    for (size_t i = 0; i < Watcher.windowSnapshot.Count(); ++i) {
        if (text == Watcher.windowSnapshot.Item(i))
            return true;
    }
    return false;
}

}  // namespace

TEST(Frame, TicksEveryScanPeriodAndShutsDownInOrder)
{
    HWND visible = MakeTestWindow(true);
    HWND hidden = MakeTestWindow(false);
    ASSERT_TRUE(visible && hidden);

    // Registered twice, run once; registered before ProgramStart adds its own hook.
    RegisterExitHook(CountingExitHook);
    RegisterExitHook(CountingExitHook);
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, WatchTicks, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);

    // Close 主窗口 from outside, as the user would, once two ticks have come.
    std::thread closer([] {
        HWND main = nullptr;
        driver::WaitFor([&] { return (main = driver::FindTopLevel(GetCurrentProcessId(), L"VarnelForm")) != nullptr; }, 15s);
        driver::WaitFor([] { return ticksSeen >= 2; }, 15s);
        PostMessageW(main, WM_CLOSE, 0, 0);
    });
    DWORD started = GetTickCount();
    EXPECT_EQ(0, ProgramStart());
    closer.join();
    UnhookWindowsHookEx(hook);

    ASSERT_GE(tickTimes.size(), 2u);
    // The first tick comes one period after the timer was made; later ones a period apart.
    EXPECT_NEAR(3000.0, static_cast<double>(tickTimes[0] - started), 700.0);
    EXPECT_NEAR(3000.0, static_cast<double>(tickTimes[1] - tickTimes[0]), 500.0);

    // The last tick's snapshot lists visible windows only.
    EXPECT_TRUE(SnapshotHas(visible));
    EXPECT_FALSE(SnapshotHas(hidden));
    EXPECT_GT(Watcher.windowSnapshot.Count(), 0u);

    EXPECT_EQ(0, RunShutdown());
    EXPECT_EQ(1, exitHookRuns);
    EXPECT_EQ(0u, Watcher.windowSnapshot.Count()) << "the exit hook released the snapshot";
    DestroyWindow(visible);
    DestroyWindow(hidden);
}
