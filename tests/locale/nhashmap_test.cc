//------------------------------------------------------------------------------
//  The text to 16-bit index map: insertion order, lookups, rehashing, and
//  the limits that keep bad ids from exhausting memory.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"

#include "locale/nhashmap.h"

#include <string>
#include <vector>

TEST(nHashMapTest, TextsGetTheirInsertionIndex)
{
    nHashMap map(4, 8);
    EXPECT_EQ(map.Add("ID"), 0);
    EXPECT_EQ(map.Add("menu"), 1);
    EXPECT_EQ(map.Add("ID"), 0);
    EXPECT_EQ(map.Size(), 2);
    EXPECT_EQ(map.Find("menu"), 1);
    EXPECT_EQ(map.Find("nope"), -1);
    EXPECT_TRUE(map.Exists("ID"));
    EXPECT_FALSE(map.Exists(""));
    EXPECT_EQ(map.Add(""), 2);
    EXPECT_STREQ(map.At(1).Get(), "menu");
    EXPECT_EQ(nHashMap::HashSum("ab"), 97u + 2u * 98u);
}

TEST(nHashMapTest, AnOverfullBucketDoublesTheTable)
{
    nHashMap map(1, 8);
    std::vector<std::string> ids;
    for (int i = 0; i < 200; i++) ids.push_back("text_" + std::to_string(i));
    for (size_t i = 0; i < ids.size(); i++) ASSERT_EQ(map.Add(ids[i].c_str()), (int)i);
    EXPECT_GT(map.NumBuckets(), 1);
    for (size_t i = 0; i < ids.size(); i++) EXPECT_EQ(map.Find(ids[i].c_str()), (int)i);
}

TEST(nHashMapTest, TextsWithOneHashDoNotMakeTheTableGrowWithoutEnd)
{
    // three-letter words whose sums of byte x (position + 1) are equal
    std::vector<std::string> same;
    const uint target = nHashMap::HashSum("mmm");
    for (char a = 'a'; a <= 'z'; a++)
        for (char b = 'a'; b <= 'z'; b++)
            for (char c = 'a'; c <= 'z'; c++)
            {
                const std::string w{a, b, c};
                if (nHashMap::HashSum(w.c_str()) == target) same.push_back(w);
            }
    ASSERT_GT(same.size(), 40u);
    nHashMap map(2, 8);
    for (size_t i = 0; i < same.size(); i++) ASSERT_EQ(map.Add(same[i].c_str()), (int)i);
    EXPECT_EQ(map.NumBuckets(), 2);
    for (size_t i = 0; i < same.size(); i++) EXPECT_EQ(map.Find(same[i].c_str()), (int)i);
}

TEST(nHashMapTest, MoreTextsThanASixteenBitIndexNamesAreRefused)
{
    // ids spread over many hash sums, so that the test stays quick
    const auto id = [](int i) {
        char buf[32];
        snprintf(buf, sizeof(buf), "id_%05d_%x", i, (uint)(i * 2654435761u));
        return std::string(buf);
    };
    nHashMap map(1024, 8);
    for (int i = 0; i < nHashMap::MaxStrings; i++)
    {
        ASSERT_EQ(map.Add(id(i).c_str()), i);
    }
    EXPECT_EQ(map.Add("one too many"), -1);
    EXPECT_FALSE(map.Exists("one too many"));
    EXPECT_EQ(map.Add(id(65535).c_str()), 65535);
    EXPECT_LE(map.NumBuckets(), nHashMap::MaxBuckets);
}
