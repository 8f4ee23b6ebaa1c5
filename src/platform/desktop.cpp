#include "platform/desktop.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "platform/text.h"
#include "watcher/conversions.h"

namespace {

using GetWindowRectProc = BOOL(WINAPI*)(HWND, RECT*);

struct ExternalFunction {
    const wchar_t* library = nullptr;
    const char* name = nullptr;
    HMODULE module = nullptr;
    GetWindowRectProc proc = nullptr;
    bool prepared = false;
};

ExternalFunction externalGetWindowRect;

BOOL CALLBACK CollectVisible(HWND window, LPARAM param)
{
    // Only the window's own WS_VISIBLE bit decides: minimised, covered or off-screen windows count.
    if (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) {
        auto* handles = reinterpret_cast<std::vector<int32_t>*>(param);
        handles->push_back(static_cast<int32_t>(reinterpret_cast<intptr_t>(window)));
    }
    return TRUE;
}

}  // namespace

void PrepareExternalGetWindowRect()
{
    externalGetWindowRect = {L"user32", "GetWindowRect"};
    externalGetWindowRect.prepared = true;
}

bool ExternalGetWindowRect(int32_t handle, Rect& rect)
{
    ExternalFunction& f = externalGetWindowRect;
    if (f.proc == nullptr && f.prepared) {
        if (f.module == nullptr)
            f.module = LoadLibraryW(f.library);
        if (f.module != nullptr)
            f.proc = reinterpret_cast<GetWindowRectProc>(
                reinterpret_cast<void*>(GetProcAddress(f.module, f.name)));
    }
    if (f.proc == nullptr)
        return false;
    RECT r;
    if (!f.proc(reinterpret_cast<HWND>(static_cast<intptr_t>(handle)), &r))
        return false;
    rect = {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top),
            static_cast<int32_t>(r.right), static_cast<int32_t>(r.bottom)};
    return true;
}

void ReleaseExternalGetWindowRect()
{
    ExternalFunction& f = externalGetWindowRect;
    if (f.module != nullptr)
        FreeLibrary(f.module);
    f = {};
}

void SimulateLeftClick(int32_t x, int32_t y)
{
    // No move or absolute flag: press and release happen where SetCursorPos put the cursor.
    SetCursorPos(x, y);
    mouse_event(MOUSEEVENTF_LEFTDOWN, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, static_cast<DWORD>(x), static_cast<DWORD>(y), 0, 0);
}

void OpenWebAddress(const char* address)
{
    HWND parent = FindWindowExW(nullptr, nullptr, nullptr, L"Microsoft Internet Explorer");
    // The result is not looked at: a missing browser is not the user's problem to read about here.
    ShellExecuteW(parent, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

double CurrentDateTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);     // milliseconds are dropped: the log has whole seconds
    return OleDateFromFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

SnapshotList ListVisibleTopLevelWindows()
{
    // A list that grows: every visible window is listed, however many there are.
    std::vector<int32_t> handles;
    handles.reserve(128);
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&handles));
    return SnapshotList::FromHandles(handles);
}
