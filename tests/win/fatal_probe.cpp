// The real program with one allocation refused: the k-th one made once the first scan tick
// is being dispatched (command line: marker path, then k, 1 when left out). Writes the
// marker file from an exit hook, so that a test can tell whether exit hooks ran.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "app/frame.h"

namespace {

long allocationsUntilRefusal = 0;    // 0: none armed; the GUI thread alone allocates here
long refusalIndex = 1;
wchar_t markerPath[MAX_PATH];

void WriteMarker()
{
    if (FILE* f = _wfopen(markerPath, L"w"))
        fclose(f);
}

LRESULT CALLBACK ArmOnFirstTick(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    static bool armed = false;
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER && !armed) {
        armed = true;
        allocationsUntilRefusal = refusalIndex;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void* Allocate(size_t size)
{
    for (;;) {
        if (allocationsUntilRefusal == 0 || --allocationsUntilRefusal > 0) {
            if (void* p = std::malloc(size ? size : 1))
                return p;
        }
        // One refusal; whatever follows is served.
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
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(commandLine, &count);
    if (count >= 1)
        lstrcpynW(markerPath, args[0], MAX_PATH);
    if (count >= 2)
        refusalIndex = _wtol(args[1]);
    RegisterExitHook(WriteMarker);
    SetWindowsHookExW(WH_GETMESSAGE, ArmOnFirstTick, nullptr, GetCurrentThreadId());
    ProgramStart();
    return RunShutdown();
}
