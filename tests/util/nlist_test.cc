//------------------------------------------------------------------------------
//  Tests of nNode and nList.
//------------------------------------------------------------------------------
#include <vector>
#include <gtest/gtest.h>
#include "util/nlist.h"
#include "util/nnode.h"
#include "assertdeath.h"

namespace
{

/// the data pointers of the list's nodes, head to tail
std::vector<void*>
Forward(const nList& l)
{
    std::vector<void*> v;
    for (nNode* n = l.GetHead(); n; n = n->GetSucc())
    {
        v.push_back(n->GetData());
    }
    return v;
}

/// the data pointers of the list's nodes, tail to head
std::vector<void*>
Backward(const nList& l)
{
    std::vector<void*> v;
    for (nNode* n = l.GetTail(); n; n = n->GetPred())
    {
        v.push_back(n->GetData());
    }
    return v;
}

/// unlink every node so that the list may die
void
Empty(nList& l)
{
    while (l.RemHead())
    {
    }
}

/// three nodes whose data points at three ints
struct ThreeNodes
{
    int va = 1, vb = 2, vc = 3;
    nNode a{ &va };
    nNode b{ &vb };
    nNode c{ &vc };
};

} // namespace

TEST(nListTest, AnEmptyListHasNoNodes)
{
    nList l;
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(l.GetHead(), nullptr);
    EXPECT_EQ(l.GetTail(), nullptr);
    EXPECT_EQ(l.RemHead(), nullptr);
    EXPECT_EQ(l.RemTail(), nullptr);
}

TEST(nListTest, NodesAreWalkedInBothDirections)
{
    ThreeNodes t;
    nList l;
    l.AddTail(&t.b);
    l.AddTail(&t.c);
    l.AddHead(&t.a);
    EXPECT_FALSE(l.IsEmpty());
    EXPECT_EQ(l.GetHead(), &t.a);
    EXPECT_EQ(l.GetTail(), &t.c);
    EXPECT_EQ(Forward(l), (std::vector<void*>{ &t.va, &t.vb, &t.vc }));
    EXPECT_EQ(Backward(l), (std::vector<void*>{ &t.vc, &t.vb, &t.va }));
    EXPECT_EQ(t.c.GetSucc(), nullptr);
    EXPECT_EQ(t.a.GetPred(), nullptr);
    Empty(l);
}

TEST(nListTest, RemHeadAndRemTailUnlink)
{
    ThreeNodes t;
    nList l;
    l.AddTail(&t.a);
    l.AddTail(&t.b);
    l.AddTail(&t.c);
    EXPECT_EQ(l.RemHead(), &t.a);
    EXPECT_FALSE(t.a.IsLinked());
    EXPECT_EQ(l.RemTail(), &t.c);
    EXPECT_FALSE(t.c.IsLinked());
    EXPECT_EQ(l.GetHead(), &t.b);
    EXPECT_EQ(l.GetTail(), &t.b);
    EXPECT_EQ(l.RemTail(), &t.b);
    EXPECT_TRUE(l.IsEmpty());
}

TEST(nListTest, RemoveAndInsertBetweenNodes)
{
    ThreeNodes t;
    nList l;
    l.AddTail(&t.a);
    l.AddTail(&t.b);
    l.AddTail(&t.c);
    t.b.Remove();
    EXPECT_FALSE(t.b.IsLinked());
    EXPECT_EQ(Forward(l), (std::vector<void*>{ &t.va, &t.vc }));

    t.b.InsertBefore(&t.a);
    EXPECT_EQ(Forward(l), (std::vector<void*>{ &t.vb, &t.va, &t.vc }));
    t.b.Remove();
    t.b.InsertAfter(&t.c);
    EXPECT_EQ(Forward(l), (std::vector<void*>{ &t.va, &t.vc, &t.vb }));
    EXPECT_EQ(Backward(l), (std::vector<void*>{ &t.vb, &t.vc, &t.va }));
    Empty(l);
}

TEST(nListTest, NodeData)
{
    int v = 0;
    nNode n;
    EXPECT_EQ(n.GetData(), nullptr);
    EXPECT_FALSE(n.IsLinked());
    n.SetData(&v);
    EXPECT_EQ(n.GetData(), &v);
}

TEST(nListTest, DestroyingAListThatHoldsANodeFails)
{
    EXPECT_ASSERT_DEATH(
        {
            nNode n;
            {
                nList l;
                l.AddTail(&n);
            }
        },
        "0 == this->head->succ");
}

TEST(nListTest, DestroyingALinkedNodeFails)
{
    EXPECT_ASSERT_DEATH(
        {
            nList l;
            {
                nNode n;
                l.AddTail(&n);
            }
        },
        "!this->succ");
}

TEST(nListTest, UnlinkedNodesCannotBeWalkedOrRemoved)
{
    nNode n;
    EXPECT_ASSERT_DEATH(n.GetSucc(), "this->succ");
    EXPECT_ASSERT_DEATH(n.GetPred(), "this->pred");
    EXPECT_ASSERT_DEATH(n.Remove(), "this->succ");
}

TEST(nListTest, InsertingNeedsALinkedNeighbourAndAnUnlinkedNode)
{
    nNode loose;
    nNode other;
    EXPECT_ASSERT_DEATH(loose.InsertBefore(&other), "succ->pred");
    EXPECT_ASSERT_DEATH(loose.InsertAfter(&other), "pred->succ");

    nNode a;
    nNode b;
    nList l;
    l.AddTail(&a);
    l.AddTail(&b);
    EXPECT_ASSERT_DEATH(b.InsertAfter(&a), "!this->succ");
    EXPECT_ASSERT_DEATH(a.InsertBefore(&b), "!this->succ");
    Empty(l);
}
