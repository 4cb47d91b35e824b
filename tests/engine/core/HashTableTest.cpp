#include <gtest/gtest.h>

#include <vector>

#include "engine/core/GrowableArray.h"
#include "engine/core/HashTable.h"
#include "engine/core/Pointer.h"

namespace zel {
namespace {

TEST(HashTable, NameHashSkipsTheFirstByte) {
    // h = (h << 2) | byte from the last byte down to the second.
    EXPECT_EQ(HashName(String("A")), 0u);
    EXPECT_EQ(HashName(String("xab")), (uint32_t('b') << 2) | 'a');
    EXPECT_EQ(HashName(String("Zab")), HashName(String("yab")));
}

TEST(HashTable, IdHashUsesBytesThreeTwoOne) {
    EXPECT_EQ(HashId(0x000000FF), 0u);
    EXPECT_EQ(HashId(0x01020304), (((1u << 2) | 2u) << 2) | 3u);
    EXPECT_EQ(HashId(-1), (((0xFFu << 2) | 0xFFu) << 2) | 0xFFu);
}

TEST(HashTable, RefusesDuplicatesAndIteratesBucketsThenChains) {
    IdTable<int> table;
    // 0 and 1 differ only in byte 0, so they share bucket 0, in insertion order.
    EXPECT_EQ(table.Insert(1, 10), kOk);
    EXPECT_EQ(table.Insert(0, 20), kOk);
    EXPECT_EQ(table.Insert(0x100, 30), kOk);  // bucket 1
    EXPECT_EQ(table.Insert(1, 99), kInvalidArgument);
    EXPECT_EQ(*table.Find(1), 10);
    std::vector<int> order;
    table.ForEach([&](int32_t, int value) { order.push_back(value); return true; });
    EXPECT_EQ(order, (std::vector<int>{10, 20, 30}));
    EXPECT_TRUE(table.Remove(1));
    EXPECT_FALSE(table.Remove(1));
    EXPECT_EQ(table.Find(1), nullptr);
    EXPECT_EQ(*table.Find(0), 20);
    EXPECT_EQ(table.Count(), 2);
}

TEST(GrowableArray, GrowsByItsStepAndKeepsElements) {
    GrowableArray<int> array(1, 2);
    EXPECT_EQ(array.Capacity(), 0);
    array.Append(1);
    EXPECT_EQ(array.Capacity(), 1);
    array.Append(2);
    EXPECT_EQ(array.Capacity(), 3);
    array.Append(3);
    array.Append(4);
    EXPECT_EQ(array.Capacity(), 5);
    array.RemoveAt(1);
    EXPECT_EQ(array.Count(), 3);
    EXPECT_EQ(array[0], 1);
    EXPECT_EQ(array[1], 3);
    EXPECT_EQ(array[2], 4);
    EXPECT_EQ(array.Find(4), 2);
    EXPECT_EQ(array.Find(2), -1);
}

}  // namespace
}  // namespace zel
