#pragma once
// The list of visible top-level windows taken by one scan: the decimal texts of their
// handles ("%d" of the signed 32-bit value), in enumeration order. The list owns its texts,
// all in one block (one allocation per scan instead of one per window: a desktop with a
// thousand windows would otherwise pay a thousand heap calls every tick); moving a list
// hands the texts over, and assigning a fresh list frees the previous one only after the
// fresh one exists.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class SnapshotList {
public:
    SnapshotList() = default;                   // the empty list: zero items
    static SnapshotList FromHandles(std::span<const int32_t> handles);

    size_t Count() const { return starts_.size(); }
    // 0-based; an index past the end reads as the empty text.
    const char* Item(size_t index) const;

private:
    std::unique_ptr<char[]> texts_;     // zero-terminated texts, back to back
    std::vector<uint32_t> starts_;      // where each item's text begins in texts_
};
