// The author window and the hidden window, opened modally from the real 主窗口.
#include <gtest/gtest.h>

#include <algorithm>

#include "program.h"
#include "prompt_window.h"

using namespace std::chrono_literals;
using namespace driver;

namespace {

HWND WaitForWindow(const Program& program, const wchar_t* caption)
{
    HWND window = nullptr;
    WaitFor([&] { return (window = FindTopLevel(program.process.Id(), L"VarnelForm", caption)) != nullptr; }, 5s);
    return window;
}

bool IsHiddenOwner(HWND owner, DWORD processId)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    return owner != nullptr && pid == processId && !IsWindowVisible(owner) &&
           (GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

void ExpectOuter(HWND window, int left, int top, int width, int height)
{
    RECT r = OuterRect(window);
    EXPECT_EQ(left, r.left);
    EXPECT_EQ(top, r.top);
    EXPECT_EQ(width, r.right - r.left);
    EXPECT_EQ(height, r.bottom - r.top);
}

std::string ReadRecord()
{
    return ReadWholeFile(BROWSER_RECORD);
}

void UseRecordingBrowser()
{
    DeleteFileW(ToWindowsPath(BROWSER_RECORD).c_str());
    UseBrowser(BROWSER_RECORDER);
}

}  // namespace

TEST(AuthorWindow, OpensModallyCentredAndEscGivesTheMainWindowBack)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    HWND logButton = program.Control(L"运行日志");

    HWND authorButton = program.Control(L"作者");
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        // The focus is on 作者 at start and comes back to it: the space bar presses it.
        ASSERT_TRUE(BringToFront(program.main));
        ASSERT_TRUE(WaitFor([&] { return FocusOf(program.main) == authorButton; }, 3s));
        PressKey(VK_SPACE);
        HWND author = WaitForWindow(program, L"Hi～");
        ASSERT_NE(nullptr, author);
        ExpectOuter(author, 861, 491, 197, 98);
        EXPECT_TRUE(IsHiddenOwner(GetWindow(author, GW_OWNER), program.process.Id())) << "no taskbar button";
        EXPECT_FALSE(IsWindowEnabled(program.main));
        std::vector<Child> children = ChildrenOf(author);
        ASSERT_EQ(3u, children.size());
        EXPECT_EQ(L"Morvale", children[0].text);
        EXPECT_EQ(L"Kestrin", children[1].text);
        EXPECT_EQ(author, FocusOf(author)) << "no tab stop: the window keeps the focus";

        // Clicks on the disabled 主窗口 do nothing.
        ClickCentreOf(logButton);
        Sleep(300);
        EXPECT_EQ(141, OuterRect(program.main).bottom - OuterRect(program.main).top);

        ASSERT_TRUE(BringToFront(author));
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(author); }, 3s));
        EXPECT_TRUE(IsWindowEnabled(program.main));
        EXPECT_TRUE(IsWindow(program.main)) << "Esc closed only the author window";
    }
    // 主窗口 takes input again.
    ClickCentreOf(logButton);
    EXPECT_TRUE(WaitFor([&] { RECT r = OuterRect(program.main); return r.bottom - r.top == 300; }, 3s));
    EXPECT_EQ(0u, program.CloseWithEscape());
}

TEST(HiddenWindow, OpensOnALeftPressOnThePictureOffersTheAddressAndCloses)
{
    UseRecordingBrowser();
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    RECT main = OuterRect(program.main);
    POINT picture{main.left + 60, main.top + 90};   // inside 图片框1 (client 16..88 x 8..120)

    // A press on the tiny 图片框2 opens nothing.
    HWND tinyBox = ChildrenOf(program.main)[4].hwnd;
    ClickCentreOf(tinyBox);
    Sleep(500);
    EXPECT_EQ(nullptr, FindTopLevel(program.process.Id(), L"VarnelForm", L"隐藏彩蛋"));

    // Nor does a right press on the picture.
    ClickAt(picture.x, picture.y, true);
    Sleep(500);
    EXPECT_EQ(nullptr, FindTopLevel(program.process.Id(), L"VarnelForm", L"隐藏彩蛋"));

    ClickAt(picture.x, picture.y);
    HWND hidden = WaitForWindow(program, L"隐藏彩蛋");
    ASSERT_NE(nullptr, hidden);
    ExpectOuter(hidden, 848, 503, 223, 73);
    EXPECT_TRUE(IsHiddenOwner(GetWindow(hidden, GW_OWNER), program.process.Id()));
    EXPECT_FALSE(IsWindowEnabled(program.main));
    HWND agree = FindWindowExW(hidden, nullptr, L"Button", L"同意");
    HWND cancel = FindWindowExW(hidden, nullptr, L"Button", L"取消");
    ASSERT_TRUE(agree && cancel);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(hidden) == agree; }, 3s)) << "the focus starts on 同意";
    ASSERT_TRUE(BringToFront(hidden));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(hidden) == cancel; }, 3s));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(hidden) == agree; }, 3s));

    // 同意 twice (the space bar presses the focused button): the address is opened twice and
    // the window stays.
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return ReadRecord().find('\n') != std::string::npos; }, 20s));
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] {
        std::string r = ReadRecord();
        return std::count(r.begin(), r.end(), '\n') == 2;
    }, 20s));
    std::string record = ReadRecord();
    EXPECT_EQ(0u, record.find("https://www.example.com/")) << record;
    EXPECT_TRUE(IsWindow(hidden));

    // 取消 destroys it and gives 主窗口 back; a new press opens it afresh; Esc closes it too.
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(hidden) == cancel; }, 3s));
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(hidden); }, 3s));
    EXPECT_TRUE(IsWindowEnabled(program.main));
    ClickAt(picture.x, picture.y);
    hidden = WaitForWindow(program, L"隐藏彩蛋");
    ASSERT_NE(nullptr, hidden);
    ASSERT_TRUE(BringToFront(hidden));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(hidden); }, 3s));
    EXPECT_TRUE(IsWindowEnabled(program.main));
    EXPECT_EQ(0u, program.CloseWithEscape());
}

TEST(ModalWindows, APromptIsStillSignedInWhileAModalWindowIsOpen)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    ASSERT_TRUE(BringToFront(program.main));
    PressKey(VK_SPACE);     // 作者 has the focus
    HWND author = WaitForWindow(program, L"Hi～");
    ASSERT_NE(nullptr, author);

    PromptWindow prompt(100, 200, 300, 322, true);
    ASSERT_TRUE(Program::PumpUntil([&] { return !program.LogLines().empty(); }, 6500ms)) << "no sign-in";
    EXPECT_EQ(std::to_wstring(program.LogLines().size()), program.Count());
    ASSERT_TRUE(Program::PumpUntil([&] { return !prompt.Clicks().empty(); }, 1s));
    EXPECT_EQ(250, prompt.Clicks().back().screen.x);
    EXPECT_EQ(470, prompt.Clicks().back().screen.y);
    EXPECT_TRUE(IsWindow(author));
    PostMessageW(author, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(author); }, 3s));
    EXPECT_EQ(0u, program.CloseWithEscape());
}
