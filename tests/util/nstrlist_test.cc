//------------------------------------------------------------------------------
//  Tests of nStrNode and nStrList.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>
#include "util/nstrlist.h"
#include "util/nstrnode.h"
#include "assertdeath.h"

namespace
{

/// unlink every node so that the list may die
void
Empty(nStrList& l)
{
    while (l.RemHead())
    {
    }
}

} // namespace

TEST(nStrListTest, NodeNames)
{
    int v = 0;
    nStrNode unnamed;
    EXPECT_EQ(unnamed.GetName(), nullptr);
    nStrNode named("node", &v);
    EXPECT_STREQ(named.GetName(), "node");
    EXPECT_EQ(named.GetData(), &v);
    named.SetName("a name long enough for the heap");
    EXPECT_STREQ(named.GetName(), "a name long enough for the heap");
    named.SetName("");
    EXPECT_EQ(named.GetName(), nullptr);
}

TEST(nStrListTest, FindSearchesFromTheHeadCaseSensitively)
{
    nStrNode first("twin");
    nStrNode other("Other");
    nStrNode second("twin");
    nStrList l;
    l.AddTail(&first);
    l.AddTail(&other);
    l.AddTail(&second);

    EXPECT_EQ(l.Find("twin"), &first);
    EXPECT_EQ(l.Find("Other"), &other);
    EXPECT_EQ(l.Find("other"), nullptr);
    EXPECT_EQ(l.Find("tw"), nullptr);
    EXPECT_EQ(l.GetHead()->GetSucc(), &other);
    EXPECT_EQ(l.GetTail()->GetPred(), &other);
    Empty(l);
}

TEST(nStrListTest, AnUnnamedNodeOnTheWayFails)
{
    nStrNode unnamed;
    nStrNode named("named");
    nStrList l;
    l.AddTail(&unnamed);
    l.AddTail(&named);
    EXPECT_ASSERT_DEATH(l.Find("named"), "nodeName");
    Empty(l);
}

TEST(nStrListTest, TypedRemoval)
{
    nStrNode a("a");
    nStrNode b("b");
    nStrList l;
    l.AddHead(&b);
    l.AddHead(&a);
    EXPECT_EQ(l.RemTail(), &b);
    EXPECT_EQ(l.RemHead(), &a);
    EXPECT_TRUE(l.IsEmpty());
}
