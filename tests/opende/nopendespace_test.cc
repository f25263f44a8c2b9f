//------------------------------------------------------------------------------
//  Spaces: membership, hash levels, the quadtree, saving, and geoms that
//  outlive their space.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "opende/nopendespace.h"
#include "kernel/nclass.h"
#include "kernel/ncmdproto.h"

TEST_F(PhysTest, HashSpaceHoldsTheGeomsCreatedInIt)
{
    Ok("new nopendehashspace /space; /space.Create none");
    nOpendeSpace* space = static_cast<nOpendeSpace*>(ks->Lookup("/space"));
    EXPECT_EQ(space->GetSpace(), nullptr);
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "0");
    Ok("new nopendespheregeom /s; /s.Create /space");
    Ok("new nopendeboxgeom /b; /b.Create /space");
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "2");
    EXPECT_EQ(Ok("/space.ContainsGeom /s"), "true");
    Ok("/space.RemoveGeom /s");
    EXPECT_EQ(Ok("/space.ContainsGeom /s"), "false");
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "1");
    Ok("/space.AddGeom /s");
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "2");
    EXPECT_EQ(Ok("/space.GetCleanup"), "true");
    Ok("/space.SetCleanup false");
    EXPECT_EQ(Ok("/space.GetCleanup"), "false");
}

TEST_F(PhysTest, HashSpaceLevelsUseTheirOwnFourccs)
{
    Ok("new nopendehashspace /space; /space.Create none; /space.SetLevels -2 8");
    EXPECT_EQ(Ok("/space.GetLevels"), "-2 8");
    const nClass* cl = ks->FindClass("nopendehashspace");
    EXPECT_STREQ(cl->FindCmdById(N_FOURCC('S', 'L', 'V', 'L'))->GetProtoDef(), "ii_GetLevels_v");
    EXPECT_STREQ(cl->FindCmdById(N_FOURCC('G', 'L', 'V', 'L'))->GetProtoDef(), "v_SetLevels_ii");
    EXPECT_NE(Fails("/space.SetLevels 8 -2").find("is above maximum level"), std::string::npos);
    Fails("/space.SetLevels -2 2147483647");
    EXPECT_EQ(Ok("/space.GetLevels"), "-2 8");
}

TEST_F(PhysTest, QuadTreeSpaceIsMadeByCreate2Only)
{
    Ok("new nopendequadtreespace /q");
    EXPECT_NE(Fails("/q.Create none").find("Not implemented!"), std::string::npos);
    Fails("/q.Create2 none 0 0 0 100 100 100 40");
    Ok("/q.Create2 none 0 0 0 100 100 100 4");
    Ok("new nopendespheregeom /s; /s.Create /q; new nopendeboxgeom /b; /b.Create /q");
    EXPECT_EQ(Ok("/q.GetNumGeoms"), "2");
    Fails("/q.Create2 none 0 0 0 100 100 100 4");
}

TEST_F(PhysTest, SpacesRefuseGeomsOdeWouldAbortOn)
{
    Ok("new nopendesimplespace /a; /a.Create none; new nopendesimplespace /b; /b.Create /a");
    Ok("new nopendespheregeom /s; /s.Create /a; new nopendespheregeom /loose");
    EXPECT_NE(Fails("/b.AddGeom /s").find("is in a space already"), std::string::npos);
    EXPECT_NE(Fails("/b.RemoveGeom /s").find("is not in this space"), std::string::npos);
    EXPECT_NE(Fails("/b.ContainsGeom /loose").find("has no ODE geom yet"), std::string::npos);
    Ok("/a.RemoveGeom /b");
    EXPECT_NE(Fails("/b.AddGeom /b").find("is this space or one of its parents"), std::string::npos);
    Fails("/b.AddGeom /nosuchgeom");
    Fails("/b.AddGeom /sys");
    Ok("new nopendespace /plain");
    EXPECT_NE(Fails("/plain.GetNumGeoms").find("call Create first"), std::string::npos);
    Fails("new nopendespheregeom /t; /t.Create /plain");
}

TEST_F(PhysTest, GeomsOutliveTheirSpaceWithCleanupOn)
{
    Ok("new nopendehashspace /space; /space.Create none");
    Ok("new nopendespheregeom /s; /s.Create /space; new nopendesimplespace /inner; /inner.Create /space");
    EXPECT_EQ(Ok("/space.GetCleanup"), "true");
    Ok("delete /space");
    // the sphere is alive and in no space; saving it says so
    EXPECT_FLOATS(Floats("/s.GetRadius"), {1});
    EXPECT_EQ(static_cast<nOpendeGeom*>(ks->Lookup("/s"))->GetSpace(), nullptr);
    std::string saved;
    ASSERT_NE(SaveAndReload("/s", &saved), nullptr);
    EXPECT_NE(saved.find("Create \"none\""), std::string::npos) << saved;
    EXPECT_EQ(Ok("/inner.GetNumGeoms"), "0");
    // and geoms inside a space that is a child of the space go with it
    Ok("new nopendesimplespace /p; /p.Create none; new nopendeboxgeom /p/box; /p/box.Create /p; delete /p");
}

TEST_F(PhysTest, SpaceSavesOnlyItsObjectAndIsCreatedAgainByCommand)
{
    Ok("new nopendehashspace /space; /space.Create none; /space.SetLevels -1 4");
    std::string saved;
    ASSERT_NE(SaveAndReload("/space", &saved), nullptr);
    EXPECT_EQ(saved.find("Create"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Levels"), std::string::npos) << saved;
    EXPECT_EQ(static_cast<nOpendeSpace*>(ks->Lookup("/space"))->id(), nullptr);
    Ok("/space.Create none");
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "0");
}

TEST_F(PhysTest, AGeomInASpaceReloadsIntoThatSpace)
{
    Ok("new nopendehashspace /space; /space.Create none");
    Ok("new nopendeboxgeom /b; /b.Create /space; /b.SetLengths 2 2 2");
    ASSERT_NE(SaveAndReload("/b"), nullptr);
    EXPECT_EQ(Ok("/space.ContainsGeom /b"), "true");
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "1");
}
