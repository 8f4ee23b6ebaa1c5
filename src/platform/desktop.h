#pragma once
// How the program acts on the desktop beyond its own windows.
#include <cstdint>

#include "watcher/shape_rule.h"
#include "watcher/window_snapshot.h"

// GetWindowRect of "user32", declared by the program itself and bound by name at its first
// call. Prepare at start-up, release at shutdown. On failure the rectangle is left unchanged.
void PrepareExternalGetWindowRect();
bool ExternalGetWindowRect(int32_t handle, Rect& rect);
void ReleaseExternalGetWindowRect();

// SetCursorPos, then a left press and release where the cursor now is.
void SimulateLeftClick(int32_t x, int32_t y);

// Plays a whole RIFF/WAVE file on the default output in the background and returns once it
// has started. Every call plays on its own, so clips overlap. Failure is silence.
bool PlayWaveFromMemory(const uint8_t* bytes, uint32_t length, bool loop);

// Cuts off every clip still sounding and waits until playback has let go of the device.
void StopAllWaves();

// The shell's "open" of a web address; failures are not reported.
void OpenWebAddress(const char* address);

// Local time now, in whole seconds, as an OLE Automation date.
double CurrentDateTime();

// The visible top-level windows, in enumeration order.
SnapshotList ListVisibleTopLevelWindows();
