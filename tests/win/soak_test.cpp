// Reliability of the scan tick against real windows: many ticks while windows come, move,
// change shape and go (some between the snapshot and their measurement), and a desktop
// with a thousand visible top-level windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "watcher/scan_tick.h"

namespace {

HWND MakeWindow(int x, int y, int width, int height)
{
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP | WS_VISIBLE, x, y, width,
                           height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool IsPromptShape(const RECT& r)
{
    // The shape rule in whole numbers, written independently of the product's float test.
    int64_t w = r.right - r.left, h = r.bottom - r.top;
    return h > 0 && w > 0 && 92 * h < 100 * w && 100 * w < 94 * h;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// Wine's GetGuiResources answers 0, so USER objects are counted as this thread's windows.
int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND, LPARAM p) WINAPI -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return count;
}

size_t BusyHeapBytes()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    size_t busy = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return busy;
}

// The real desktop behind the seam; the record operations only count, and a window marked
// doomed is destroyed after the snapshot, just before it would be measured.
struct SoakDesktop {
    std::set<HWND> doomed;
    std::set<HWND> ours;
    long expectedSignIns = 0;
    long signIns = 0;
    long clicks = 0;
    long measured = 0;

    ScanSeam Seam()
    {
        ScanSeam seam;
        seam.context = this;
        seam.listVisibleWindows = [](void*) { return ListVisibleTopLevelWindows(); };
        seam.measureWindow = [](void* c, int32_t handle, Rect& rect) {
            auto& self = *static_cast<SoakDesktop*>(c);
            HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
            if (self.doomed.erase(hwnd)) {
                DestroyWindow(hwnd);
                self.ours.erase(hwnd);
            }
            if (!ExternalGetWindowRect(handle, rect))
                return false;
            ++self.measured;
            RECT r{rect.left, rect.top, rect.right, rect.bottom};
            if (IsPromptShape(r))
                ++self.expectedSignIns;
            return true;
        };
        seam.raiseSignInCount = [](void* c) { ++static_cast<SoakDesktop*>(c)->signIns; };
        seam.simulateLeftClick = [](void* c, int32_t, int32_t) { ++static_cast<SoakDesktop*>(c)->clicks; };
        seam.appendSignInLog = [](void*) {};
        seam.playSignInChime = [](void*) {};
        return seam;
    }
};

}  // namespace

TEST(Soak, TenThousandTicksWhileWindowsComeMoveChangeAndGo)
{
    PrepareExternalGetWindowRect();
    SoakDesktop desktop;
    WatcherState state;
    std::mt19937 random(20261211);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto randomSize = [&](int& w, int& h) {
        h = 50 + pick(400);
        w = pick(3) == 0 ? h * 93 / 100 : 40 + pick(500);   // a third of them prompt-shaped
    };

    const int windowsBefore = ThreadWindowCount();
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    size_t heapAfterWarmUp = 0;
    const int kTicks = 10000;
    for (int tick = 0; tick < kTicks; ++tick) {
        int w, h;
        // Between 20 and 40 windows of ours stay on the desktop while it churns.
        switch (desktop.ours.size() < 20 ? 0 : pick(4)) {
        case 0:
            if (desktop.ours.size() < 40) {
                randomSize(w, h);
                desktop.ours.insert(MakeWindow(pick(1500), pick(700), w, h));
            }
            break;
        case 1:
            if (!desktop.ours.empty()) {
                HWND victim = *std::next(desktop.ours.begin(), pick(static_cast<int>(desktop.ours.size())));
                randomSize(w, h);
                SetWindowPos(victim, nullptr, pick(1500), pick(700), w, h, SWP_NOZORDER | SWP_NOACTIVATE);
            }
            break;
        case 2:
            if (desktop.ours.size() > 20) {
                HWND victim = *std::next(desktop.ours.begin(), pick(static_cast<int>(desktop.ours.size())));
                DestroyWindow(victim);
                desktop.ours.erase(victim);
            }
            break;
        default:
            // Goes between this tick's snapshot and its measurement.
            if (desktop.ours.size() > 20)
                desktop.doomed.insert(*std::next(desktop.ours.begin(), pick(static_cast<int>(desktop.ours.size()))));
            break;
        }
        ScanTick(desktop.Seam(), state);
        desktop.doomed.clear();
        Pump();
        if (tick == 999)
            heapAfterWarmUp = BusyHeapBytes();
    }
    for (HWND hwnd : desktop.ours)
        DestroyWindow(hwnd);
    desktop.ours.clear();
    state.windowSnapshot = SnapshotList();
    Pump();

    std::printf("soak: %d ticks, %ld windows measured, %ld sign-ins; heap busy %zu bytes after 1000 ticks, "
                "%zu at the end; windows of the thread %d -> %d; GDI objects %lu -> %lu\n",
                kTicks, desktop.measured, desktop.signIns, heapAfterWarmUp, BusyHeapBytes(), windowsBefore,
                ThreadWindowCount(), gdiBefore, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    EXPECT_GT(desktop.signIns, 1000) << "the soak made too few prompts to mean anything";
    EXPECT_EQ(desktop.expectedSignIns, desktop.signIns) << "a sign-in at a window that was not a prompt";
    EXPECT_EQ(desktop.signIns, desktop.clicks);
    // Flat: the windows and the last snapshot are gone again, so nothing of the soak remains.
    EXPECT_LE(BusyHeapBytes(), heapAfterWarmUp + 64 * 1024);
    EXPECT_EQ(windowsBefore, ThreadWindowCount());
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    ReleaseExternalGetWindowRect();
}

TEST(Soak, AThousandVisibleTopLevelWindowsAreAllListedAndMeasured)
{
    PrepareExternalGetWindowRect();
    std::vector<HWND> windows;
    for (int i = 0; i < 1000; ++i)
        windows.push_back(MakeWindow(i % 1800, (i / 1800) * 10, 10 + i % 50, 300));
    SoakDesktop desktop;
    WatcherState state;
    ScanTick(desktop.Seam(), state);

    std::set<std::string> listed;
    for (size_t i = 0; i < state.windowSnapshot.Count(); ++i)
        listed.insert(state.windowSnapshot.Item(i));
    size_t found = 0;
    for (HWND hwnd : windows)
        found += listed.count(std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd))));
    EXPECT_EQ(1000u, found);
    EXPECT_GE(desktop.measured, 1000);
    EXPECT_EQ(static_cast<long>(state.windowSnapshot.Count()), desktop.measured);
    for (HWND hwnd : windows)
        DestroyWindow(hwnd);
    ReleaseExternalGetWindowRect();
}
