#pragma once
// The event handlers of the program windows, bound in their records.
#include <cstdint>

#include "ui/window_record.h"

constexpr int32_t CollapsedHeight = 141;
constexpr int32_t ExpandedHeight = 300;

// 1 while the log panel of 主窗口 is expanded.
extern int32_t LogPanelShown;

std::optional<bool> DoNothing(const EventArgs& args);
std::optional<bool> ToggleLogPanel(const EventArgs& args);
std::optional<bool> OpenAuthorWindow(const EventArgs& args);
std::optional<bool> OpenHiddenWindow(const EventArgs& args);
std::optional<bool> OpenHiddenPage(const EventArgs& args);
std::optional<bool> CloseHiddenWindow(const EventArgs& args);

// The web address that 同意 opens.
extern const char HiddenPageAddress[];
