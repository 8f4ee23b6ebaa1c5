#include "driver.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace driver {

std::wstring ToWindowsPath(const std::string& path)
{
    std::wstring wide(path.begin(), path.end());
    if (!wide.empty() && wide[0] == L'/')
        wide = L"Z:" + wide;
    for (wchar_t& c : wide) {
        if (c == L'/')
            c = L'\\';
    }
    return wide;
}

std::wstring Text(HWND window)
{
    wchar_t buffer[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

Process::~Process()
{
    if (info.hProcess != nullptr) {
        DWORD code;
        if (GetExitCodeProcess(info.hProcess, &code) && code == STILL_ACTIVE)
            TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
}

bool Process::WaitExit(std::chrono::milliseconds timeout, DWORD& exitCode) const
{
    if (WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(info.hProcess, &exitCode) != FALSE;
}

bool Launch(const std::wstring& exe, const std::wstring& arguments, Process& process)
{
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process.info) != FALSE;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

HWND FindTopLevel(DWORD processId, const wchar_t* className, const std::wstring& caption)
{
    struct Search {
        DWORD processId;
        const wchar_t* className;
        const std::wstring* caption;
        HWND found = nullptr;
    } search{processId, className, &caption};
    EnumWindows(
        [](HWND hwnd, LPARAM param) WINAPI -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 64);
            if (pid == s->processId && IsWindowVisible(hwnd) && lstrcmpW(cls, s->className) == 0 &&
                (s->caption->empty() || Text(hwnd) == *s->caption)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<Child> ChildrenOf(HWND parent)
{
    std::vector<Child> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        children.push_back({child, cls, Text(child), rect, IsWindowVisible(child) != FALSE});
    }
    return children;
}

const Child* ChildWithText(const std::vector<Child>& children, const std::wstring& text)
{
    for (const Child& child : children) {
        if (child.text == text)
            return &child;
    }
    return nullptr;
}

RECT OuterRect(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void ClickAt(int x, int y, bool right)
{
    // As a user's hand does: move onto the point, then press and release. No SetCursorPos:
    // under Wine's virtual desktop its pointer warp can arrive late and drop the press.
    const int cx = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int cy = GetSystemMetrics(SM_CYSCREEN) - 1;
    mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, static_cast<DWORD>(x * 65535 / cx),
                static_cast<DWORD>(y * 65535 / cy), 0, 0);
    mouse_event(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

void ClickCentreOf(HWND window)
{
    RECT rect = OuterRect(window);
    ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void PressKey(WORD key, bool shift)
{
    if (shift)
        keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    if (shift)
        keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
}

bool BringToFront(HWND window)
{
    SetForegroundWindow(window);
    return WaitFor([&] { return GetForegroundWindow() == window; }, std::chrono::seconds(3));
}

std::string ReadWholeFile(const std::string& unixPath)
{
    std::ifstream in(std::filesystem::path(ToWindowsPath(unixPath)), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void UseBrowser(const std::string& unixCommand)
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    std::wstring command(unixCommand.begin(), unixCommand.end());
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring FreshTempPath(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + name;
    DeleteFileW(path.c_str());
    return path;
}

}  // namespace driver
