// The yardstick for start-up and memory: a minimal Win32 program that shows one empty
// window of 主窗口's size, centred, and does nothing else.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) WINAPI -> LRESULT {
        if (message == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    };
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"MinimalWindow";
    RegisterClassW(&wc);
    int x = (GetSystemMetrics(SM_CXSCREEN) - 284) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 141) / 2;
    HWND hwnd = CreateWindowExW(0, L"MinimalWindow", L"minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y, 284,
                                141, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
