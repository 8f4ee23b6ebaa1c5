#include "ui/properties.h"

#include "platform/text.h"
#include "ui/form_window.h"

HWND ControlWindow(WindowState& window, const char* control)
{
    std::optional<size_t> index = window.IndexOf(control);
    if (window.live == nullptr || !index)
        return nullptr;
    return window.live->ControlWindow(*index);
}

void SetOuterHeight(WindowState& window, int32_t height)
{
    window.outerHeight = height;
    if (window.live == nullptr)
        return;
    HWND hwnd = window.live->Hwnd();
    RECT rect;
    GetWindowRect(hwnd, &rect);
    SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetControlVisible(WindowState& window, const char* control, bool visible)
{
    if (std::optional<size_t> index = window.IndexOf(control))
        window.controls[*index].visible = visible;
    if (HWND hwnd = ControlWindow(window, control))
        ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
}

std::string GetCaption(WindowState& window, const char* label)
{
    // The live text counts: it is what the user sees, whoever last set it.
    if (HWND hwnd = ControlWindow(window, label))
        return WindowText(hwnd);
    std::optional<size_t> index = window.IndexOf(label);
    return index ? window.controls[*index].caption : std::string();
}

void SetCaption(WindowState& window, const char* label, const std::string& text)
{
    if (std::optional<size_t> index = window.IndexOf(label))
        window.controls[*index].caption = text;
    // The label repaints itself on WM_SETTEXT.
    if (HWND hwnd = ControlWindow(window, label))
        SetWindowTextW(hwnd, Widen(text.c_str()).c_str());
}

void RequestWindowDestroy(WindowState& window)
{
    if (window.live != nullptr)
        window.live->RequestDestroy();
}
