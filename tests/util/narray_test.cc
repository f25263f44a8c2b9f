//------------------------------------------------------------------------------
//  Tests of nArray: growth rules, insertion and erasure, bounds checks and
//  copying.
//------------------------------------------------------------------------------
#include <vector>
#include <gtest/gtest.h>
#include "util/narray.h"
#include "util/nstring.h"
#include "assertdeath.h"

namespace
{

/// the array's elements as a vector, for comparisons
std::vector<int>
Contents(const nArray<int>& a)
{
    std::vector<int> v;
    for (int i = 0; i < a.Size(); i++)
    {
        v.push_back(a[i]);
    }
    return v;
}

} // namespace

TEST(nArrayTest, GrowthFollowsTheGrowSizeOrDoubles)
{
    const struct { int flags; int appends; int allocSize; } cases[] = {
        { 0, 1, 4 }, { 0, 4, 4 }, { 0, 5, 8 }, { 0, 9, 12 },
        { nArray<int>::DoubleGrowSize, 1, 4 },
        { nArray<int>::DoubleGrowSize, 5, 8 },
        { nArray<int>::DoubleGrowSize, 9, 16 },
        { nArray<int>::DoubleGrowSize, 17, 32 },
    };
    for (const auto& c : cases)
    {
        nArray<int> a(0, 4);
        a.SetFlags(c.flags);
        EXPECT_EQ(a.AllocSize(), 0);
        for (int i = 0; i < c.appends; i++)
        {
            a.Append(i * 10);
        }
        EXPECT_EQ(a.AllocSize(), c.allocSize) << "flags " << c.flags << ", " << c.appends << " appends";
        ASSERT_EQ(a.Size(), c.appends);
        for (int i = 0; i < c.appends; i++)
        {
            EXPECT_EQ(a[i], i * 10);
        }
    }
}

TEST(nArrayTest, InitialSizeIsAllocatedUpFront)
{
    nArray<int> a(3, 2);
    EXPECT_EQ(a.AllocSize(), 3);
    EXPECT_EQ(a.Size(), 0);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetFlags(), 0);
    EXPECT_ASSERT_DEATH(nArray<int>(-1, 4), "initialSize >= 0");
}

TEST(nArrayTest, AppendReturnsTheStoredElement)
{
    nArray<int> a(0, 4);
    int& elm = a.Append(5);
    elm = 6;
    EXPECT_EQ(a.Back(), 6);
    EXPECT_EQ(&a.Front(), &a.At(0));
}

TEST(nArrayTest, ZeroGrowSizeFailsOnTheAppendThatFindsItFull)
{
    nArray<int> a(2, 0);
    a.Append(1);
    a.Append(2);
    EXPECT_EQ(a.Size(), 2);
    EXPECT_ASSERT_DEATH(a.Append(3), "this->growSize > 0");

    nArray<int> empty(0, 0);
    EXPECT_ASSERT_DEATH(empty.Append(1), "this->growSize > 0");
}

TEST(nArrayTest, AppendingAnOwnElementWhileGrowing)
{
    nArray<nString> a(1, 1);
    a.Append("a text long enough for the heap");
    ASSERT_EQ(a.AllocSize(), a.Size());
    a.Append(a[0]);
    EXPECT_STREQ(a[1].Get(), "a text long enough for the heap");
}

TEST(nArrayTest, InsertAtTheEndIsAppend)
{
    nArray<int> viaInsert(0, 4);
    nArray<int> viaAppend(0, 4);
    for (int i = 0; i < 6; i++)
    {
        viaInsert.Insert(viaInsert.Size(), i);
        viaAppend.Append(i);
    }
    EXPECT_EQ(Contents(viaInsert), Contents(viaAppend));
    EXPECT_EQ(viaInsert.AllocSize(), viaAppend.AllocSize());
}

TEST(nArrayTest, InsertMovesTheRestUp)
{
    nArray<int> a(0, 2);
    a.Append(1);
    a.Append(3);
    a.Insert(1, 2);
    EXPECT_EQ(Contents(a), (std::vector<int>{ 1, 2, 3 }));
    a.Insert(0, 0);
    EXPECT_EQ(Contents(a), (std::vector<int>{ 0, 1, 2, 3 }));
    a.Insert(2, a[3]);
    EXPECT_EQ(Contents(a), (std::vector<int>{ 0, 1, 3, 2, 3 }));
    EXPECT_EQ(a.AllocSize(), 6);
}

TEST(nArrayTest, InsertOutsideTheArrayFails)
{
    nArray<int> a(0, 4);
    a.Append(1);
    a.Append(2);
    EXPECT_ASSERT_DEATH(a.Insert(3, 9), "(index >= 0) && (index <= this->numElements)");
    EXPECT_ASSERT_DEATH(a.Insert(-1, 9), "(index >= 0) && (index <= this->numElements)");
}

TEST(nArrayTest, ElementAccessOutsideTheArrayFails)
{
    const char* const expr = "this->elements && (index >= 0) && (index < this->numElements)";
    nArray<int> a(4, 4);
    a.Append(1);
    EXPECT_ASSERT_DEATH(a.At(1), expr);
    EXPECT_ASSERT_DEATH(a[-1], expr);
    EXPECT_ASSERT_DEATH(a.Erase(1), expr);

    nArray<int> none(0, 4);
    EXPECT_ASSERT_DEATH(none.At(0), expr);
    EXPECT_ASSERT_DEATH(none.Front(), "this->elements && (this->numElements > 0)");
    EXPECT_ASSERT_DEATH(none.Back(), "this->elements && (this->numElements > 0)");

    nArray<int> cleared(4, 4);
    cleared.Append(1);
    cleared.Clear();
    EXPECT_ASSERT_DEATH(cleared.Back(), "this->elements && (this->numElements > 0)");
}

TEST(nArrayTest, EraseMovesTheRestDown)
{
    const struct { int index; std::vector<int> after; } cases[] = {
        { 0, { 1, 2, 3 } },
        { 1, { 0, 2, 3 } },
        { 3, { 0, 1, 2 } },
    };
    for (const auto& c : cases)
    {
        nArray<int> a(0, 4);
        for (int i = 0; i < 4; i++)
        {
            a.Append(i);
        }
        a.Erase(c.index);
        EXPECT_EQ(Contents(a), c.after) << "index " << c.index;
        EXPECT_EQ(a.AllocSize(), 4);
    }
}

TEST(nArrayTest, EraseQuickMovesTheLastElementIn)
{
    nArray<int> a(0, 4);
    for (int i = 0; i < 4; i++)
    {
        a.Append(i);
    }
    nArray<int>::iterator it = a.EraseQuick(a.Begin() + 1);
    EXPECT_EQ(*it, 3);
    EXPECT_EQ(Contents(a), (std::vector<int>{ 0, 3, 2 }));
    a.EraseQuick(2);
    EXPECT_EQ(Contents(a), (std::vector<int>{ 0, 3 }));

    EXPECT_ASSERT_DEATH(a.EraseQuick(a.End()),
                        "this->elements && (iter >= this->elements) && (iter < (this->elements + this->numElements))");
    EXPECT_ASSERT_DEATH(a.EraseQuick(a.Begin() - 1),
                        "this->elements && (iter >= this->elements) && (iter < (this->elements + this->numElements))");
}

TEST(nArrayTest, ErasedStringsAreReleased)
{
    nArray<nString> a(0, 4);
    a.Append("first text long enough for the heap");
    a.Append("second text long enough for the heap");
    a.Append("third text long enough for the heap");
    a.Erase(0);
    a.EraseQuick(0);
    ASSERT_EQ(a.Size(), 1);
    EXPECT_STREQ(a[0].Get(), "third text long enough for the heap");
}

TEST(nArrayTest, ClearKeepsStorageDeleteZeroesEverything)
{
    nArray<int> a(0, 4);
    a.SetFlags(nArray<int>::DoubleGrowSize);
    for (int i = 0; i < 5; i++)
    {
        a.Append(i);
    }
    a.Clear();
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(a.AllocSize(), 8);
    a.Append(7);
    EXPECT_EQ(a[0], 7);

    a.Delete();
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(a.AllocSize(), 0);
    EXPECT_EQ(a.GetFlags(), 0);
    EXPECT_EQ(a.Begin(), nullptr);
    // the growth rule is gone as well
    EXPECT_ASSERT_DEATH(a.Append(1), "this->growSize > 0");
}

TEST(nArrayTest, CopiesAreDeepAndKeepTheGrowthRule)
{
    nArray<nString> a(0, 3);
    a.SetFlags(nArray<nString>::DoubleGrowSize);
    a.Append("one");
    a.Append("a text long enough for the heap");

    nArray<nString> copy(a);
    nArray<nString> assigned(1, 1);
    assigned.Append("old");
    assigned = a;
    a[1].Set("changed");

    for (const nArray<nString>* c : { &copy, &assigned })
    {
        ASSERT_EQ(c->Size(), 2);
        EXPECT_STREQ((*c)[0].Get(), "one");
        EXPECT_STREQ((*c)[1].Get(), "a text long enough for the heap");
        EXPECT_EQ(c->AllocSize(), 3);
        EXPECT_EQ(c->GetFlags(), nArray<nString>::DoubleGrowSize);
    }

    const nArray<nString>& alias = a;
    a = alias;
    EXPECT_STREQ(a[1].Get(), "changed");
}

TEST(nArrayTest, FindAndIteration)
{
    nArray<int> a;
    for (int i = 0; i < 20; i++)
    {
        a.Append(i % 5);
    }
    EXPECT_EQ(a.FindIndex(3), 3);
    EXPECT_EQ(a.Find(3), a.Begin() + 3);
    EXPECT_EQ(a.FindIndex(9), -1);
    EXPECT_EQ(a.Find(9), nullptr);

    int sum = 0;
    for (int v : a)
    {
        sum += v;
    }
    EXPECT_EQ(sum, 40);
}
