#include "watcher/window_snapshot.h"

#include "watcher/conversions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <set>
#include <string>
#include <vector>

// Counts live array blocks, so that the tests can see which lists still hold their texts.
// Only the array forms are replaced, all of them, so every block is freed by the matching
// function and the sanitizer still watches the memory through malloc.
namespace {
std::atomic<long> liveArrayBlocks{0};
}

void* operator new[](std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++liveArrayBlocks;
    return block;
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) {
        ++liveArrayBlocks;
    }
    return block;
}

void operator delete[](void* block) noexcept
{
    if (block != nullptr) {
        --liveArrayBlocks;
        std::free(block);
    }
}

void operator delete[](void* block, std::size_t) noexcept
{
    operator delete[](block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    operator delete[](block);
}

namespace {

std::vector<std::string> Texts(const SnapshotList& list)
{
    std::vector<std::string> texts;
    for (size_t i = 0; i < list.Count(); ++i) {
        texts.emplace_back(list.Item(i));
    }
    return texts;
}

TEST(SnapshotList, KeepsEnumerationOrder)
{
    const int32_t handles[] = {66, 210, 98};
    const SnapshotList list = SnapshotList::FromHandles(handles);
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"66", "210", "98"}));
}

TEST(SnapshotList, HandlesWithTopBitSetReadBackUnchanged)
{
    const int32_t handles[] = {static_cast<int32_t>(0x80001234u), INT32_MIN, -1, INT32_MAX};
    const SnapshotList list = SnapshotList::FromHandles(handles);
    ASSERT_EQ(list.Count(), std::size(handles));
    EXPECT_STREQ(list.Item(1), "-2147483648");
    for (size_t i = 0; i < list.Count(); ++i) {
        if (handles[i] < 0) {
            EXPECT_EQ(list.Item(i)[0], '-') << list.Item(i);
        }
        EXPECT_EQ(TextToInteger(list.Item(i)), handles[i]) << list.Item(i);
    }
}

TEST(SnapshotList, EmptyListHasNoItems)
{
    const SnapshotList fresh;
    const SnapshotList scanned = SnapshotList::FromHandles({});
    EXPECT_EQ(fresh.Count(), 0u);
    EXPECT_EQ(scanned.Count(), 0u);
    EXPECT_STREQ(fresh.Item(0), "");
}

TEST(SnapshotList, IndexPastTheEndReadsEmpty)
{
    const int32_t handles[] = {5, 6};
    const SnapshotList list = SnapshotList::FromHandles(handles);
    EXPECT_STREQ(list.Item(1), "6");
    EXPECT_STREQ(list.Item(2), "");
    EXPECT_STREQ(list.Item(SIZE_MAX), "");
}

TEST(SnapshotList, ListsManyWindowsInOrder)
{
    std::vector<int32_t> handles;
    for (int32_t i = 0; i < 200; ++i) {
        handles.push_back(0x10000 + i * 0x2A - (i % 3 == 0 ? 0x20000 : 0));
    }
    const SnapshotList list = SnapshotList::FromHandles(handles);
    ASSERT_EQ(list.Count(), handles.size());
    std::set<const char*> texts;
    for (size_t i = 0; i < handles.size(); ++i) {
        EXPECT_EQ(list.Item(i), std::to_string(handles[i]));
        texts.insert(list.Item(i));
    }
    EXPECT_EQ(texts.size(), handles.size()) << "every item has a text of its own";
}

TEST(SnapshotList, AListHoldsItsTextsInOneHeapBlock)
{
    const long before = liveArrayBlocks;
    const int32_t handles[] = {1, 2, 3, 4};
    const SnapshotList list = SnapshotList::FromHandles(handles);
    EXPECT_EQ(liveArrayBlocks - before, 1);
    const SnapshotList empty = SnapshotList::FromHandles({});
    EXPECT_EQ(liveArrayBlocks - before, 1) << "the empty list holds no block";
}

TEST(SnapshotList, TwoRefreshesFreeTheFirstList)
{
    const long before = liveArrayBlocks;
    const int32_t first[] = {11, 12, 13};
    const int32_t second[] = {21, 22};
    SnapshotList list = SnapshotList::FromHandles(first);
    EXPECT_EQ(liveArrayBlocks - before, 1);
    list = SnapshotList::FromHandles(second);
    EXPECT_EQ(liveArrayBlocks - before, 1) << "the first list's texts are freed";
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"21", "22"}));
    list = SnapshotList{};
    EXPECT_EQ(liveArrayBlocks - before, 0);
    EXPECT_EQ(list.Count(), 0u);
}

TEST(SnapshotList, MovingHandsTheTextsOver)
{
    const long before = liveArrayBlocks;
    const int32_t handles[] = {7, 8};
    SnapshotList source = SnapshotList::FromHandles(handles);
    const char* firstText = source.Item(0);
    const SnapshotList target = std::move(source);
    EXPECT_EQ(target.Item(0), firstText);
    EXPECT_STREQ(target.Item(1), "8");
    EXPECT_EQ(liveArrayBlocks - before, 1);
}

}  // namespace
