// Exhausted memory inside a scan tick: the error box, exit code -1, no exit hook.
#include <gtest/gtest.h>

#include "driver.h"

using namespace std::chrono_literals;
using namespace driver;

class FatalPath : public testing::TestWithParam<int> {};

// The first three allocations of a tick: the snapshot's growing list and the first
// handle texts. Any of them refused ends the program the same way.
INSTANTIATE_TEST_SUITE_P(AllocationOfATick, FatalPath, testing::Values(1, 2, 3));

TEST_P(FatalPath, RefusedAllocationShowsTheBoxAndExitsWithMinusOneWithoutExitHooks)
{
    std::wstring marker = FreshTempPath(L"varnel-fatal-marker");

    Process probe;
    ASSERT_TRUE(Launch(ToWindowsPath(FATAL_PROBE_EXE), L"\"" + marker + L"\" " + std::to_wstring(GetParam()), probe));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindTopLevel(probe.Id(), L"#32770")) != nullptr; }, 20s))
        << "no error box after the first tick";
    EXPECT_EQ(L"Varnel自动签到", Text(box));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER)) << "the box has no owner";

    // While the box is open the program does not end on its own.
    DWORD code = 0;
    EXPECT_FALSE(probe.WaitExit(500ms, code));

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(probe.WaitExit(10s, code));
    EXPECT_EQ(static_cast<DWORD>(-1), code);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(marker.c_str())) << "an exit hook ran";
}

TEST(FatalProbe, MarkerHookRunsOnAnOrderlyEnd)
{
    // The same probe without a refusal (closed before the first tick) shows the marker works.
    std::wstring marker = FreshTempPath(L"varnel-orderly-marker");

    Process probe;
    ASSERT_TRUE(Launch(ToWindowsPath(FATAL_PROBE_EXE), marker, probe));
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (main = FindTopLevel(probe.Id(), L"VarnelForm")) != nullptr; }, 15s));
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 12345;
    ASSERT_TRUE(probe.WaitExit(10s, code));
    EXPECT_EQ(0u, code);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(marker.c_str()));
    DeleteFileW(marker.c_str());
}
