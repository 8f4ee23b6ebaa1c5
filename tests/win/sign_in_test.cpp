// End to end: the real executable signs in at prompt windows that this process shows.
// Each test waits for real ticks of the 3 s scan period, so they are few.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "program.h"
#include "prompt_window.h"
#include "watcher/conversions.h"

using namespace std::chrono_literals;

namespace {

// The log line the program writes for this local time, as UTF-16.
std::wstring ExpectedLine(const SYSTEMTIME& t)
{
    std::string line = SignInLogLine(OleDateFromFields(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond));
    wchar_t wide[128] = {};
    MultiByteToWideChar(936, 0, line.c_str(), -1, wide, 128);
    return wide;
}

// True when the line is the log line of one of the whole seconds from before to after.
bool IsLineForNow(const std::wstring& line, const SYSTEMTIME& before, const SYSTEMTIME& after)
{
    FILETIME from, to;
    SystemTimeToFileTime(&before, &from);
    SystemTimeToFileTime(&after, &to);
    ULARGE_INTEGER t{{from.dwLowDateTime, from.dwHighDateTime}}, end{{to.dwLowDateTime, to.dwHighDateTime}};
    t.QuadPart -= t.QuadPart % 10000000ULL;
    for (; t.QuadPart <= end.QuadPart; t.QuadPart += 10000000ULL) {
        FILETIME f{t.LowPart, t.HighPart};
        SYSTEMTIME st;
        FileTimeToSystemTime(&f, &st);
        if (line == ExpectedLine(st))
            return true;
    }
    return false;
}

}  // namespace

TEST(SignIn, APromptIsClickedAtItsSignInPointCountedAndLoggedAtEveryTick)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    PromptWindow decoy(700, 200, 276, 300, true);   // ratio exactly 0.92: never a prompt

    SYSTEMTIME before;
    GetLocalTime(&before);
    PromptWindow prompt(100, 200, 300, 322, true);
    // How soon the first press comes is measured over ten prompts below; here a press that
    // Wine's fresh virtual desktop drops on its way must not fail the test, so two periods.
    ASSERT_TRUE(Program::PumpUntil([&] { return !program.LogLines().empty(); }, 6500ms)) << "no sign-in";
    ASSERT_TRUE(Program::PumpUntil([&] { return !prompt.Clicks().empty(); }, 1s)) << "never pressed";
    SYSTEMTIME after;
    GetLocalTime(&after);

    PromptClick press = prompt.Clicks().back();
    EXPECT_EQ(250, press.screen.x);
    EXPECT_EQ(470, press.screen.y);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(250, cursor.x) << "the cursor stays at the click point";
    EXPECT_EQ(470, cursor.y);

    // The count is raised before the click and the line logged after it.
    ASSERT_TRUE(driver::WaitFor([&] { return !program.LogLines().empty(); }, 2s));
    const size_t first = program.LogLines().size();
    EXPECT_EQ(std::to_wstring(first), program.Count());
    EXPECT_TRUE(IsLineForNow(program.LogLines().back(), before, after)) << "the line is the local date text + 自动签到";
    std::vector<LPARAM> data = program.LogItemData();
    for (size_t i = 0; i < data.size(); ++i)
        EXPECT_EQ(static_cast<LPARAM>(i + 1), data[i]);

    // The prompt stays, so the next tick signs in again.
    ASSERT_TRUE(Program::PumpUntil([&] { return program.LogLines().size() == first + 1; }, 3500ms));
    EXPECT_EQ(std::to_wstring(first + 1), program.Count());
    EXPECT_EQ(static_cast<LPARAM>(first + 1), program.LogItemData().back());
    EXPECT_TRUE(decoy.Clicks().empty()) << "a 276 x 300 window was clicked";

    EXPECT_EQ(0u, program.CloseWithEscape());
}

TEST(SignIn, TwoPromptsInOneTickAreBothSignedIn)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    // A topmost window lies above every other, so EnumWindows lists the first before the second.
    PromptOnThread firstPrompt(100, 100, 300, 322, true, true);
    PromptOnThread secondPrompt(500, 100, 301, 322, true, false);
    const PromptWindow& first = firstPrompt.Prompt();
    const PromptWindow& second = secondPrompt.Prompt();
    const POINT firstPoint{250, 370};    // y = trunc(422 * 0.5 + 100 * 0.5 + 322 * 0.34)
    const POINT secondPoint{650, 370};   // x = trunc(801 * 0.5 + 500 * 0.5)

    // One tick signs in at both: the count goes up by two at once.
    ASSERT_TRUE(driver::WaitFor([&] { return program.LogLines().size() >= 2; }, 3500ms));
    EXPECT_EQ(L"2", program.Count());
    EXPECT_EQ((std::vector<LPARAM>{1, 2}), program.LogItemData());

    // Every press that arrived landed on its window's sign-in point, and the window listed
    // first got its press. Under Wine's virtual desktop the pointer warp of the first click
    // can come back late and swallow the second press (or move the cursor back), so the
    // order itself is checked on the scripted desktop of the native tests.
    ASSERT_TRUE(driver::WaitFor([&] { return !first.Clicks().empty(); }, 1s));
    for (const PromptClick& c : first.Clicks()) {
        EXPECT_EQ(firstPoint.x, c.screen.x);
        EXPECT_EQ(firstPoint.y, c.screen.y);
    }
    for (const PromptClick& c : second.Clicks()) {
        EXPECT_EQ(secondPoint.x, c.screen.x);
        EXPECT_EQ(secondPoint.y, c.screen.y);
    }
    EXPECT_EQ(0u, program.CloseWithEscape());
}

TEST(SignIn, TimeFromAppearanceToClickOverTenPrompts)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    std::vector<DWORD> latencies;
    for (int trial = 0; trial < 10; ++trial) {
        // Prompts appear at different moments of the scan period and close when clicked.
        Program::PumpUntil([] { return false; }, std::chrono::milliseconds(137 * trial % 900));
        auto prompt = std::make_unique<PromptWindow>(100 + 20 * trial, 150, 300, 322, true);
        ASSERT_TRUE(Program::PumpUntil([&] { return !prompt->Clicks().empty(); }, 3600ms)) << "trial " << trial;
        latencies.push_back(prompt->Clicks()[0].tick - prompt->ShownTick());
        prompt.reset();     // gone before the next tick
    }
    std::vector<DWORD> sorted = latencies;
    std::sort(sorted.begin(), sorted.end());
    std::printf("appearance to click over %zu prompts: min %lu ms, median %lu ms, max %lu ms\n", sorted.size(),
                sorted.front(), (sorted[4] + sorted[5]) / 2, sorted.back());
    EXPECT_LE(sorted.back(), 3300u) << "a prompt waited more than one scan period";
    ASSERT_TRUE(driver::WaitFor([&] { return program.Count() == L"10"; }, 2s));
    EXPECT_EQ(0u, program.CloseWithEscape());
}

TEST(SignIn, ACountCaptionChangedByAnotherProcessIsReadAsTheCountReadsIt)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    HWND count = FindWindowExW(program.main, nullptr, L"VarnelLabel", nullptr);
    PromptWindow prompt(100, 200, 300, 322, true);
    const char* captions[] = {"abc", "99999999999999", ""};
    for (size_t i = 0; i < std::size(captions); ++i) {
        wchar_t wide[64] = {};
        MultiByteToWideChar(CP_ACP, 0, captions[i], -1, wide, 64);
        SendMessageW(count, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide));
        size_t lines = program.LogLines().size();
        ASSERT_TRUE(Program::PumpUntil([&] { return program.LogLines().size() > lines; }, 3500ms)) << captions[i];
        std::string next = NumberToText(static_cast<double>(TextToInteger(captions[i])) + 1.0);
        EXPECT_EQ(std::wstring(next.begin(), next.end()), program.Count()) << "after " << captions[i];
    }
    EXPECT_EQ((std::vector<LPARAM>{1, 2, 3}), program.LogItemData()) << "the log goes on regardless";
    EXPECT_EQ(0u, program.CloseWithEscape());
}
