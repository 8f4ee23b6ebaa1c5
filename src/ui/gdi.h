#pragma once
// Move-only owners for GDI and USER handles, and scope guards for paint and selection.
#include <windows.h>

#include <utility>

template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void Reset(Handle handle = nullptr)
    {
        if (handle_ != nullptr)
            Release(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

inline BOOL WINAPI DeleteFontHandle(HFONT font) { return DeleteObject(font); }
inline BOOL WINAPI DeleteBitmapHandle(HBITMAP bitmap) { return DeleteObject(bitmap); }

using OwnedFont = Owned<HFONT, DeleteFontHandle>;
using OwnedBitmap = Owned<HBITMAP, DeleteBitmapHandle>;
using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedDC = Owned<HDC, DeleteDC>;

class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~PaintScope() { EndPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectScope()
    {
        if (previous_ != nullptr)
            SelectObject(dc_, previous_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};
