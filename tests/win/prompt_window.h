#pragma once
// A stand-in for the classroom client's sign-in prompt: a window of the prompt's shape with
// a 签到 button under the sign-in point, recording every click it receives.
#include <windows.h>

#include <mutex>
#include <vector>

struct PromptClick {
    POINT screen;       // where the press landed
    DWORD tick;         // GetTickCount at the click
};

class PromptWindow {
public:
    // Outer size width x height at (x, y); closes itself on a click unless it stays.
    PromptWindow(int x, int y, int width, int height, bool stays);
    ~PromptWindow();

    HWND Hwnd() const { return hwnd_; }
    DWORD ShownTick() const { return shownTick_; }
    std::vector<PromptClick> Clicks() const;
    // How often the button was really pressed: press and release on it (BN_CLICKED).
    int SignIns() const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    HWND button_ = nullptr;
    WNDPROC buttonDefault_ = nullptr;
    bool stays_;
    DWORD shownTick_ = 0;
    mutable std::mutex mutex_;
    std::vector<PromptClick> clicks_;
    int signIns_ = 0;
};
