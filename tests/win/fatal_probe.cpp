// The real program with one allocation refused: the first one made while the first scan
// tick is being dispatched. Writes a marker file from an exit hook, so that a test can tell
// whether exit hooks ran.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/frame.h"

namespace {

volatile bool refuseNextAllocation = false;
wchar_t markerPath[MAX_PATH];

void WriteMarker()
{
    if (FILE* f = _wfopen(markerPath, L"w"))
        fclose(f);
}

LRESULT CALLBACK ArmOnFirstTick(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER)
        refuseNextAllocation = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void* Allocate(size_t size)
{
    for (;;) {
        if (!refuseNextAllocation) {
            if (void* p = std::malloc(size ? size : 1))
                return p;
        }
        refuseNextAllocation = false;   // one refusal; whatever follows is served
        std::new_handler handler = std::get_new_handler();
        if (handler == nullptr)
            throw std::bad_alloc();
        handler();
    }
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    lstrcpynW(markerPath, commandLine, MAX_PATH);
    RegisterExitHook(WriteMarker);
    SetWindowsHookExW(WH_GETMESSAGE, ArmOnFirstTick, nullptr, GetCurrentThreadId());
    ProgramStart();
    return RunShutdown();
}
