#pragma once
// The watcher's program-wide state and the sign-in record, on the real desktop.
#include "watcher/scan_tick.h"

extern WatcherState Watcher;     // holds WindowSnapshot and the Candidate values

void InitWindowSnapshot();
void ReleaseWindowSnapshot();    // the exit hook

// The sign-in record, kept in 主窗口's 标签4 (the count) and 列表框1 (the log).
void RaiseSignInCount();
void AppendSignInLog();
void PlaySignInChime();

// The seam that ScanTick uses in the product.
const ScanSeam& DesktopSeam();
