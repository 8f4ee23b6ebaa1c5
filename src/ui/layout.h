#pragma once
// Placement and focus order of program windows, free of the window system.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// (screen - outer) / 2, truncated toward zero: a window larger than the screen starts left of 0.
int32_t CentredOrigin(int32_t screenExtent, int32_t outerExtent);

struct TabStopInfo {
    bool tabStop = false;
    bool visible = false;
    bool enabled = false;
    int32_t tabIndex = 0;
};

// Record indexes of the controls that take part (tab stop, visible, enabled), ordered by
// tabIndex and, for equal numbers, in the reverse of record order.
std::vector<size_t> TabOrder(std::span<const TabStopInfo> controls);

// The control that Tab (or Shift+Tab when backwards) moves to from current, wrapping around.
// A current control outside the order moves to the first (backwards: the last). None when
// the order is empty.
std::optional<size_t> NextInTabOrder(std::span<const TabStopInfo> controls, size_t current,
                                     bool backwards);
