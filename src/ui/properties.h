#pragma once
// Property changes that handlers make: written to the in-memory record copy, and to the
// live window when it exists.
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/window_record.h"

void SetOuterHeight(WindowState& window, int32_t height);
void SetControlVisible(WindowState& window, const char* control, bool visible);
std::string GetCaption(WindowState& window, const char* label);
void SetCaption(WindowState& window, const char* label, const std::string& text);
HWND ControlWindow(WindowState& window, const char* control);
void RequestWindowDestroy(WindowState& window);
