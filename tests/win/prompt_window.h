#pragma once
// A stand-in for the classroom client's sign-in prompt: a window of the prompt's shape with
// a 签到 button under the sign-in point, recording every click it receives.
#include <windows.h>

#include <mutex>
#include <vector>

struct PromptClick {
    POINT screen;       // where the press landed
    DWORD tick;         // GetTickCount at the click
    long sequence;      // order of presses across all prompts of the process
};

class PromptWindow {
public:
    // Outer size width x height at (x, y); closes itself on a click unless it stays.
    PromptWindow(int x, int y, int width, int height, bool stays, bool topmost = true);
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

// A prompt on a thread of its own, as a separate client's window would be: its clicks are
// handled whatever the test's own thread is doing.
class PromptOnThread {
public:
    PromptOnThread(int x, int y, int width, int height, bool stays, bool topmost = true);
    ~PromptOnThread();
    const PromptWindow& Prompt() const { return *prompt_; }

private:
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    PromptWindow* prompt_ = nullptr;
    int x_, y_, width_, height_;
    bool stays_;
    bool topmost_;
};
