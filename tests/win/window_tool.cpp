// A small helper for the project's scripts:
//   window_tool wait <caption> <seconds>      waits for a visible window with that caption
//   window_tool rect <caption>                prints "x y width height" of its outer rectangle
//   window_tool press <caption> <button text> presses one of its buttons (BM_CLICK)
//   window_tool close <caption>               asks it to close (WM_CLOSE)
//   window_tool lpress <caption> <x> <y>      a left-button press on its child at client (x, y)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {


HWND FindVisible(const std::wstring& caption)
{
    HWND hwnd = nullptr;
    while ((hwnd = FindWindowExW(nullptr, hwnd, nullptr, caption.c_str())) != nullptr) {
        if (IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}

}  // namespace

int wmain(int count, wchar_t** args)
{
    if (count < 3)
        return 2;
    std::wstring command = args[1];
    std::wstring caption = args[2];
    if (command == L"wait") {
        int seconds = count > 3 ? _wtoi(args[3]) : 20;
        for (int i = 0; i < seconds * 10; ++i) {
            if (FindVisible(caption))
                return 0;
            Sleep(100);
        }
        return 1;
    }
    HWND window = FindVisible(caption);
    if (window == nullptr)
        return 1;
    if (command == L"rect") {
        RECT r;
        GetWindowRect(window, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == L"press" && count > 3) {
        HWND button = FindWindowExW(window, nullptr, L"Button", args[3]);
        if (button == nullptr)
            return 1;
        SendMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == L"lpress" && count > 4) {
        POINT point{_wtoi(args[3]), _wtoi(args[4])};
        HWND child = ChildWindowFromPoint(window, point);
        MapWindowPoints(window, child, &point, 1);
        PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PostMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        return 0;
    }
    if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    return 2;
}
