//------------------------------------------------------------------------------
//  The pick server: screen points to lines through the camera of a
//  recording graphics server, single-geom picks and the nearest hit in a
//  space and its sub-spaces.
//------------------------------------------------------------------------------
#include "physfixture.h"
#include "gfx2/recordinggfxserver.h"

#include "gfx2/ngfx2package.h"
#include "opende/nopendegeom.h"
#include "opende/nopendepickserver.h"
#include "resource/nresourcepackage.h"
#include "util/assertdeath.h"

namespace
{

class PickTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nscript_package, nresource_package, ngfx2_package, recordinggfx_package, nopende_package});
        this->ks->SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<RecordingGfxServer*>(this->ks->New("nrecordinggfxserver", "/sys/servers/gfx"));
        this->pick = static_cast<nOpendePickServer*>(this->ks->New("nopendepickserver", "/sys/servers/pick"));
    }
    void TearDown() override { this->ks.reset(); }

    void Ok(const std::string& str)
    {
        nString result;
        EXPECT_TRUE(this->script->Run(str.c_str(), result)) << str << ": " << result.Get() << "\n" << this->log.text;
    }
    dGeomID Geom(const char* path) const { return static_cast<nOpendeGeom*>(this->ks->Lookup(path))->id(); }
    static void ExpectVector(const vector3& v, float x, float y, float z)
    {
        EXPECT_NEAR(v.x, x, 1e-5f);
        EXPECT_NEAR(v.y, y, 1e-5f);
        EXPECT_NEAR(v.z, z, 1e-2f);
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    RecordingGfxServer* gfx = nullptr;
    nOpendePickServer* pick = nullptr;
};

}  // namespace

TEST_F(PickTest, TheCentrePixelLooksDownTheViewAxis)
{
    line3 line;
    pick->PixelToLine(320, 240, line);
    ExpectVector(line.start(), 0, 0, -0.1f);
    ExpectVector(line.end(), 0, 0, -5000);

    pick->RelPosToLine(0, 0, line);
    EXPECT_NEAR(line.start().x, -0.0769800f, 1e-6f);
    EXPECT_NEAR(line.start().y, 0.0577350f, 1e-6f);
    EXPECT_NEAR(line.start().z, -0.1f, 1e-6f);

    // the view moves the line into the world
    matrix44 view;
    view.translate(vector3(0, 0, -10));
    gfx->SetTransform(nGfxServer2::View, view);
    pick->RelPosToLine(0.5f, 0.5f, line);
    ExpectVector(line.start(), 0, 0, 9.9f);
}

TEST_F(PickTest, AnOrthogonalCameraLeavesTheLineAlone)
{
    nCamera2 camera;
    camera.SetOrthogonal(10, 10, 0.1f, 100);
    gfx->SetCamera(camera);
    line3 line(vector3(1, 2, 3), vector3(4, 5, 6));
    pick->PixelToLine(320, 240, line);
    ExpectVector(line.start(), 1, 2, 3);
    ExpectVector(line.end(), 4, 5, 6);
}

TEST_F(PickTest, PickingAGeomReportsItsHit)
{
    Ok("new nopendespheregeom /s; /s.Create none; /s.SetPosition 0 0 -10");
    dContactGeom contacts[4];
    line3 line(vector3(0, 0, 0), vector3(0, 0, -100));
    ASSERT_EQ(pick->Pick(Geom("/s"), line, 4, contacts, sizeof(dContactGeom), nOpendePickServer::CollideGeom), 1);
    EXPECT_NEAR(contacts[0].depth, 9.0, 1e-5);
    EXPECT_NEAR(contacts[0].pos[2], -9.0, 1e-5);
    // a miss, and no flags at all
    line3 past(vector3(5, 0, 0), vector3(5, 0, -100));
    EXPECT_EQ(pick->Pick(Geom("/s"), past, 4, contacts, sizeof(dContactGeom), nOpendePickServer::CollideGeom), 0);
    contacts[0].depth = 42;
    EXPECT_EQ(pick->Pick(Geom("/s"), line, 4, contacts, sizeof(dContactGeom), 0), 0);
    EXPECT_EQ(contacts[0].depth, 42);
}

TEST_F(PickTest, PickingInASpaceReturnsTheNearerSphere)
{
    Ok("new nopendesimplespace /space; /space.Create none");
    Ok("new nopendespheregeom /space/far; /space/far.Create /space; /space/far.SetPosition 0 0 -20");
    Ok("new nopendespheregeom /space/near; /space/near.Create /space; /space/near.SetPosition 0 0 -10");
    dContactGeom contacts[1];
    line3 line;
    pick->PixelToLine(320, 240, line);
    ASSERT_EQ(pick->Pick(Geom("/space"), line, 1, contacts, sizeof(dContactGeom), nOpendePickServer::NearestInSpace), 1);
    EXPECT_TRUE(contacts[0].g1 == Geom("/space/near") || contacts[0].g2 == Geom("/space/near"));
    EXPECT_NEAR(contacts[0].depth, 8.9, 1e-4);

    Ok("new nopendesimplespace /empty; /empty.Create none");
    EXPECT_EQ(pick->Pick(Geom("/empty"), line, 1, contacts, sizeof(dContactGeom), nOpendePickServer::NearestInSpace), 0);
}

TEST_F(PickTest, SubSpacesAreSearched)
{
    Ok("new nopendesimplespace /space; /space.Create none; new nopendehashspace /space/sub; /space/sub.Create /space");
    Ok("new nopendespheregeom /space/sub/ball; /space/sub/ball.Create /space/sub; /space/sub/ball.SetPosition 0 0 -10");
    Ok("new nopendespheregeom /space/other; /space/other.Create /space; /space/other.SetPosition 0 0 -30");
    dContactGeom contacts[1];
    line3 line(vector3(0, 0, 0), vector3(0, 0, -100));
    ASSERT_EQ(pick->Pick(Geom("/space"), line, 1, contacts, sizeof(dContactGeom), nOpendePickServer::NearestInSpace), 1);
    EXPECT_NEAR(contacts[0].depth, 9.0, 1e-5);
}

TEST_F(PickTest, RayCollideHandsEveryPairToTheCaller)
{
    Ok("new nopendesimplespace /space; /space.Create none");
    Ok("new nopendespheregeom /space/a; /space/a.Create /space; /space/a.SetPosition 0 0 -10");
    Ok("new nopendespheregeom /space/b; /space/b.Create /space; /space/b.SetPosition 0 0 -20");
    int pairs = 0;
    line3 line(vector3(0, 0, 0), vector3(0, 0, -100));
    pick->RayCollide(line, 0, Geom("/space"), &pairs, [](void* data, dGeomID, dGeomID) { ++*static_cast<int*>(data); });
    EXPECT_EQ(pairs, 2);
}

TEST_F(PickTest, UnusableLinesAndArgumentsPickNothing)
{
    Ok("new nopendesimplespace /space; /space.Create none");
    Ok("new nopendespheregeom /space/a; /space/a.Create /space");
    dContactGeom contacts[1];
    const line3 point(vector3(0, 0, 0), vector3(0, 0, 0));
    EXPECT_EQ(pick->Pick(Geom("/space"), point, 1, contacts, sizeof(dContactGeom), nOpendePickServer::NearestInSpace), 0);
    const line3 line(vector3(0, 0, 5), vector3(0, 0, -5));
    // a space given to the single-geom pick: ODE would abort on it
    EXPECT_EQ(pick->Pick(Geom("/space"), line, 1, contacts, sizeof(dContactGeom), nOpendePickServer::CollideGeom), 0);
    EXPECT_DEATH(pick->Pick(Geom("/space"), line, 0, contacts, sizeof(dContactGeom), 0x10),
                 AssertionMessage("(maxContacts > 0) && contacts"));
    EXPECT_DEATH(pick->Pick(Geom("/space"), line, 1, nullptr, sizeof(dContactGeom), 0x10),
                 AssertionMessage("(maxContacts > 0) && contacts"));
}
