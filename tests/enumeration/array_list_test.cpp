// The growable list: growth by doubling, the two kinds of storage, lookups and refilling.
#include "enumeration/array_list.h"

#include <gtest/gtest.h>

#include "counting_allocator.h"

namespace {

struct Pair {
    UINT first;
    UINT second;
};

TEST(ArrayListGrowth, DoublesFrom16To32To64AndKeepsContentsInOrder) {
    ArrayList list(StoreValues, sizeof(UINT));
    EXPECT_EQ(0u, list.Capacity());
    const UINT expectedCapacity[] = {16, 16, 32, 32, 64};
    const UINT checkpoints[] = {1, 16, 17, 32, 33};
    UINT appended = 0;
    for (int step = 0; step < 5; ++step) {
        while (appended < checkpoints[step]) {
            UINT value = 1000 + appended * 7;
            ASSERT_EQ(S_OK, list.Append(&value));
            ++appended;
        }
        EXPECT_EQ(expectedCapacity[step], list.Capacity()) << "after " << appended << " appends";
        EXPECT_EQ(appended, list.Count());
    }
    for (UINT index = 0; index < appended; ++index) {
        EXPECT_EQ(1000 + index * 7, ValueAt<UINT>(&list, index)) << "index " << index;
    }
}

TEST(ArrayListGrowth, FailedGrowthLeavesTheListAsItWas) {
    ArrayList list(StoreValues, sizeof(UINT));
    for (UINT value = 0; value < 16; ++value) ASSERT_EQ(S_OK, list.Append(&value));
    const void* blockBefore = list.ItemAt(0);
    {
        counting_allocator::FailAfter failNext(0);
        UINT value = 16;
        EXPECT_EQ(E_OUTOFMEMORY, list.Append(&value));
    }
    EXPECT_EQ(16u, list.Count());
    EXPECT_EQ(16u, list.Capacity());
    EXPECT_EQ(blockBefore, list.ItemAt(0));
    for (UINT index = 0; index < 16; ++index) EXPECT_EQ(index, ValueAt<UINT>(&list, index));

    UINT value = 16;
    EXPECT_EQ(S_OK, list.Append(&value));
    EXPECT_EQ(32u, list.Capacity());
    EXPECT_EQ(16u, ValueAt<UINT>(&list, 16));
}

TEST(ArrayListGrowth, FirstAppendThatCannotAllocateLeavesNoBlock) {
    ArrayList list(StorePointers, 0);
    counting_allocator::FailAfter failNext(0);
    int target = 0;
    EXPECT_EQ(E_OUTOFMEMORY, list.Append(&target));
    EXPECT_EQ(0u, list.Count());
    EXPECT_EQ(0u, list.Capacity());
}

TEST(ArrayListStorage, PointerListsHoldPointersWhateverSizeWasGiven) {
    for (UINT givenSize : {0u, 100u}) {
        ArrayList list(StorePointers, givenSize);
        EXPECT_EQ(sizeof(void*), list.ElementSize()) << "given " << givenSize;
        int a = 1, b = 2;
        ASSERT_EQ(S_OK, list.Append(&a));
        ASSERT_EQ(S_OK, list.Append(&b));
        ASSERT_EQ(S_OK, list.Append(nullptr));
        EXPECT_EQ(3u, list.Count());
        EXPECT_EQ(&a, list.ItemAt(0));
        EXPECT_EQ(&b, list.ItemAt(1));
        EXPECT_EQ(nullptr, list.ItemAt(2));
    }
}

TEST(ArrayListStorage, ValueListsCopyTheBytesNotTheAddress) {
    ArrayList list(StoreValues, sizeof(Pair));
    Pair pair = {3, 4};
    ASSERT_EQ(S_OK, list.Append(&pair));
    pair.first = 99;
    EXPECT_NE(static_cast<void*>(&pair), list.ItemAt(0));
    EXPECT_EQ(3u, ValueAt<Pair>(&list, 0).first);
    EXPECT_EQ(4u, ValueAt<Pair>(&list, 0).second);
}

TEST(ArrayListStorage, ZeroSizedValueListRefusesEveryAppend) {
    ArrayList list(StoreValues, 0);
    UINT value = 5;
    EXPECT_EQ(E_FAIL, list.Append(&value));
    EXPECT_EQ(E_FAIL, list.Append(&value));
    EXPECT_EQ(0u, list.Count());
    EXPECT_EQ(0u, list.Capacity());
    EXPECT_EQ(nullptr, list.ItemAt(0));
}

TEST(ArrayListIncludes, EmptyListIncludesNothing) {
    ArrayList values(StoreValues, sizeof(UINT));
    ArrayList pointers(StorePointers, 0);
    UINT zero = 0;
    EXPECT_FALSE(values.Includes(&zero));
    EXPECT_FALSE(pointers.Includes(nullptr));
}

TEST(ArrayListIncludes, ValuePairsMatchOnlyWhenBothHalvesAreEqual) {
    ArrayList list(StoreValues, sizeof(Pair));
    Pair held[] = {{1, 2}, {3, 4}};
    for (Pair& pair : held) ASSERT_EQ(S_OK, list.Append(&pair));
    const Pair probes[] = {{1, 2}, {3, 4}, {1, 4}, {3, 2}, {2, 1}, {0, 0}};
    const bool expected[] = {true, true, false, false, false, false};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i], list.Includes(&probes[i])) << probes[i].first << "," << probes[i].second;
    }
}

TEST(ArrayListIncludes, PointerListsCompareAddressesNotPointees) {
    ArrayList list(StorePointers, 0);
    int a = 7, b = 7;
    ASSERT_EQ(S_OK, list.Append(&a));
    EXPECT_TRUE(list.Includes(&a));
    EXPECT_FALSE(list.Includes(&b));
}

TEST(ArrayListTruncate, RefillsTheOldBlockWithoutAllocating) {
    ArrayList list(StoreValues, sizeof(UINT));
    for (UINT value = 0; value < 20; ++value) ASSERT_EQ(S_OK, list.Append(&value));
    const void* block = list.ItemAt(0);

    list.Truncate();
    EXPECT_EQ(0u, list.Count());
    EXPECT_EQ(32u, list.Capacity());
    UINT seen = 5;
    EXPECT_FALSE(list.Includes(&seen));

    const long made = counting_allocator::nothrowMade;
    for (UINT value = 100; value < 132; ++value) ASSERT_EQ(S_OK, list.Append(&value));
    EXPECT_EQ(made, counting_allocator::nothrowMade);
    EXPECT_EQ(block, list.ItemAt(0));
    EXPECT_EQ(100u, ValueAt<UINT>(&list, 0));
    EXPECT_EQ(131u, ValueAt<UINT>(&list, 31));
}

TEST(ArrayListLifetime, DestructionFreesTheBlock) {
    const long before = counting_allocator::liveNothrow;
    {
        ArrayList list(StoreValues, sizeof(UINT));
        for (UINT value = 0; value < 40; ++value) ASSERT_EQ(S_OK, list.Append(&value));
        EXPECT_EQ(before + 1, counting_allocator::liveNothrow);
    }
    EXPECT_EQ(before, counting_allocator::liveNothrow);
}

}  // namespace
