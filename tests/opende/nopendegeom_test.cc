//------------------------------------------------------------------------------
//  Geoms: the base commands and conversions, every shape with its
//  commands, saving and reloading through Tcl, shared triangle meshes, the
//  collide wrapper against ODE's own dCollide, and the values ODE would
//  abort on.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "opende/nopendegeom.h"
#include "opende/nopendetransformgeom.h"
#include "opende/nopendetrimesh.h"
#include "opende/nopendetrimeshgeom.h"

#include <cstring>

using namespace nOpendeLayer;

TEST_F(PhysTest, FreshShapesHaveTheirStartParameters)
{
    Ok("foreach c {box sphere capsule plane ray} { new nopende${c}geom /$c; /$c.Create none }");
    EXPECT_FLOATS(Floats("/box.GetLengths"), {1, 1, 1});
    EXPECT_FLOATS(Floats("/sphere.GetRadius"), {1});
    EXPECT_FLOATS(Floats("/capsule.GetParams"), {1, 1});
    EXPECT_FLOATS(Floats("/plane.GetParams"), {0, 1, 0, 0});
    EXPECT_FLOATS(Floats("/ray.GetLength"), {1});
    EXPECT_EQ(Ok("/capsule.GetGeomClassName"), "capsule");
    EXPECT_EQ(Ok("/ray.GetGeomClassName"), "ray");
}

TEST_F(PhysTest, ClassNamesAndTheLookupUseOdesNumbers)
{
    EXPECT_STREQ(nOpendeGeom::GeomClassName(dTriMeshClass), "mesh");
    EXPECT_STREQ(nOpendeGeom::GeomClassName(dGeomTransformClass), "transform");
    EXPECT_STREQ(nOpendeGeom::GeomClassName(dConvexClass), "uknown");
    EXPECT_EQ(nOpendeGeom::GeomClassByName("trimesh"), dTriMeshClass);
    EXPECT_EQ(nOpendeGeom::GeomClassByName("capsule"), dCapsuleClass);
    EXPECT_EQ(nOpendeGeom::GeomClassByName("mesh"), -1);
    Ok("new nopendetrimeshgeom /m; /m.Create none; new nopendetransformgeom /t; /t.Create none");
    EXPECT_EQ(Ok("/m.GetGeomClassName"), "mesh");
    EXPECT_EQ(Ok("/t.GetGeomClassName"), "transform");
}

TEST_F(PhysTest, PointDepthOfASphere)
{
    Ok("new nopendespheregeom /s; /s.Create none; /s.SetPosition 1 2 3");
    EXPECT_FLOATS(Floats("/s.PointDepth 1 2 3"), {1});
    EXPECT_FLOATS(Floats("/s.PointDepth 1 4 3"), {-1});
}

TEST_F(PhysTest, RotationsConvertBetweenEngineRowsAndOdeColumns)
{
    Ok("new nopendeboxgeom /b; /b.Create none");
    Ok("/b.SetRotation 1 0 0 0 1 0 0 0 1");
    EXPECT_FLOATS(Floats("/b.GetQuaternion"), {0, 0, 0, 1});
    Ok("/b.SetQuaternion 0 0 0.7071068 0.7071068");
    EXPECT_FLOATS(Floats("/b.GetRotation"), {0, 1, 0, -1, 0, 0, 0, 0, 1});
    // a point on the box's local x axis lies on world +y
    Ok("/b.SetLengths 4 0.1 0.1");
    const std::vector<float> aabb = Floats("/b.GetAABB");
    EXPECT_NEAR(aabb[3] - aabb[2], 4.0f, 1e-4f);
    const matrix33 m(0, 1, 0, -1, 0, 0, 0, 0, 1);
    dMatrix3 r;
    ToOde(m, r);
    EXPECT_EQ(r[1], -1);
    EXPECT_EQ(r[4], 1);
    EXPECT_EQ(r[3], 0);
    const matrix33 back = ToMatrix33(r);
    EXPECT_EQ(memcmp(&back.m, &m.m, sizeof(m.m)), 0);
}

TEST_F(PhysTest, BaseCommandsKeepBitsEnabledStateAndBodyName)
{
    Ok("new nopendespheregeom /s; /s.Create none");
    Ok("/s.SetCollideBits 0; /s.SetCategoryBits -1; /s.Disable");
    EXPECT_EQ(Ok("/s.GetCollideBits"), "0");
    EXPECT_EQ(Ok("/s.GetCategoryBits"), "-1");
    EXPECT_EQ(Ok("/s.IsEnabled"), "false");
    EXPECT_EQ(Ok("/s.GetBody"), "none");
    Ok("/s.SetBody none");
    EXPECT_NE(Fails("/s.SetBody /s").find("names no created nopendebody"), std::string::npos);
}

TEST_F(PhysTest, EveryShapeSavesAndReloadsThroughTcl)
{
    Ok("new nopendesimplespace /space; /space.Create none");
    Ok("new nopendeboxgeom /box; /box.Create /space; /box.SetLengths 1 2 3; /box.SetPosition 4 5 6");
    Ok("/box.SetQuaternion 0 0 0.7071068 0.7071068; /box.SetCategoryBits 5; /box.SetCollideBits 6; /box.Disable");
    Ok("new nopendespheregeom /sphere; /sphere.Create none; /sphere.SetRadius 0.25");
    Ok("new nopendecapsulegeom /capsule; /capsule.Create none; /capsule.SetParams 0.5 2");
    Ok("new nopendeplanegeom /plane; /plane.Create /space; /plane.SetParams 0 0 2 3");
    Ok("new nopenderaygeom /ray; /ray.Create none; /ray.SetLength 7; /ray.Set 1 2 3 0 0 -2");
    Ok("/ray.SetParams true true; /ray.SetClosestHit true");
    const std::pair<const char*, const char*> queries[] = {
        {"/box", "GetLengths GetPosition GetQuaternion GetCategoryBits GetCollideBits IsEnabled"},
        {"/sphere", "GetRadius GetPosition"},
        {"/capsule", "GetParams"},
        {"/plane", "GetParams"},
        {"/ray", "GetLength Get GetParams GetClosestHit"},
    };
    for (const auto& q : queries)
    {
        SCOPED_TRACE(q.first);
        const std::string ask = std::string("set r {}; foreach c {") + q.second + "} { lappend r [" + q.first +
                                ".$c] }; set r";
        const std::string before = Ok(ask);
        std::string saved;
        ASSERT_NE(SaveAndReload(q.first, &saved), nullptr);
        ExpectSameValues(Ok(ask), before);
        EXPECT_EQ(Ok(std::string(q.first) + ".GetGeomClassName"), q.first + 1);
    }
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "2");
    EXPECT_EQ(Ok("/space.ContainsGeom /box"), "true");
}

TEST_F(PhysTest, APlaneIsSavedWithoutPositionAndIsNeverPlaced)
{
    Ok("new nopendeplanegeom /p; /p.Create none");
    std::string saved;
    ASSERT_NE(SaveAndReload("/p", &saved), nullptr);
    EXPECT_EQ(saved.find("SetPosition"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("SetQuaternion"), std::string::npos) << saved;
    EXPECT_NE(saved.find("SetParams"), std::string::npos) << saved;
    for (const char* c : {"SetPosition 1 2 3", "GetPosition", "SetQuaternion 0 0 0 1", "GetRotation",
                          "SetRotation 1 0 0 0 1 0 0 0 1", "GetQuaternion"})
    {
        EXPECT_NE(Fails(std::string("/p.") + c).find("has no position or rotation"), std::string::npos) << c;
    }
}

/// a value ODE would abort on, or a geom not ready, is refused with a message
TEST_F(PhysTest, CommandsRefuseWhatOdeWouldAbortOn)
{
    Ok("foreach c {box sphere capsule plane ray transform trimesh} { new nopende${c}geom /$c }");
    Ok("new nopendegeom /plain");
    EXPECT_NE(Fails("/sphere.SetRadius 1").find("call Create first"), std::string::npos);
    EXPECT_NE(Fails("/plain.GetAABB").find("call Create first"), std::string::npos);
    Fails("/sphere.Create /nosuchspace");
    Fails("/sphere.Create /box");
    Fails("/sphere.Create {}");
    Ok("foreach c {box sphere capsule plane ray transform trimesh} { /$c.Create none }");
    const char* refused[] = {
        "/box.Create none",
        "/sphere.SetRadius -1",
        "/sphere.SetRadius nan",
        "/box.SetLengths 1 -1 1",
        "/capsule.SetParams 1 -2",
        "/plane.SetParams 0 0 0 1",
        "/ray.Set 0 0 0 0 0 0",
        "/ray.SetLength -1",
        "/box.SetQuaternion 0 0 0 0",
        "/box.SetPosition inf 0 0",
        "/trimesh.SetMesh nosuchmesh",
        "/trimesh.GetTriangle 0",
        "/trimesh.GetPoint 0 0.5 0.5",
        "/trimesh.EnableTC mesh true",
        "/trimesh.IsTCEnabled bogus",
        "/transform.SetGeom /nosuchgeom",
        "/transform.SetGeom /transform",
        "/transform.SetGeom /plane",
    };
    for (const char* c : refused)
    {
        EXPECT_FALSE(Fails(c).empty()) << c;
    }
    EXPECT_FLOATS(Floats("/sphere.GetRadius"), {1});
}

TEST_F(PhysTest, TransformGeomHoldsAGeomByPathAndReloadsWithNone)
{
    Ok("new nopendetransformgeom /t; /t.Create none");
    EXPECT_EQ(Ok("/t.GetGeom"), "none");
    std::string saved;
    ASSERT_NE(SaveAndReload("/t", &saved), nullptr);
    EXPECT_NE(saved.find("SetGeom \"none\""), std::string::npos) << saved;
    EXPECT_EQ(Ok("/t.GetGeom"), "none");

    Ok("new nopendespheregeom /inner; /inner.Create none; /inner.SetPosition 0 2 0");
    Ok("/t.SetGeom /inner; /t.SetInfo 1; /t.SetCleanup true; /t.SetPosition 5 0 0");
    nOpendeTransformGeom* t = static_cast<nOpendeTransformGeom*>(ks->Lookup("/t"));
    EXPECT_EQ(t->GetGeomId(), static_cast<nOpendeGeom*>(ks->Lookup("/inner"))->id());
    ASSERT_NE(SaveAndReload("/t"), nullptr);
    EXPECT_EQ(Ok("/t.GetGeom"), "/inner");
    EXPECT_EQ(Ok("/t.GetInfo"), "1");
    EXPECT_EQ(Ok("/t.GetCleanup"), "true");
    // the sphere, 2 up inside a transform 5 along x, reaches x = 5
    const std::vector<float> box = Floats("/t.GetAABB");
    EXPECT_NEAR(box[0], 4.0f, 1e-4f);
    EXPECT_NEAR(box[2], 1.0f, 1e-4f);

    // with cleanup on, the dying transform leaves the sphere to its object
    Ok("delete /t");
    EXPECT_FLOATS(Floats("/inner.GetRadius"), {1});
    // a dying encapsulated geom takes itself out of the transform
    Ok("new nopendetransformgeom /t2; /t2.Create none; /t2.SetGeom /inner; delete /inner");
    EXPECT_EQ(Ok("/t2.GetGeom"), "none");
    EXPECT_EQ(static_cast<nOpendeTransformGeom*>(ks->Lookup("/t2"))->GetGeomId(), nullptr);
}

TEST_F(PhysTest, TwoTriMeshGeomsShareOneMesh)
{
    const std::string file = dir.Write("sq.nvx2", TwoSquares().Nvx2());
    Ok("/sys/servers/phys.NewTriMesh sq " + file + " 1");
    nOpendeTriMesh* mesh = phys->FindTriMesh("sq");
    Ok("new nopendetrimeshgeom /a; /a.Create none; /a.SetMesh sq");
    Ok("new nopendetrimeshgeom /b; /b.Create none; /b.SetMesh sq");
    EXPECT_EQ(mesh->GetRef(), 2);
    EXPECT_EQ(Ok("/a.GetMesh"), "sq");
    // the same mesh again, by its only other user, keeps it alive
    Ok("/a.SetMesh sq");
    EXPECT_EQ(mesh->GetRef(), 2);
    EXPECT_FLOATS(Floats("/a.GetTriangle 2"), {0, 5, 0, 1, 5, 1, 2, 5, 0});
    EXPECT_FLOATS(Floats("/a.GetPoint 0 0 0"), {0, 5, 0});
    Fails("/a.GetTriangle 3");
    Ok("delete /a");
    EXPECT_EQ(phys->FindTriMesh("sq"), mesh);
    EXPECT_EQ(mesh->GetRef(), 1);
    Ok("/b.SetMesh sq");
    EXPECT_EQ(mesh->GetRef(), 1);
    Ok("delete /b");
    EXPECT_EQ(phys->FindTriMesh("sq"), nullptr);
}

TEST_F(PhysTest, TriMeshGeomSavesItsMeshAndTemporalCoherence)
{
    Ok("new nopendetrimeshgeom /m; /m.Create none");
    EXPECT_EQ(Ok("/m.GetMesh"), "none");
    std::string saved;
    ASSERT_NE(SaveAndReload("/m", &saved), nullptr);
    EXPECT_EQ(saved.find("SetMesh"), std::string::npos) << saved;
    size_t at = 0;
    for (const char* c : {"sphere", "box", "capsule", "cylinder"})
    {
        at = saved.find(std::string("EnableTC \"") + c + "\"", at);
        EXPECT_NE(at, std::string::npos) << c << "\n" << saved;
    }
    const std::string file = dir.Write("sq.n3d2", TwoSquares().N3d2());
    Ok("/sys/servers/phys.NewTriMesh sq " + file + " 0");
    // a second user keeps the mesh while the saved geom is away
    Ok("new nopendetrimeshgeom /keeper; /keeper.Create none; /keeper.SetMesh sq");
    Ok("/m.SetMesh sq; /m.EnableTC box true; /m.EnableTC sphere false");
    ASSERT_NE(SaveAndReload("/m"), nullptr);
    EXPECT_EQ(Ok("/m.GetMesh"), "sq");
    EXPECT_EQ(Ok("/m.IsTCEnabled box"), "true");
    EXPECT_EQ(Ok("/m.IsTCEnabled sphere"), "false");
    EXPECT_EQ(phys->FindTriMesh("sq")->GetRef(), 2);
}

namespace
{

/// one row of the collide table: two shapes made raw and through the layer
struct PairCase
{
    const char* name;
    dGeomID (*make1)(dTriMeshDataID mesh);
    dGeomID (*make2)(dTriMeshDataID mesh);
    int maxContacts;
};

dGeomID Sphere(dTriMeshDataID)
{
    dGeomID g = dCreateSphere(0, 0.5f);
    dGeomSetPosition(g, 0.25f, 0.3f, 0.2f);
    return g;
}

dGeomID Box(dTriMeshDataID)
{
    dGeomID g = dCreateBox(0, 1.0f, 0.5f, 1.5f);
    dGeomSetPosition(g, 0.1f, -0.1f, 0.0f);
    return g;
}

dGeomID TurnedBox(dTriMeshDataID)
{
    dGeomID g = dCreateBox(0, 1.0f, 1.0f, 1.0f);
    dGeomSetPosition(g, 0.7f, 0.6f, 0.1f);
    dQuaternion q;
    ToOde(quaternion(0.0f, 0.0f, 0.3826834f, 0.9238795f), q);
    dGeomSetQuaternion(g, q);
    return g;
}

dGeomID Mesh(dTriMeshDataID mesh)
{
    return dCreateTriMesh(0, mesh, 0, 0, 0);
}

dGeomID Ray(dTriMeshDataID)
{
    dGeomID g = dCreateRay(0, 5.0f);
    dGeomRaySet(g, -2.0f, 0.3f, 0.2f, 1.0f, 0.0f, 0.0f);
    return g;
}

}  // namespace

TEST_F(PhysTest, CollideWrapperGivesOdesOwnContacts)
{
    const std::string file = dir.Write("sq.nvx2", TwoSquares().Nvx2());
    nOpendeTriMesh* mesh = phys->NewTriMesh("sq", file.c_str(), 0);
    ASSERT_NE(mesh, nullptr);
    const PairCase cases[] = {
        {"sphere-box", Sphere, Box, 8},
        {"box-box", TurnedBox, Box, 8},
        {"sphere-trimesh", Sphere, Mesh, 8},
        {"ray-sphere", Ray, Sphere, 1},
    };
    for (const PairCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        dGeomID a = c.make1(mesh->GetData());
        dGeomID b = c.make2(mesh->GetData());
        dContactGeom raw[8];
        dContactGeom layer[8];
        memset(raw, 0, sizeof(raw));
        memset(layer, 0, sizeof(layer));
        const int n = dCollide(a, b, c.maxContacts, raw, sizeof(dContactGeom));
        ASSERT_GT(n, 0);
        ASSERT_EQ(Collide(a, b, c.maxContacts, layer, sizeof(dContactGeom)), n);
        for (int i = 0; i < n; i++)
        {
            EXPECT_EQ(memcmp(raw[i].pos, layer[i].pos, 3 * sizeof(dReal)), 0);
            EXPECT_EQ(memcmp(raw[i].normal, layer[i].normal, 3 * sizeof(dReal)), 0);
            EXPECT_EQ(raw[i].depth, layer[i].depth);
            const vector3 p = ContactPos(layer[i]);
            EXPECT_EQ(p.x, (float)raw[i].pos[0]);
            EXPECT_EQ(ContactNormal(layer[i]).z, (float)raw[i].normal[2]);
        }
        dGeomDestroy(a);
        dGeomDestroy(b);
    }
}

TEST_F(PhysTest, CollideThroughGeomObjectsMatchesRawGeomsFromTheSameFloats)
{
    Ok("new nopendespheregeom /s; /s.Create none; /s.SetRadius 0.5; /s.SetPosition 0.25 0.3 0.2");
    Ok("new nopendeboxgeom /b; /b.Create none; /b.SetLengths 1 0.5 1.5; /b.SetPosition 0.1 -0.1 0");
    dGeomID s = Sphere(0);
    dGeomID b = Box(0);
    dContactGeom raw[4];
    dContactGeom layer[4];
    const int n = dCollide(s, b, 4, raw, sizeof(dContactGeom));
    ASSERT_EQ(Collide(static_cast<nOpendeGeom*>(ks->Lookup("/s"))->id(), static_cast<nOpendeGeom*>(ks->Lookup("/b"))->id(),
                      4, layer, sizeof(dContactGeom)),
              n);
    for (int i = 0; i < n; i++) EXPECT_EQ(memcmp(raw[i].pos, layer[i].pos, 3 * sizeof(dReal)), 0);
    EXPECT_EQ(Collide(s, b, 0, layer, sizeof(dContactGeom)), 0);
    EXPECT_NE(log.text.find("no contacts requested"), std::string::npos);
    EXPECT_EQ(Collide(s, nullptr, 4, layer, sizeof(dContactGeom)), 0);
    dGeomDestroy(s);
    dGeomDestroy(b);
}

/// ODE cannot bound a triangle-mesh geom without data: it must never
/// reach a space, a transform or a collision before it has a mesh
TEST_F(PhysTest, TriMeshGeomJoinsItsSpaceWithItsMesh)
{
    Ok("new nopendehashspace /space; /space.Create none");
    Ok("new nopendetrimeshgeom /m; /m.Create /space; new nopendetransformgeom /t; /t.Create none");
    EXPECT_EQ(Ok("/space.GetNumGeoms"), "0");
    EXPECT_NE(Fails("/m.GetAABB").find("has no mesh"), std::string::npos);
    EXPECT_NE(Fails("/space.AddGeom /m").find("without a mesh"), std::string::npos);
    EXPECT_NE(Fails("/t.SetGeom /m").find("without a mesh"), std::string::npos);
    nOpendeGeom* m = static_cast<nOpendeGeom*>(ks->Lookup("/m"));
    dGeomID sphere = dCreateSphere(0, 1);
    dContactGeom contacts[4];
    EXPECT_EQ(Collide(sphere, m->id(), 4, contacts, sizeof(dContactGeom)), 0);
    EXPECT_NE(log.text.find("has no mesh"), std::string::npos);
    std::string saved;
    ASSERT_NE(SaveAndReload("/m", &saved), nullptr);
    EXPECT_NE(saved.find("Create \"/space\""), std::string::npos) << saved;

    const std::string file = dir.Write("sq.nvx2", TwoSquares().Nvx2());
    Ok("/sys/servers/phys.NewTriMesh sq " + file + " 0; /m.SetMesh sq");
    EXPECT_EQ(Ok("/space.ContainsGeom /m"), "true");
    EXPECT_FLOATS(Floats("/space.GetAABB"), {0, 1, 0, 0, 0, 1});
    dGeomSetPosition(sphere, 0.5, 0.5, 0.5);
    m = static_cast<nOpendeGeom*>(ks->Lookup("/m"));
    EXPECT_GT(Collide(sphere, m->id(), 4, contacts, sizeof(dContactGeom)), 0);
    dGeomDestroy(sphere);
}
