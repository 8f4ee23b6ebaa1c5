#include "prompt_window.h"

namespace {
constexpr wchar_t kPromptClass[] = L"ClassroomPrompt";
LONG pressesSoFar = 0;
}

PromptWindow::PromptWindow(int x, int y, int width, int height, bool stays, bool topmost) : stays_(stays)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kPromptClass;
        RegisterClassW(&wc);
        registered = true;
    }
    hwnd_ = CreateWindowExW(topmost ? WS_EX_TOPMOST : 0, kPromptClass, L"课堂签到", WS_OVERLAPPED | WS_CAPTION, x, y, width,
                            height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    // The button is centred on the sign-in point: the centre line, 84 % of the way down.
    POINT point{x + width / 2, y + height * 84 / 100};
    ScreenToClient(hwnd_, &point);
    button_ = CreateWindowExW(0, L"BUTTON", L"签到", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, point.x - 50,
                              point.y - 15, 100, 30, hwnd_, reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr),
                              nullptr);
    SetWindowLongPtrW(button_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    buttonDefault_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc)));
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    shownTick_ = GetTickCount();
}

PromptWindow::~PromptWindow()
{
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

std::vector<PromptClick> PromptWindow::Clicks() const
{
    std::lock_guard lock(mutex_);
    return clicks_;
}

int PromptWindow::SignIns() const
{
    std::lock_guard lock(mutex_);
    return signIns_;
}

LRESULT CALLBACK PromptWindow::ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<PromptWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_LBUTTONDOWN) {
        POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(hwnd, &screen);
        std::lock_guard lock(self->mutex_);
        self->clicks_.push_back({screen, GetTickCount(), InterlockedIncrement(&pressesSoFar)});
    }
    return CallWindowProcW(self->buttonDefault_, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK PromptWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PromptWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_COMMAND && LOWORD(wParam) == 1 && HIWORD(wParam) == BN_CLICKED && self) {
        {
            std::lock_guard lock(self->mutex_);
            ++self->signIns_;
        }
        if (!self->stays_)
            DestroyWindow(hwnd);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

PromptOnThread::PromptOnThread(int x, int y, int width, int height, bool stays, bool topmost)
    : x_(x), y_(y), width_(width), height_(height), stays_(stays), topmost_(topmost)
{
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(
        nullptr, 0,
        [](void* param) WINAPI -> DWORD {
            auto* self = static_cast<PromptOnThread*>(param);
            PromptWindow prompt(self->x_, self->y_, self->width_, self->height_, self->stays_, self->topmost_);
            self->prompt_ = &prompt;
            SetEvent(self->ready_);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            return 0;
        },
        this, 0, &threadId_);
    WaitForSingleObject(ready_, INFINITE);
}

PromptOnThread::~PromptOnThread()
{
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(ready_);
}
