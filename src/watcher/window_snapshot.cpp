#include "window_snapshot.h"

#include <cstdio>

namespace {

// Room for "%d" of any 32-bit value ("-2147483648" and its terminator) with spare.
constexpr size_t kTextBlockSize = 20;

}  // namespace

SnapshotList SnapshotList::FromHandles(std::span<const int32_t> handles)
{
    SnapshotList list;
    list.texts_.reserve(handles.size());
    for (const int32_t handle : handles) {
        std::unique_ptr<char[]> text(new char[kTextBlockSize]);
        std::snprintf(text.get(), kTextBlockSize, "%d", static_cast<int>(handle));
        list.texts_.push_back(std::move(text));
    }
    return list;
}

const char* SnapshotList::Item(size_t index) const
{
    return index < texts_.size() ? texts_[index].get() : "";
}
