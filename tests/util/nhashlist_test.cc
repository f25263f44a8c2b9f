//------------------------------------------------------------------------------
//  Tests of the string hash, nHashTable, nHashNode and nHashList.
//------------------------------------------------------------------------------
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "util/nhashlist.h"
#include "util/nhashnode.h"
#include "util/nhashtable.h"
#include "assertdeath.h"

namespace
{

/// the names of the list's nodes in list order
std::vector<std::string>
Names(const nHashList& l)
{
    std::vector<std::string> v;
    for (nHashNode* n = l.GetHead(); n; n = n->GetSucc())
    {
        v.push_back(n->GetName());
    }
    return v;
}

/// unlink every node so that the list may die
void
Empty(nHashList& l)
{
    while (l.RemHead())
    {
    }
}

} // namespace

TEST(nHashTest, StringHash)
{
    const struct { const char* str; int size; int hash; } cases[] = {
        { "ab", 1000, 293 },             // 1 x 97 + 2 x 98
        { "ab", 16, 293 % 16 },
        { "", 16, 0 },
        { "a", 97, 0 },
        { "\xff", 1000, 255 },            // characters count as unsigned bytes
        { "a\xff", 1000, 97 + 2 * 255 },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(n_strhash(c.str, c.size), c.hash) << c.str << " mod " << c.size;
    }
}

TEST(nHashTest, LongTextsWrapInsteadOfOverflowing)
{
    // the plain sum of this text is far beyond 2^32
    const std::string text(100000, '\xff');
    uint64_t sum = 0;
    for (size_t i = 0; i < text.size(); i++)
    {
        sum += (i + 1) * 255u;
    }
    const uint32_t wrapped = (uint32_t) sum;
    for (int size : { 16, 61, 64, 1000 })
    {
        const int h = n_strhash(text.c_str(), size);
        EXPECT_GE(h, 0);
        EXPECT_LT(h, size);
        EXPECT_EQ(h, (int) (wrapped % (uint32_t) size));
    }
}

TEST(nHashTest, TableFindsTheNodeAddedLast)
{
    nStrNode first("name");
    nStrNode second("name");
    nStrNode other("other");
    nHashTable table(4);
    EXPECT_EQ(table.GetSize(), 4);
    table.Add(&first);
    table.Add(&other);
    table.Add(&second);
    EXPECT_EQ(table.Find("name"), &second);
    EXPECT_EQ(table.Find("other"), &other);
    EXPECT_EQ(table.Find("missing"), nullptr);
    second.Remove();
    EXPECT_EQ(table.Find("name"), &first);
    first.Remove();
    other.Remove();
}

TEST(nHashTest, ListKeepsInsertionOrderAndFindsTheNodeAddedLast)
{
    nHashNode a("alpha");
    nHashNode b("beta");
    nHashNode a2("alpha");
    nHashList l;
    EXPECT_TRUE(l.IsEmpty());
    l.AddTail(&a);
    l.AddTail(&b);
    l.AddTail(&a2);
    EXPECT_EQ(l.Find("alpha"), &a2);
    EXPECT_EQ(l.Find("beta"), &b);
    EXPECT_EQ(l.Find("gamma"), nullptr);
    EXPECT_EQ(Names(l), (std::vector<std::string>{ "alpha", "beta", "alpha" }));
    EXPECT_EQ(l.GetTail()->GetPred(), &b);

    // removal takes the node out of its bucket as well
    EXPECT_EQ(l.RemTail(), &a2);
    EXPECT_EQ(l.Find("alpha"), &a);
    EXPECT_EQ(l.RemHead(), &a);
    EXPECT_EQ(l.Find("alpha"), nullptr);
    b.Remove();
    EXPECT_EQ(l.Find("beta"), nullptr);
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.RemHead(), nullptr);
    EXPECT_EQ(l.RemTail(), nullptr);
}

TEST(nHashTest, AddHeadPutsTheNodeFirst)
{
    nHashNode a("a");
    nHashNode b("b");
    nHashList l(4);
    l.AddTail(&a);
    l.AddHead(&b);
    EXPECT_EQ(Names(l), (std::vector<std::string>{ "b", "a" }));
    EXPECT_EQ(l.Find("b"), &b);
    Empty(l);
}

TEST(nHashTest, RenamingANodeRefilesIt)
{
    nHashNode a("first");
    nHashNode b("second");
    nHashList l;
    l.AddTail(&a);
    l.AddTail(&b);
    a.SetName("renamed to something long");
    EXPECT_EQ(l.Find("first"), nullptr);
    EXPECT_EQ(l.Find("renamed to something long"), &a);
    EXPECT_EQ(Names(l), (std::vector<std::string>{ "renamed to something long", "second" }));
    Empty(l);

    nHashNode loose("loose");
    loose.SetName("still loose");
    EXPECT_STREQ(loose.GetName(), "still loose");
}

TEST(nHashTest, ManyNodesInFewBuckets)
{
    std::vector<std::unique_ptr<nHashNode>> nodes;
    nHashList l(16);
    for (int i = 0; i < 500; i++)
    {
        nodes.emplace_back(new nHashNode(("node" + std::to_string(i)).c_str()));
        l.AddTail(nodes.back().get());
    }
    for (int i = 0; i < 500; i++)
    {
        EXPECT_EQ(l.Find(("node" + std::to_string(i)).c_str()), nodes[i].get());
    }
    int count = 0;
    for (nHashNode* n = l.GetHead(); n; n = n->GetSucc())
    {
        EXPECT_EQ(n, nodes[count].get());
        count++;
    }
    EXPECT_EQ(count, 500);
    Empty(l);
}

TEST(nHashTest, AddingANullNodeFails)
{
    nHashList l;
    EXPECT_ASSERT_DEATH(l.AddTail(0), "n");
    EXPECT_ASSERT_DEATH(l.AddHead(0), "n");
}
