// Right after wineserver starts, Wine's virtual desktop can drop synthesised mouse input
// while it is still coming up. This clicks a window of its own until a click arrives whole,
// so that the tests after it time real clicks, not the desktop's start-up.
#include <cstdio>

#include "prompt_window.h"

int main()
{
    PromptWindow target(700, 300, 300, 322, true);
    RECT rect;
    GetWindowRect(target.Hwnd(), &rect);
    const int x = (rect.left + rect.right) / 2;
    const int y = rect.top + (rect.bottom - rect.top) * 84 / 100;
    for (int attempt = 1; attempt <= 60; ++attempt) {
        SetCursorPos(x, y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        DWORD until = GetTickCount() + 500;
        while (GetTickCount() < until) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            if (target.SignIns() > 0) {
                std::printf("desktop settled after %d click(s)\n", attempt);
                return 0;
            }
            Sleep(10);
        }
    }
    std::printf("desktop did not settle\n");
    return 1;
}
