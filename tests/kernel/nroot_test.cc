//------------------------------------------------------------------------------
//  Tree objects: names, paths, sorting, reference counting.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/nref.h"

#include <random>
#include <string>
#include <vector>

TEST_F(KernelTest, FullNamesHaveNoTrailingSlash)
{
    EXPECT_STREQ(ks->GetRoot()->GetFullName().Get(), "/");
    nRoot* gfx = NewRoot("/sys/servers/gfx");
    EXPECT_STREQ(gfx->GetFullName().Get(), "/sys/servers/gfx");
}

TEST_F(KernelTest, FullNamesOfDeepTreesAreNotCut)
{
    std::string path;
    for (int i = 0; i < 150; i++) path += "/d";
    nRoot* deep = NewRoot(path.c_str());
    EXPECT_EQ(std::string(deep->GetFullName().Get()), path);
}

TEST_F(KernelTest, RelativePaths)
{
    nRoot* a = NewRoot("/a");
    nRoot* b = NewRoot("/a/b");
    nRoot* c = NewRoot("/a/b/c");
    nRoot* x = NewRoot("/p/q/x");
    nRoot* y = NewRoot("/p/r/y");
    struct Case
    {
        nRoot* from;
        nRoot* to;
        const char* path;
    } cases[] = {
        {a, a, "."},
        {b, a, ".."},
        {a, b, "b"},
        {a, c, "b/c"},
        {c, a, "../.."},
        {x, y, "../../r/y"},
    };
    for (const Case& cs : cases)
    {
        EXPECT_STREQ(cs.from->GetRelPath(cs.to).Get(), cs.path) << cs.from->GetFullName().Get() << " -> " << cs.to->GetFullName().Get();
    }
}

TEST_F(KernelTest, FindHandlesDotsAndNamesThatStartWithADot)
{
    nRoot* root = ks->GetRoot();
    nRoot* dotted = NewRoot("/...");
    nRoot* hidden = NewRoot("/.x");
    EXPECT_EQ(root->Find(".."), nullptr);
    EXPECT_EQ(root->Find("."), root);
    EXPECT_EQ(root->Find("..."), dotted);
    EXPECT_EQ(root->Find(".x"), hidden);
}

TEST_F(KernelTest, SortOrdersChildrenByName)
{
    nRoot* p = NewRoot("/p");
    NewRoot("/p/b");
    NewRoot("/p/a");
    NewRoot("/p/c");
    p->Sort();
    std::string order;
    for (nRoot* c = p->GetHead(); c; c = c->GetSucc()) order += c->GetName();
    EXPECT_EQ(order, "abc");
    nRoot* empty = NewRoot("/empty");
    empty->Sort();
    EXPECT_EQ(empty->GetHead(), nullptr);
}

/// the first child of that name in the children's order, found by walking them
static nRoot* FirstByWalk(const nRoot* parent, const std::string& name)
{
    for (nRoot* c = parent->GetHead(); c; c = c->GetSucc())
    {
        if (name == c->GetName()) return c;
    }
    return nullptr;
}

// Many children are found through a name index; whatever happens to them
// (adds at either end, renames into and out of a namesake's name, removal,
// death, sorting, the count crossing the index's threshold both ways),
// Find must answer what walking the children in order answers.
TEST_F(KernelTest, FindAgreesWithTheChildrensOrderThroughEveryChange)
{
    nRoot* p = NewRoot("/p");
    const std::vector<std::string> shared = {"a", "b", "c", "dd", "ee"};
    std::vector<nRoot*> live;
    std::mt19937 rng(20261211);
    int made = 0;
    for (int step = 0; step < 3000; step++)
    {
        // grow past the threshold, shrink to nothing, and again
        const bool growing = (step / 500) % 2 == 0;
        const unsigned op = rng() % 10;
        if (live.empty() || (growing && op < 4) || (!growing && op < 1))
        {
            const std::string name = "u" + std::to_string(made++);
            nRoot* child = NewRoot(("/p/" + name).c_str());
            if (rng() % 2) child->SetName(shared[rng() % shared.size()].c_str());
            live.push_back(child);
            continue;
        }
        const size_t which = rng() % live.size();
        nRoot* child = live[which];
        switch (op)
        {
        case 4:
        case 5:
            child->SetName(rng() % 3 ? shared[rng() % shared.size()].c_str() : ("r" + std::to_string(step)).c_str());
            break;
        case 6:
            child->Remove();
            p->AddHead(child);
            break;
        case 7:
            child->Remove();
            p->AddTail(child);
            break;
        case 8:
            if (step % 7 == 0) p->Sort();
            break;
        default:
            live.erase(live.begin() + which);
            child->Release();
            break;
        }
        for (const std::string& name : shared)
        {
            ASSERT_EQ(p->Find(name.c_str()), FirstByWalk(p, name)) << "step " << step << ", name " << name;
        }
        if (!live.empty())
        {
            const std::string any = live[rng() % live.size()]->GetName();
            ASSERT_EQ(p->Find(any.c_str()), FirstByWalk(p, any)) << "step " << step << ", name " << any;
        }
    }
}

TEST_F(KernelTest, SiblingNavigation)
{
    nRoot* p = NewRoot("/p");
    nRoot* a = NewRoot("/p/a");
    nRoot* b = NewRoot("/p/b");
    EXPECT_EQ(p->GetHead(), a);
    EXPECT_EQ(p->GetTail(), b);
    EXPECT_EQ(a->GetSucc(), b);
    EXPECT_EQ(b->GetPred(), a);
    EXPECT_EQ(a->GetPred(), nullptr);
    EXPECT_EQ(b->GetSucc(), nullptr);
    EXPECT_EQ(b->GetHead(), nullptr);
    EXPECT_EQ(a->GetParent(), p);
}

TEST_F(KernelTest, ReleasingAParentKillsChildrenWhateverTheirCount)
{
    nRoot* p = NewRoot("/p");
    nRoot* child = NewRoot("/p/child");
    child->AddRef();
    child->AddRef();
    nRef<nRoot> ref(child);
    nRef<nRoot> other(child);
    EXPECT_TRUE(ref.isvalid());
    p->Release();
    EXPECT_FALSE(ref.isvalid());
    EXPECT_FALSE(other.isvalid());
    EXPECT_EQ(ks->Lookup("/p"), nullptr);
}

TEST_F(KernelTest, ReferenceReSetElsewhereIsNotCleared)
{
    nRoot* a = NewRoot("/a");
    nRoot* b = NewRoot("/b");
    nRef<nRoot> r1(a);
    nRef<nRoot> r2(a);
    r2.set(b);
    a->Release();
    EXPECT_FALSE(r1.isvalid());
    EXPECT_TRUE(r2.isvalid());
    EXPECT_EQ(r2.get(), b);
}

TEST_F(KernelTest, ReferenceCountingAssertions)
{
    nRoot* a = NewRoot("/a");
    nRef<nRoot> ref(a);
    a->Release();
    EXPECT_FATAL(ref.get(), "Null pointer access through nRef!");
    nObject* orphan = ks->NewUnnamedObject("nroot");
    orphan->Release();
}

TEST_F(KernelTest, TreeSizeSumsInstanceSizes)
{
    nRoot* p = NewRoot("/p");
    NewRoot("/p/a");
    NewRoot("/p/a/b");
    EXPECT_EQ(p->GetTreeSize(), 3 * p->GetInstanceSize());
}
