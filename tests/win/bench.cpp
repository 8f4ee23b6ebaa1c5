// Benchmarks under Wine, each measured beside its yardstick in the same run:
//   1. the scan tick (record operations as no-ops) against EnumWindows + GetWindowRect;
//   2. start-up to the first paint of 主窗口 against a minimal Win32 program;
//   3. memory after start and after opening and closing the modal windows.
// bench.exe <varnel-signin.exe> <minimal_window.exe>   (the idle figure comes from bench.sh)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver.h"
#include "platform/desktop.h"
#include "ui/picture.h"
#include "ui/resources.h"
#include "watcher/scan_tick.h"

using namespace std::chrono_literals;

namespace {

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ---- 1. The tick against its floor -------------------------------------------------------

ScanSeam CountingSeam(long& sink)
{
    ScanSeam seam;
    seam.context = &sink;
    seam.listVisibleWindows = [](void*) { return ListVisibleTopLevelWindows(); };
    seam.measureWindow = [](void*, int32_t handle, Rect& rect) { return ExternalGetWindowRect(handle, rect); };
    seam.raiseSignInCount = [](void* c) { ++*static_cast<long*>(c); };
    seam.simulateLeftClick = [](void* c, int32_t, int32_t) { ++*static_cast<long*>(c); };
    seam.appendSignInLog = [](void*) {};
    seam.playSignInChime = [](void*) {};
    return seam;
}

long FloorTick()
{
    std::vector<HWND> windows;
    EnumWindows([](HWND hwnd, LPARAM p) WINAPI -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(hwnd);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    long sum = 0;
    for (HWND hwnd : windows) {
        RECT r;
        if (GetWindowRect(hwnd, &r))
            sum += r.right - r.left;
    }
    return sum;
}

void BenchTick()
{
    PrepareExternalGetWindowRect();
    std::printf("1. Scan tick against its floor (EnumWindows + GetWindowRect per window), median of runs\n");
    std::vector<HWND> windows;
    for (int count : {10, 100, 1000}) {
        while (static_cast<int>(windows.size()) < count) {
            int i = static_cast<int>(windows.size());
            windows.push_back(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                                              i % 1800, (i / 1800) * 10, 10 + i % 50, 300, nullptr, nullptr,
                                              GetModuleHandleW(nullptr), nullptr));
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        const int runs = count >= 1000 ? 60 : 300;
        long sink = 0;
        WatcherState state;
        ScanSeam seam = CountingSeam(sink);
        std::vector<double> tick, floor;
        for (int run = 0; run < runs + 5; ++run) {   // the first five warm up
            double t0 = NowMs();
            ScanTick(seam, state);
            double t1 = NowMs();
            sink += FloorTick();
            double t2 = NowMs();
            if (run >= 5) {
                tick.push_back(t1 - t0);
                floor.push_back(t2 - t1);
            }
        }
        double a = Median(tick), b = Median(floor);
        std::printf("   %4d windows (%zu listed): tick %.3f ms, floor %.3f ms, ratio %.2f  (goal at 1,000: <= 1.10)\n",
                    count, state.windowSnapshot.Count(), a, b, a / b);
    }
    for (HWND hwnd : windows)
        DestroyWindow(hwnd);
    ReleaseExternalGetWindowRect();
}

// ---- 2. Start-up -------------------------------------------------------------------------

COLORREF PixelAt(POINT p)
{
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Milliseconds from CreateProcess until the pixel at p shows colour (or, when colour is
// CLR_INVALID, returns the colour it shows after the program has settled).
double TimeToPixel(const std::wstring& exe, POINT p, COLORREF& colour)
{
    driver::Process process;
    double start = NowMs();
    if (!driver::Launch(exe, L"", process))
        return -1;
    double elapsed = -1;
    if (colour == CLR_INVALID) {
        Sleep(2500);
        colour = PixelAt(p);
    } else {
        while (NowMs() - start < 15000) {
            if (PixelAt(p) == colour) {
                elapsed = NowMs() - start;
                break;
            }
        }
    }
    HWND main = nullptr;
    driver::WaitFor([&] { return (main = driver::FindTopLevel(process.Id(), L"VarnelForm")) != nullptr ||
                                 (main = driver::FindTopLevel(process.Id(), L"MinimalWindow")) != nullptr; }, 5s);
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code;
    process.WaitExit(10s, code);
    Sleep(200);
    return elapsed;
}

void BenchStartUp(const std::wstring& program, const std::wstring& minimal)
{
    std::printf("2. Start-up: process start to the first paint, median of 7 starts each\n");
    POINT picture{818 + 3 + 16 + 36, 469 + 22 + 8 + 56};    // the middle of 图片框1
    POINT blank{818 + 142, 469 + 80};                        // the minimal window's client area
    COLORREF pictureColour = CLR_INVALID, white = RGB(255, 255, 255);
    TimeToPixel(program, picture, pictureColour);           // learns the picture's settled colour
    std::vector<double> ours, theirs;
    for (int run = 0; run < 7; ++run) {
        ours.push_back(TimeToPixel(program, picture, pictureColour));
        theirs.push_back(TimeToPixel(minimal, blank, white));
    }
    double a = Median(ours), b = Median(theirs);
    std::printf("   varnel-signin %.0f ms (picture shown), minimal program %.0f ms, ratio %.2f  (goal <= 1.5)\n",
                a, b, a / b);
    int width = 0, height = 0;
    std::span<const uint8_t> png = ResourceBytes("MAIN_PICTURE");
    std::vector<double> decode;
    for (int run = 0; run < 5; ++run) {
        double t0 = NowMs();
        OwnedBitmap bitmap = DecodePngToBitmap(png, GetSysColor(COLOR_BTNFACE), width, height);
        decode.push_back(NowMs() - t0);
    }
    std::printf("   of which decoding MainPicture (%d x %d) takes %.1f ms in-process\n", width, height,
                Median(decode));
    {
        OwnedBitmap bitmap = DecodePngToBitmap(png, GetSysColor(COLOR_BTNFACE), width, height);
        HDC screen = GetDC(nullptr);
        HDC target = CreateCompatibleDC(screen);
        HBITMAP box = CreateCompatibleBitmap(screen, 72, 112);
        HGDIOBJ oldBox = SelectObject(target, box);
        HDC source = CreateCompatibleDC(screen);
        HGDIOBJ oldSource = SelectObject(source, bitmap.Get());
        std::vector<double> stretch;
        for (int run = 0; run < 5; ++run) {
            double t0 = NowMs();
            SetStretchBltMode(target, HALFTONE);
            StretchBlt(target, 0, 0, 72, 112, source, 0, 0, width, height, SRCCOPY);
            GdiFlush();
            stretch.push_back(NowMs() - t0);
        }
        std::printf("   and the HALFTONE stretch to 72 x 112 %.1f ms\n", Median(stretch));
        SelectObject(source, oldSource);
        SelectObject(target, oldBox);
        DeleteDC(source);
        DeleteDC(target);
        DeleteObject(box);
        ReleaseDC(nullptr, screen);
    }
}

// ---- 3. Memory and 4. idle ----------------------------------------------------------------

struct Footprint {
    double privateMb;   // PagefileUsage: the committed private memory (Wine leaves PrivateUsage 0)
    double workingSetMb;
    int windows;        // USER objects, counted as the process's windows (top-level and child)
    DWORD gdi;
};

Footprint FootprintOf(const driver::Process& process)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process.info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    struct Count {
        DWORD pid;
        int windows = 0;
    } count{process.Id()};
    EnumWindows([](HWND hwnd, LPARAM p) WINAPI -> BOOL {
        auto* c = reinterpret_cast<Count*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == c->pid) {
            ++c->windows;
            EnumChildWindows(hwnd, [](HWND, LPARAM q) WINAPI -> BOOL {
                ++*reinterpret_cast<int*>(q);
                return TRUE;
            }, reinterpret_cast<LPARAM>(&c->windows));
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return {counters.PagefileUsage / 1048576.0, counters.WorkingSetSize / 1048576.0, count.windows,
            GetGuiResources(process.info.hProcess, GR_GDIOBJECTS)};
}

void OpenAndClose(const driver::Process& process, HWND main, const wchar_t* caption, bool viaPicture)
{
    if (viaPicture) {
        HWND picture = GetWindow(GetWindow(GetWindow(GetWindow(main, GW_CHILD), GW_HWNDNEXT), GW_HWNDNEXT), GW_HWNDNEXT);
        PostMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    } else {
        PostMessageW(FindWindowExW(main, nullptr, L"Button", L"作者"), BM_CLICK, 0, 0);
    }
    HWND modal = nullptr;
    driver::WaitFor([&] { return (modal = driver::FindTopLevel(process.Id(), L"VarnelForm", caption)) != nullptr; }, 5s);
    Sleep(150);     // let it paint: 作者窗口 decodes its picture at the first paint
    PostMessageW(modal, WM_CLOSE, 0, 0);
    driver::WaitFor([&] { return !IsWindow(modal); }, 5s);
}

void BenchMemory(const std::wstring& program, const std::wstring& minimal)
{
    std::printf("3. Memory: private bytes (PagefileUsage), working set, USER objects (the process's windows), GDI objects\n");
    driver::Process baseline;
    driver::Launch(minimal, L"", baseline);
    Sleep(2000);
    Footprint m = FootprintOf(baseline);
    HWND minimalWindow = driver::FindTopLevel(baseline.Id(), L"MinimalWindow");
    PostMessageW(minimalWindow, WM_CLOSE, 0, 0);

    driver::Process process;
    driver::Launch(program, L"", process);
    HWND main = nullptr;
    driver::WaitFor([&] { return (main = driver::FindTopLevel(process.Id(), L"VarnelForm")) != nullptr; }, 15s);
    Sleep(2000);
    Footprint start = FootprintOf(process);
    std::vector<Footprint> rounds;
    for (int round = 0; round < 5; ++round) {
        OpenAndClose(process, main, L"Hi～", false);
        OpenAndClose(process, main, L"隐藏彩蛋", true);
        Sleep(200);
        rounds.push_back(FootprintOf(process));
    }
    auto show = [](const char* what, const Footprint& f) {
        std::printf("   %-48s %6.1f MB private, %6.1f MB working set, %2d windows, %lu GDI\n", what, f.privateMb,
                    f.workingSetMb, f.windows, f.gdi);
    };
    show("minimal program after start:", m);
    show("varnel-signin after start:", start);
    for (size_t i = 0; i < rounds.size(); ++i) {
        char what[64];
        std::snprintf(what, sizeof what, "after each modal window opened and closed %zux:", i + 1);
        show(what, rounds[i]);
    }
    std::printf("   difference to the minimal program: %.1f MB (goal <= 8 MB); growth from round 1 to 5: %.2f MB\n",
                rounds.back().privateMb - m.privateMb, rounds.back().privateMb - rounds.front().privateMb);

    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code;
    process.WaitExit(10s, code);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::printf("usage: bench <varnel-signin.exe> <minimal_window.exe>\n");
        return 2;
    }
    std::wstring program = driver::ToWindowsPath(argv[1]);
    std::wstring minimal = driver::ToWindowsPath(argv[2]);
    BenchTick();
    BenchStartUp(program, minimal);
    BenchMemory(program, minimal);
    return 0;
}
