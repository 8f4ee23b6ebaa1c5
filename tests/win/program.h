#pragma once
// The real executable started for a test, with its main window found.
#include <gtest/gtest.h>

#include <string>

#include "driver.h"

struct Program {
    driver::Process process;
    HWND main = nullptr;

    void Start();
    DWORD CloseWithEscape();
    HWND Control(const wchar_t* text) const;     // a child of 主窗口 by its text
    HWND List() const;                           // 列表框1
    std::wstring Count() const;                  // 标签4's caption
    std::vector<std::wstring> LogLines() const;
    std::vector<LPARAM> LogItemData() const;
    // Pumps this thread's messages (prompt windows live here) until done or timeout.
    static bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
};
