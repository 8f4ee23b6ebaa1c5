#pragma once
#include <cstdint>
#include <optional>

#include "ui/window_record.h"

constexpr int32_t ScanPeriod = 3000;   // ms between ticks of 时钟1检测周期

// The periodic event of 时钟1检测周期: one ScanTick on the real desktop.
std::optional<bool> ScanTickHandler(const EventArgs& args);
