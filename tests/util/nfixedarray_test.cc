//------------------------------------------------------------------------------
//  Tests of nFixedArray.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "util/nfixedarray.h"
#include "util/nstring.h"
#include "assertdeath.h"

TEST(nFixedArrayTest, SetSizeGivesFreshElements)
{
    nFixedArray<int> a;
    EXPECT_EQ(a.Size(), 0);
    a.SetSize(5);
    ASSERT_EQ(a.Size(), 5);
    for (int i = 0; i < 5; i++)
    {
        EXPECT_EQ(a[i], 0);
        a[i] = i + 1;
    }
    a.SetSize(3);
    ASSERT_EQ(a.Size(), 3);
    for (int i = 0; i < 3; i++)
    {
        EXPECT_EQ(a.At(i), 0);
    }
    a.SetSize(0);
    EXPECT_EQ(a.Size(), 0);
}

TEST(nFixedArrayTest, AccessOutsideTheArrayFails)
{
    const char* const expr = "this->elements && (index >= 0) && (index < this->size)";
    nFixedArray<int> a(2);
    EXPECT_ASSERT_DEATH(a[2], expr);
    EXPECT_ASSERT_DEATH(a.At(-1), expr);
    nFixedArray<int> none;
    EXPECT_ASSERT_DEATH(none[0], expr);
}

TEST(nFixedArrayTest, CopiesAreDeep)
{
    nFixedArray<nString> a(2);
    a.Fill("a text long enough for the heap");
    a[1] = "b";
    nFixedArray<nString> copy(a);
    nFixedArray<nString> assigned(7);
    assigned = a;
    a[0] = "changed";
    for (const nFixedArray<nString>* c : { &copy, &assigned })
    {
        ASSERT_EQ(c->Size(), 2);
        EXPECT_STREQ((*c)[0].Get(), "a text long enough for the heap");
        EXPECT_STREQ((*c)[1].Get(), "b");
    }
}
