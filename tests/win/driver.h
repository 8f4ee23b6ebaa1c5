#pragma once
// Drives the real program from outside, as a user and another process would: start it,
// find its windows, press keys, click, and read its controls through window messages.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace driver {

std::wstring ToWindowsPath(const std::string& path);     // a Unix path becomes Z:\...
std::wstring Text(HWND window);                          // WM_GETTEXT, UTF-16

struct Process {
    PROCESS_INFORMATION info{};
    ~Process();
    DWORD Id() const { return info.dwProcessId; }
    // Waits for the process to end; false on timeout.
    bool WaitExit(std::chrono::milliseconds timeout, DWORD& exitCode) const;
};

bool Launch(const std::wstring& exe, const std::wstring& arguments, Process& process);

// Polls until the predicate holds or the timeout passes.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// A visible top-level window of the process with this class (any caption when empty).
HWND FindTopLevel(DWORD processId, const wchar_t* className, const std::wstring& caption = L"");

struct Child {
    HWND hwnd;
    std::wstring className;
    std::wstring text;
    RECT rect;          // client coordinates of the parent
    bool visible;
};
std::vector<Child> ChildrenOf(HWND parent);
const Child* ChildWithText(const std::vector<Child>& children, const std::wstring& text);

RECT OuterRect(HWND window);
HWND FocusOf(HWND window);      // the focused window of window's GUI thread

void ClickAt(int x, int y, bool right = false);     // a real click through the input queue
void ClickCentreOf(HWND window);
void PressKey(WORD key, bool shift = false);
bool BringToFront(HWND window);

// The whole content of a file named by its Unix path ("" when there is none).
std::string ReadWholeFile(const std::string& unixPath);

// Points Wine's shell at this program for web addresses (WineBrowser's browser list).
void UseBrowser(const std::string& unixCommand);

// A path in the temporary folder, with no file there yet.
std::wstring FreshTempPath(const wchar_t* name);

}  // namespace driver
