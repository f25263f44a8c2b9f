//------------------------------------------------------------------------------
//  References: plain, auto (by path), dynamic auto, hard and strong references.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/nautoref.h"
#include "kernel/ndynautoref.h"
#include "kernel/nhardref.h"
#include "kernel/nhardrefserver.h"
#include "kernel/nenv.h"
#include "kernel/nstrongref.h"

#include <string>

TEST_F(KernelTest, RefNeitherCountsNorOutlivesItsLink)
{
    nRoot* a = NewRoot("/a");
    {
        nRef<nRoot> r(a);
        nRef<nRoot> s;
        s = a;
        EXPECT_EQ(a->GetRefCount(), 1);
        s.set(nullptr);
        EXPECT_FALSE(s.isvalid());
    }
    // the holders unlinked themselves: the dying object walks no freed node
    a->Release();
    EXPECT_FATAL(nRef<nRoot> r(nullptr), ASSERTION_TEXT("o"));
}

TEST_F(KernelTest, AutoRefResolvesOnceTheObjectExists)
{
    nAutoRef<nRoot> gfx("/sys/servers/gfx");
    EXPECT_FALSE(gfx.isvalid());
    EXPECT_FALSE(gfx.isvalid());  // a miss leaves it pending, and it tries again
    nRoot* server = NewRoot("/sys/servers/gfx");
    EXPECT_TRUE(gfx.isvalid());
    EXPECT_EQ(gfx.get(), server);
    EXPECT_EQ(server->GetRefCount(), 1);

    // resolved once: a new object under the path is not taken...
    server->SetName("old");
    nRoot* other = NewRoot("/sys/servers/gfx");
    EXPECT_EQ(gfx.get(), server);
    // ...until the target dies
    server->Release();
    EXPECT_EQ(gfx.get(), other);
    other->Release();
    nRoot* third = NewRoot("/sys/servers/gfx");
    EXPECT_EQ(gfx.operator->(), third);

    gfx = "/a";
    EXPECT_FALSE(gfx.isvalid());
}

TEST_F(KernelTest, AutoRefWithoutTargetIsFatal)
{
    nAutoRef<nRoot> missing("/nothing/here");
    EXPECT_FATAL(missing.get(), "nAutoRef: no target object '/nothing/here'!");
    nAutoRef<nRoot> unset;
    EXPECT_FALSE(unset.isvalid());
    EXPECT_FATAL(unset.get(), "nAutoRef: no target object 'NOT INITIALIZED'!");
}

TEST_F(KernelTest, DynAutoRefKeepsItsOwnCopyOfThePath)
{
    nRoot* b = NewRoot("/a/b");
    nDynAutoRef<nRoot> ref;
    {
        std::string temp = "/a/b";
        ref = temp.c_str();
        temp = "/x/y";  // the text the path came from changes and dies
    }
    EXPECT_EQ(ref.get(), b);

    nDynAutoRef<nRoot> fromString(nString("/a").Get());
    EXPECT_TRUE(fromString.isvalid());
    fromString = nString("/a/b");  // replaces (and frees) the old copy
    EXPECT_EQ(fromString.get(), b);
    fromString.set(nullptr);
    EXPECT_FALSE(fromString.isvalid());
    EXPECT_FATAL(fromString.get(), "NOT INITIALIZED");
}

class HardRefTest : public KernelTest
{
protected:
    nHardRefServer* Server() { return ks->GetHardRefServer(); }
    int Pending()
    {
        int n = 0;
        for (nStrNode* node = Server()->GetPendingList()->GetHead(); node; node = node->GetSucc()) ++n;
        return n;
    }
};

TEST_F(HardRefTest, PendingReferenceResolvesWhenItsObjectIsCreated)
{
    nHardRef<nRoot> ref;
    nHardRef<nRoot> twin;
    nHardRef<nRoot> elsewhere;
    ref = "/later/obj";
    twin.set("/later/obj");
    elsewhere.set("/elsewhere");
    Server()->RegisterHardRef(ks.get(), &ref);
    Server()->RegisterHardRef(ks.get(), &ref);  // already pending: listed once
    Server()->RegisterHardRef(ks.get(), &twin);
    Server()->RegisterHardRef(ks.get(), &elsewhere);
    EXPECT_EQ(Pending(), 3);
    EXPECT_FALSE(ref.isvalid());
    EXPECT_STREQ(ref.GetName().Get(), "/later/obj");

    nRoot* obj = NewRoot("/later/obj");
    Server()->ObjectCreated(NewRoot("/later"));  // another path: nothing happens
    EXPECT_EQ(Pending(), 3);
    Server()->ObjectCreated(obj);
    EXPECT_EQ(Pending(), 1);
    EXPECT_EQ(ref.get(), obj);
    EXPECT_EQ(twin.get(), obj);
    EXPECT_FALSE(elsewhere.isvalid());
    obj->SetName("moved");
    EXPECT_STREQ(ref.GetName().Get(), "/later/moved");  // resolved: the target's path

    // a dead target leaves an empty reference that has forgotten its path
    obj->Release();
    EXPECT_FALSE(ref.isvalid());
    EXPECT_STREQ(ref.GetName().Get(), "");
}

TEST_F(HardRefTest, ExistingObjectResolvesAtOnceAndDeadHoldersLeaveTheList)
{
    nRoot* obj = NewRoot("/here");
    nHardRef<nRoot> ref;
    ref.set("/here");
    Server()->RegisterHardRef(ks.get(), &ref);
    EXPECT_EQ(ref.get(), obj);
    EXPECT_EQ(Pending(), 0);
    {
        nHardRef<nRoot> shortLived;
        shortLived.set("/never");
        Server()->RegisterHardRef(ks.get(), &shortLived);
        EXPECT_EQ(Pending(), 1);
    }
    EXPECT_EQ(Pending(), 0);

    nHardRef<nRoot> moved;
    moved.set("/a");
    Server()->RegisterHardRef(ks.get(), &moved);
    moved.set("/b");  // a new path takes it off the list until it registers again
    EXPECT_EQ(Pending(), 0);
}

TEST_F(HardRefTest, RegistrationAndResolveAssertions)
{
    nRoot* obj = NewRoot("/obj");
    nHardRef<nRoot> resolved;
    resolved.set("/obj");
    Server()->RegisterHardRef(ks.get(), &resolved);
    EXPECT_FATAL(Server()->RegisterHardRef(ks.get(), &resolved), ASSERTION_TEXT("!hardRef->isvalid\\(\\)"));
    nHardRef<nRoot> unnamed;
    EXPECT_FATAL(Server()->RegisterHardRef(ks.get(), &unnamed), ASSERTION_TEXT("!name.IsEmpty\\(\\)"));
    EXPECT_FATAL(Server()->RegisterHardRef(nullptr, &unnamed), ASSERTION_TEXT("kernelServer"));
    EXPECT_FATAL(Server()->RegisterHardRef(ks.get(), nullptr), ASSERTION_TEXT("hardRef"));
    nHardRef<nRoot> gone;
    gone.set("/gone");
    Server()->RegisterHardRef(ks.get(), &gone);
    EXPECT_FATAL(gone.Resolve(), ASSERTION_TEXT("objPointer"));
    nHardRef<nRoot> unregistered;
    unregistered.set("/obj");
    EXPECT_FATAL(unregistered.Resolve(), ASSERTION_TEXT("this->kernelServer"));
    obj->Release();
}

TEST_F(HardRefTest, PendingReferenceOutlivesItsKernel)
{
    nHardRef<nRoot> ref;
    ref.set("/later");
    Server()->RegisterHardRef(ks.get(), &ref);
    ks.reset();
    // the kernel is gone: the reference is unlinked and no longer reaches it
    EXPECT_FALSE(ref.isvalid());
    EXPECT_STREQ(ref.GetName().Get(), "/later");
    EXPECT_FATAL(ref.Resolve(), ASSERTION_TEXT("this->kernelServer"));
}

TEST_F(KernelTest, AutoRefTakesOnlyAnObjectOfItsClass)
{
    nAutoRef<nEnv> env("/e", "nenv");
    nRoot* plain = NewRoot("/e");
    // a script may put any object under the path: no cast, the reference stays empty
    EXPECT_FALSE(env.isvalid());
    EXPECT_FATAL(env.get(), "nAutoRef: no target object '/e'!");
    plain->Release();
    nObject* real = this->ks->New("nenv", "/e");
    EXPECT_TRUE(env.isvalid());
    EXPECT_EQ(static_cast<nObject*>(env.get()), real);
    real->Release();
}

TEST_F(KernelTest, StrongRefHoldsOneCountUntilResetOrGone)
{
    nRoot* a = NewRoot("/a");
    nRef<nRoot> observer(a);
    {
        nStrongRef<nRoot> owner;
        owner.set(a);
        EXPECT_EQ(a->GetRefCount(), 2);
        owner.set(a);  // the same object again keeps one count, and the object
        EXPECT_EQ(a->GetRefCount(), 2);
        owner.reset();
        EXPECT_FALSE(owner.isvalid());
        EXPECT_EQ(a->GetRefCount(), 1);
        owner.set(a);
    }
    EXPECT_EQ(a->GetRefCount(), 1);

    // adopt takes over the caller's count: the owner's end is the object's
    {
        nStrongRef<nRoot> owner;
        owner.adopt(a);
        EXPECT_EQ(owner.get(), a);
        // adopting the object it owns, as a second show adopts the child the
        // kernel hands back from its path, keeps the object and its one count
        owner.adopt(a);
        EXPECT_EQ(a->GetRefCount(), 1);
        EXPECT_TRUE(observer.isvalid());
    }
    EXPECT_FALSE(observer.isvalid());
}

TEST_F(KernelTest, StrongRefReleasesNothingOfAnObjectThatDiedElsewhere)
{
    nStrongRef<nRoot> owner;
    nRoot* a = NewRoot("/a");
    owner.set(a);
    a->Release();
    a->Release();
    EXPECT_FALSE(owner.isvalid());
    EXPECT_EQ(owner.get_unsafe(), nullptr);
    owner.reset();
    // a new owner of a new object replaces nothing left over
    nRoot* b = NewRoot("/b");
    owner.adopt(b);
    EXPECT_EQ(b->GetRefCount(), 1);
}
