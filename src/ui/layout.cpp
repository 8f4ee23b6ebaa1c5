#include "layout.h"

#include <algorithm>

namespace {

bool TakesPart(const TabStopInfo& control)
{
    return control.tabStop && control.visible && control.enabled;
}

}  // namespace

int32_t CentredOrigin(int32_t screenExtent, int32_t outerExtent)
{
    // The difference can leave 32 bits; its half always fits again.
    const int64_t spare = int64_t{screenExtent} - int64_t{outerExtent};
    return static_cast<int32_t>(spare / 2);
}

std::vector<size_t> TabOrder(std::span<const TabStopInfo> controls)
{
    std::vector<size_t> order;
    for (size_t i = controls.size(); i-- > 0;) {
        if (TakesPart(controls[i])) {
            order.push_back(i);
        }
    }
    // Collected back to front, so a stable sort leaves equal numbers in reverse record order.
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return controls[a].tabIndex < controls[b].tabIndex;
    });
    return order;
}

std::optional<size_t> NextInTabOrder(std::span<const TabStopInfo> controls, size_t current,
                                     bool backwards)
{
    const std::vector<size_t> order = TabOrder(controls);
    if (order.empty()) {
        return std::nullopt;
    }
    const auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end()) {
        return backwards ? order.back() : order.front();
    }
    const size_t position = static_cast<size_t>(at - order.begin());
    const size_t count = order.size();
    return order[backwards ? (position + count - 1) % count : (position + 1) % count];
}
