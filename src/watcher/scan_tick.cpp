#include "watcher/scan_tick.h"

#include "watcher/conversions.h"

void RefreshWindowSnapshot(const ScanSeam& seam, WatcherState& state)
{
    // The fresh list is taken before the previous one is freed.
    state.windowSnapshot = seam.listVisibleWindows(seam.context);
}

void ScanTick(const ScanSeam& seam, WatcherState& state)
{
    Rect measureRect;   // one record per tick, zeroed once and shared by all windows
    RefreshWindowSnapshot(seam, state);

    const size_t count = state.windowSnapshot.Count();
    for (size_t i = 0; i < count; ++i) {
        int32_t handle = TextToInteger(state.windowSnapshot.Item(i));
        // A window that cannot be measured (closed since the snapshot, or no window at all)
        // is skipped: judging it on the previous window's rectangle would sign in twice.
        if (!seam.measureWindow(seam.context, handle, measureRect))
            continue;

        Measurement m = MeasureRect(measureRect);
        state.candidateWidth = m.width;
        state.candidateHeight = m.height;
        state.candidateRatio = m.ratio;
        if (!MatchesPromptShape(m.ratio))
            continue;

        seam.raiseSignInCount(seam.context);
        Point click = SignInPoint(measureRect, m.height);
        seam.simulateLeftClick(seam.context, click.x, click.y);
        seam.appendSignInLog(seam.context);
        seam.playSignInChime(seam.context);
    }
}
