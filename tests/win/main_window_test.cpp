// The real program, started as a user starts it, checked from another process.
#include <gtest/gtest.h>

#include "program.h"

using namespace std::chrono_literals;
using namespace driver;

namespace {

const wchar_t kCaption[] = L"Varnel自动签到";

struct ExpectedControl {
    const wchar_t* className;
    const wchar_t* text;
    RECT rect;
};

}  // namespace

TEST(MainWindow, StartsCentredWithItsControlsAndEndsOnEscape)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());

    RECT outer = OuterRect(program.main);
    EXPECT_EQ(818, outer.left);
    EXPECT_EQ(469, outer.top);
    EXPECT_EQ(284, outer.right - outer.left);
    EXPECT_EQ(141, outer.bottom - outer.top);
    EXPECT_EQ(kCaption, Text(program.main));

    LONG style = GetWindowLongW(program.main, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(nullptr, GetWindow(program.main, GW_OWNER)) << "主窗口 has a taskbar button";

    // Children in stacking order, which is record order (the timer's window included).
    const ExpectedControl expected[] = {
        {L"ListBox", L"", {8, 120, 272, 264}},
        {L"Button", L"运行日志", {160, 80, 240, 112}},
        {L"Button", L"作者", {240, 80, 272, 112}},
        {L"VarnelPicture", L"", {16, 8, 88, 120}},
        {L"VarnelPicture", L"", {112, 80, 120, 88}},
        {L"VarnelTimer", L"", {208, 16, 256, 40}},
        {L"VarnelLabel", L"0", {200, 48, 240, 72}},
        {L"VarnelLabel", L"签到次数：", {128, 48, 192, 72}},
        {L"VarnelLabel", L"自动签到正在运行", {96, 16, 248, 40}},
    };
    std::vector<Child> children = ChildrenOf(program.main);
    ASSERT_EQ(std::size(expected), children.size());
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(0, lstrcmpiW(expected[i].className, children[i].className.c_str())) << children[i].className.size();
        EXPECT_EQ(expected[i].text, children[i].text);
        EXPECT_EQ(expected[i].rect.left, children[i].rect.left);
        EXPECT_EQ(expected[i].rect.top, children[i].rect.top);
        EXPECT_EQ(expected[i].rect.right, children[i].rect.right);
        EXPECT_EQ(expected[i].rect.bottom, children[i].rect.bottom);
        EXPECT_EQ(i != 5, children[i].visible) << "only the timer's window is never shown";
    }

    // The log list is marked visible but lies below the collapsed client area.
    RECT client;
    GetClientRect(program.main, &client);
    EXPECT_LE(client.bottom, 120);

    HWND list = children[0].hwnd;
    HWND logButton = children[1].hwnd;
    HWND authorButton = children[2].hwnd;
    EXPECT_EQ(authorButton, FocusOf(program.main)) << "the focus starts on 作者";

    // Tab order: 作者, 运行日志, 列表框1, and round again; Shift+Tab goes back.
    ASSERT_TRUE(BringToFront(program.main));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(program.main) == logButton; }, 3s));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(program.main) == list; }, 3s));
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(program.main) == authorButton; }, 3s));
    PressKey(VK_TAB, true);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(program.main) == list; }, 3s));

    // 运行日志 expands to 300 at the same corner and shows the list; again collapses it.
    // The handler resizes first and shows the list after, so wait for both.
    ClickCentreOf(logButton);
    EXPECT_TRUE(WaitFor([&] {
        RECT r = OuterRect(program.main);
        return r.bottom - r.top == 300 && IsWindowVisible(list);
    }, 3s));
    outer = OuterRect(program.main);
    EXPECT_EQ(818, outer.left);
    EXPECT_EQ(469, outer.top);
    EXPECT_EQ(284, outer.right - outer.left);
    EXPECT_EQ(300, outer.bottom - outer.top);
    EXPECT_TRUE(IsWindowVisible(list));
    GetClientRect(program.main, &client);
    EXPECT_GE(client.bottom, 264) << "the whole list shows in the expanded window";

    ClickCentreOf(logButton);
    EXPECT_TRUE(WaitFor([&] {
        RECT r = OuterRect(program.main);
        return r.bottom - r.top == 141 && !IsWindowVisible(list);
    }, 3s));
    outer = OuterRect(program.main);
    EXPECT_EQ(141, outer.bottom - outer.top);
    EXPECT_FALSE(IsWindowVisible(list));
    // With the list hidden, Tab alternates between the two buttons.
    ASSERT_TRUE(BringToFront(program.main));
    HWND before = FocusOf(program.main);
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return FocusOf(program.main) == before; }, 3s));

    EXPECT_EQ(0u, program.CloseWithEscape());
}

TEST(MainWindow, CloseButtonEndsTheProgramWithCodeZero)
{
    Program program;
    ASSERT_NO_FATAL_FAILURE(program.Start());
    PostMessageW(program.main, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 12345;
    ASSERT_TRUE(program.process.WaitExit(10s, code));
    EXPECT_EQ(0u, code);
}
