#include "window_snapshot.h"

namespace {

// Room for "%d" of any 32-bit value: "-2147483648" and its terminator.
constexpr size_t kMaxTextSize = 12;

// "%d" of a signed 32-bit value; returns the length written (without the terminator).
size_t FormatDecimal(int32_t value, char* out)
{
    char digits[10];
    size_t count = 0;
    // Work on the magnitude as unsigned, so that INT32_MIN needs no special case.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    size_t length = 0;
    if (value < 0)
        out[length++] = '-';
    while (count > 0)
        out[length++] = digits[--count];
    out[length] = '\0';
    return length;
}

}  // namespace

SnapshotList SnapshotList::FromHandles(std::span<const int32_t> handles)
{
    SnapshotList list;
    if (handles.empty())
        return list;
    list.texts_.reset(new char[handles.size() * kMaxTextSize]);
    list.starts_.reserve(handles.size());
    uint32_t used = 0;
    for (const int32_t handle : handles) {
        list.starts_.push_back(used);
        used += static_cast<uint32_t>(FormatDecimal(handle, list.texts_.get() + used)) + 1;
    }
    return list;
}

const char* SnapshotList::Item(size_t index) const
{
    return index < starts_.size() ? texts_.get() + starts_[index] : "";
}
