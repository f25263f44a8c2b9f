//------------------------------------------------------------------------------
//  Tests of nKeyArray: sorted insertion, binary search, the last-hit cache
//  and growth.
//------------------------------------------------------------------------------
#include <climits>
#include <gtest/gtest.h>
#include "util/nkeyarray.h"
#include "assertdeath.h"

TEST(nKeyArrayTest, PairsAreKeptSortedByKey)
{
    nKeyArray<char> a(3);
    a.Add(5, 'e');
    a.Add(1, 'a');
    a.Add(3, 'c');
    ASSERT_EQ(a.Size(), 3);
    const int keys[] = { 1, 3, 5 };
    const char elms[] = { 'a', 'c', 'e' };
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(a.GetKeyAt(i), keys[i]);
        EXPECT_EQ(a.GetElementAt(i), elms[i]);
    }
}

TEST(nKeyArrayTest, KeysCompareAsSignedIntegers)
{
    // ids with the high bit set, like four-character codes from 0x80 up,
    // sort below the others
    nKeyArray<int> a(4);
    a.Add(INT_MAX, 1);
    a.Add(0, 2);
    a.Add(INT_MIN, 3);
    a.Add((int) 0x80000001u, 4);
    EXPECT_EQ(a.GetKeyAt(0), INT_MIN);
    EXPECT_EQ(a.GetKeyAt(1), (int) 0x80000001u);
    EXPECT_EQ(a.GetKeyAt(2), 0);
    EXPECT_EQ(a.GetKeyAt(3), INT_MAX);
    int elm = 0;
    EXPECT_TRUE(a.Find((int) 0x80000001u, elm));
    EXPECT_EQ(elm, 4);
}

TEST(nKeyArrayTest, EqualKeysKeepTheirOrderOfAddition)
{
    nKeyArray<char> a(4);
    a.Add(2, 'a');
    a.Add(1, 'x');
    a.Add(2, 'b');
    a.Add(2, 'c');
    const char elms[] = { 'x', 'a', 'b', 'c' };
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(a.GetElementAt(i), elms[i]);
    }
}

TEST(nKeyArrayTest, BinarySearchFindsEveryKeyAndNothingElse)
{
    // even keys present, odd keys absent, for odd and even counts alike
    for (int n = 1; n <= 33; n++)
    {
        nKeyArray<int> a(n);
        for (int i = n - 1; i >= 0; i--)
        {
            a.Add(i * 2, i * 100);
        }
        for (int key = -3; key <= 2 * n + 1; key++)
        {
            nKeyArray<int> fresh(a);
            int elm = -1;
            const bool found = fresh.Find(key, elm);
            const bool present = (key >= 0) && (key < 2 * n) && (0 == (key % 2));
            EXPECT_EQ(found, present) << n << " pairs, key " << key;
            if (present)
            {
                EXPECT_EQ(elm, (key / 2) * 100);
                EXPECT_EQ(fresh.GetLastFoundIndex(), key / 2);
            }
            else
            {
                EXPECT_EQ(elm, -1);
            }
        }
    }
}

TEST(nKeyArrayTest, FindOnAnEmptyArrayIsFalse)
{
    nKeyArray<int> a(2);
    int elm = 7;
    EXPECT_FALSE(a.Find(0, elm));
    EXPECT_EQ(elm, 7);
}

TEST(nKeyArrayTest, RepeatedFindIsAnsweredByTheLastHit)
{
    nKeyArray<char> a(3);
    a.Add(5, 'e');
    a.Add(1, 'a');
    a.Add(3, 'c');
    EXPECT_EQ(a.GetLastFoundIndex(), -1);

    char elm = 0;
    ASSERT_TRUE(a.Find(3, elm));
    EXPECT_EQ(elm, 'c');
    EXPECT_EQ(a.GetLastFoundIndex(), 1);

    elm = 0;
    ASSERT_TRUE(a.Find(3, elm));
    EXPECT_EQ(elm, 'c');
    EXPECT_EQ(a.GetLastFoundIndex(), 1);

    // a miss leaves the remembered pair alone
    EXPECT_FALSE(a.Find(4, elm));
    EXPECT_EQ(a.GetLastFoundIndex(), 1);
}

TEST(nKeyArrayTest, AddForgetsTheLastHitOnlyWhenPairsMove)
{
    nKeyArray<int> a(4);
    a.Add(1, 10);
    a.Add(3, 30);
    int elm;
    ASSERT_TRUE(a.Find(3, elm));

    a.Add(9, 90);
    EXPECT_EQ(a.GetLastFoundIndex(), 1);

    a.Add(2, 20);
    EXPECT_EQ(a.GetLastFoundIndex(), -1);
    ASSERT_TRUE(a.Find(3, elm));
    EXPECT_EQ(elm, 30);
    EXPECT_EQ(a.GetLastFoundIndex(), 2);
}

TEST(nKeyArrayTest, GrowingByGrowElms)
{
    nKeyArray<int> a(2, 3);
    for (int i = 0; i < 2; i++)
    {
        a.Add(i, i);
    }
    int elm;
    ASSERT_TRUE(a.Find(1, elm));
    a.Add(10, 10);
    EXPECT_EQ(a.GetLastFoundIndex(), -1);
    for (int i = 11; i < 20; i++)
    {
        a.Add(i, i);
    }
    ASSERT_EQ(a.Size(), 12);
    for (int i = 11; i < 20; i++)
    {
        ASSERT_TRUE(a.Find(i, elm));
        EXPECT_EQ(elm, i);
    }
}

TEST(nKeyArrayTest, AFullArrayWithoutGrowthFails)
{
    nKeyArray<int> a(1);
    a.Add(1, 1);
    EXPECT_ASSERT_DEATH(a.Add(2, 2), "this->growElms > 0");
}

TEST(nKeyArrayTest, IndexOutsideTheArrayFails)
{
    nKeyArray<int> a(4);
    a.Add(1, 1);
    EXPECT_ASSERT_DEATH(a.GetKeyAt(1), "(index >= 0) && (index < this->numElms)");
    EXPECT_ASSERT_DEATH(a.GetElementAt(-1), "(index >= 0) && (index < this->numElms)");
}

TEST(nKeyArrayTest, ClearKeepsStorage)
{
    nKeyArray<int> a(2);
    a.Add(1, 1);
    a.Add(2, 2);
    int elm;
    ASSERT_TRUE(a.Find(2, elm));
    a.Clear();
    EXPECT_EQ(a.Size(), 0);
    EXPECT_EQ(a.GetLastFoundIndex(), -1);
    EXPECT_FALSE(a.Find(2, elm));
    a.Add(5, 5);
    a.Add(4, 4);
    EXPECT_EQ(a.GetKeyAt(0), 4);
}
