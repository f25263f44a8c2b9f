//------------------------------------------------------------------------------
//  Animations and the animation server.
//------------------------------------------------------------------------------
#include "anim2/nanimation.h"
#include "anim2/nanimationserver.h"
#include "anim2/nanim2package.h"
#include "resource/nresourceserver.h"
#include "resource/nresourcepackage.h"
#include "kernel/nmodule.h"
#include "capturelog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{

/// an in-memory animation of two groups, as a package could register it
class nTestMemoryAnimation : public nAnimation
{
protected:
    bool LoadResource() override
    {
        this->SetNumGroups(2);
        this->GetGroupAt(0).numKeys = 10;
        this->GetGroupAt(0).keyTime = 0.5f;
        this->GetGroupAt(1).numKeys = 4;
        this->GetGroupAt(1).keyTime = 0.25f;
        this->GetGroupAt(1).SetNumCurves(3);
        this->SetState(Valid);
        return true;
    }
};

}  // namespace

N_IMPLEMENT_MODULE(nmemoryanimation, nTestMemoryAnimation, "nanimation", nullptr)

namespace
{

void testanim_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nmemoryanimation);
}

class AnimTest : public ::testing::Test
{
protected:
    void Start(std::initializer_list<nPackageFunc> packages)
    {
        this->ks = std::make_unique<nKernelServer>(packages);
        this->ks->SetLogHandler(&this->log);
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
        this->as = static_cast<nAnimationServer*>(this->ks->New("nanimationserver", "/sys/servers/anim"));
    }
    void TearDown() override { this->ks.reset(); }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nResourceServer* rs = nullptr;
    nAnimationServer* as = nullptr;
};

TEST_F(AnimTest, FactoriesOfUnregisteredClassesGiveNull)
{
    this->Start({nresource_package, nanim2_package});
    EXPECT_EQ(this->ks->Lookup("/sys/servers/anim"), this->as);
    EXPECT_EQ(this->as->NewMemoryAnimation("walk.nax2"), nullptr);
    EXPECT_EQ(this->as->NewStreamingAnimation(), nullptr);
    EXPECT_NE(this->log.text.find("no animation class 'nmemoryanimation' is registered"), std::string::npos);
    EXPECT_NE(this->log.text.find("no animation class 'nstreaminganimation' is registered"), std::string::npos);
    EXPECT_EQ(this->rs->GetNumResources(nResource::Animation), 0);
}

TEST_F(AnimTest, MemoryAnimationsAreSharedByName)
{
    this->Start({nresource_package, nanim2_package, testanim_package});
    nAnimation* a = this->as->NewMemoryAnimation("anims:walk.nax2");
    nAnimation* b = this->as->NewMemoryAnimation("anims:walk.nax2");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a->GetRefCount(), 2);
    EXPECT_EQ(this->rs->FindResource("anims:walk.nax2", nResource::Animation), a);
    EXPECT_EQ(a->GetParent(), this->ks->Lookup("/sys/share/rsrc/anim"));
    b->Release();
    a->Release();
}

TEST_F(AnimTest, DurationAndUnload)
{
    this->Start({nresource_package, nanim2_package, testanim_package});
    nAnimation* anim = this->as->NewMemoryAnimation("run");
    EXPECT_EQ(anim->GetNumGroups(), 0);
    ASSERT_TRUE(anim->Load());
    ASSERT_EQ(anim->GetNumGroups(), 2);
    EXPECT_FLOAT_EQ(anim->GetDuration(0), 5.0f);
    EXPECT_FLOAT_EQ(anim->GetDuration(1), 1.0f);
    EXPECT_EQ(anim->GetGroupAt(1).curves.Size(), 3);
    EXPECT_EQ(anim->GetGroupAt(0).loopType, 1);
    vector4 keys[3];
    anim->SampleCurves(0.5f, 1, 0, 3, keys);
    anim->Unload();
    EXPECT_TRUE(anim->IsUnloaded());
    EXPECT_EQ(anim->GetNumGroups(), 0);
    ASSERT_TRUE(anim->Load());
    // a loaded animation unloads when it dies
    anim->Release();
}

TEST_F(AnimTest, DestroyingTheServerUnloadsAnimations)
{
    this->Start({nresource_package, nanim2_package, testanim_package});
    nAnimation* anim = this->as->NewMemoryAnimation("jump");
    ASSERT_TRUE(anim->Load());
    this->as->Release();
    EXPECT_TRUE(anim->IsUnloaded());
    anim->Release();
}

}  // namespace
