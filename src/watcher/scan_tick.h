#pragma once
// One scan: list the visible top-level windows, measure each, and sign in at every window
// of the prompt's shape. The tick reaches the desktop and the sign-in record only through
// ScanSeam, so the same code runs against a scripted desktop and the real one.
#include <cstdint>

#include "watcher/shape_rule.h"
#include "watcher/window_snapshot.h"

struct ScanSeam {
    void* context = nullptr;
    SnapshotList (*listVisibleWindows)(void* context) = nullptr;
    // False when the window cannot be measured; the rectangle is then left as it was.
    bool (*measureWindow)(void* context, int32_t handle, Rect& rect) = nullptr;
    void (*raiseSignInCount)(void* context) = nullptr;
    void (*simulateLeftClick)(void* context, int32_t x, int32_t y) = nullptr;
    void (*appendSignInLog)(void* context) = nullptr;
    void (*playSignInChime)(void* context) = nullptr;
};

// The program-wide state of the watcher. Candidate values hold the last window measured.
struct WatcherState {
    SnapshotList windowSnapshot;
    int32_t candidateWidth = 0;
    int32_t candidateHeight = 0;
    float candidateRatio = 0.0f;
};

// Replaces WindowSnapshot with a fresh list of the visible top-level windows.
void RefreshWindowSnapshot(const ScanSeam& seam, WatcherState& state);

void ScanTick(const ScanSeam& seam, WatcherState& state);
