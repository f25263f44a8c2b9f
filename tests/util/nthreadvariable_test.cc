//------------------------------------------------------------------------------
//  Tests of nThreadVariable.
//------------------------------------------------------------------------------
#include <thread>
#include <gtest/gtest.h>
#include "util/nthreadvariable.h"

namespace
{

/// two halves that a torn write would leave disagreeing
struct Pair
{
    int value = 0;
    int negated = 0;
};

} // namespace

TEST(nThreadVariableTest, SetAndGet)
{
    nThreadVariable<int> v;
    EXPECT_EQ(v.Get(), 0);
    v.Set(5);
    EXPECT_EQ(v.Get(), 5);
    nThreadVariable<int> w(9);
    EXPECT_EQ(w.Get(), 9);
}

TEST(nThreadVariableTest, ReadersNeverSeeAHalfWrittenValue)
{
    nThreadVariable<Pair> v;
    const int rounds = 20000;
    std::thread writer([&v]()
    {
        for (int i = 1; i <= rounds; i++)
        {
            Pair p;
            p.value = i;
            p.negated = -i;
            v.Set(p);
        }
    });
    // checks are collected rather than asserted, so that the writer is
    // always joined
    bool consistent = true;
    bool monotonic = true;
    int last = 0;
    while (last < rounds)
    {
        const Pair p = v.Get();
        if (p.value != -p.negated)
        {
            consistent = false;
            break;
        }
        if (p.value < last)
        {
            monotonic = false;
        }
        last = p.value;
    }
    writer.join();
    EXPECT_TRUE(consistent);
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(v.Get().value, rounds);
}
