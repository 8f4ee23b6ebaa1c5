#include "program.h"

using namespace std::chrono_literals;
using namespace driver;

void Program::Start()
{
    ASSERT_TRUE(Launch(ToWindowsPath(VARNEL_EXE), L"", process));
    ASSERT_TRUE(WaitFor([&] { return (main = FindTopLevel(process.Id(), L"VarnelForm", L"Varnel自动签到")) != nullptr; }, 15s));
    // Showing activates the window; wait until it has the focus it starts with.
    ASSERT_TRUE(WaitFor([&] { return FocusOf(main) != nullptr; }, 5s));
}

DWORD Program::CloseWithEscape()
{
    BringToFront(main);
    PressKey(VK_ESCAPE);
    DWORD code = 12345;
    EXPECT_TRUE(process.WaitExit(10s, code)) << "Esc did not end the program";
    return code;
}

HWND Program::Control(const wchar_t* text) const
{
    const Child* child = ChildWithText(ChildrenOf(main), text);
    return child ? child->hwnd : nullptr;
}

HWND Program::List() const
{
    return FindWindowExW(main, nullptr, L"ListBox", nullptr);
}

std::wstring Program::Count() const
{
    return Text(FindWindowExW(main, nullptr, L"VarnelLabel", nullptr));
}

std::vector<std::wstring> Program::LogLines() const
{
    std::vector<std::wstring> lines;
    HWND list = List();
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(line.size() - 1);
        lines.push_back(line);
    }
    return lines;
}

std::vector<LPARAM> Program::LogItemData() const
{
    std::vector<LPARAM> data;
    HWND list = List();
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        data.push_back(SendMessageW(list, LB_GETITEMDATA, i, 0));
    return data;
}

bool Program::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    DWORD end = GetTickCount() + static_cast<DWORD>(timeout.count());
    while (!done()) {
        if (static_cast<LONG>(GetTickCount() - end) > 0)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}
