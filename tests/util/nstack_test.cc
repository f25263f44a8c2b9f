//------------------------------------------------------------------------------
//  Tests of nStack.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "util/nstack.h"
#include "util/nstring.h"

TEST(nStackTest, LastInFirstOut)
{
    nStack<int> s;
    EXPECT_TRUE(s.IsEmpty());
    s.Push(1);
    s.Push(2);
    s.Push(3);
    EXPECT_FALSE(s.IsEmpty());
    EXPECT_EQ(s.Top(), 3);
    EXPECT_EQ(s.Pop(), 3);
    EXPECT_EQ(s.Pop(), 2);
    EXPECT_EQ(s.Pop(), 1);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(nStackTest, PoppingAnEmptyStackGivesZero)
{
    nStack<int*> pointers;
    EXPECT_EQ(pointers.Pop(), nullptr);
    EXPECT_EQ(pointers.Top(), nullptr);
    nStack<int> numbers;
    EXPECT_EQ(numbers.Pop(), 0);
}

TEST(nStackTest, ValuesStillPushedAreFreedWithTheStack)
{
    nStack<nString> s;
    s.Push("a text long enough for the heap");
    s.Push("another text long enough for the heap");
    EXPECT_STREQ(s.Top().Get(), "another text long enough for the heap");
}
