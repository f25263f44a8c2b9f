//------------------------------------------------------------------------------
//  The physics server: its modules, shared triangle meshes, the surface
//  table, and ODE's start and shut-down across servers.
//------------------------------------------------------------------------------
#include "physfixture.h"

#include "kernel/nclass.h"
#include "opende/nopendelayer.h"
#include "opende/nopendetrimesh.h"

#include <cfloat>
#include <cmath>

namespace
{

/// a file whose only vertex component is not the coordinates' alone
TestMesh WithNormals()
{
    TestMesh m = TwoSquares();
    m.components = 3;
    m.vertexWidth = 6;
    std::vector<float> v;
    for (size_t i = 0; i < m.vertices.size(); i += 3)
    {
        v.insert(v.end(), {m.vertices[i], m.vertices[i + 1], m.vertices[i + 2], 0, 1, 0});
    }
    m.vertices = v;
    return m;
}

}  // namespace

TEST_F(PhysTest, PackageRegistersTheClassesBaseFirst)
{
    const char* modules[] = {"nopendegeom",        "nopendeserver",     "nopendeworld",        "nopendeboxgeom",
                             "nopendecapsulegeom", "nopendeplanegeom",  "nopenderaygeom",      "nopendespace",
                             "nopendespheregeom",  "nopendetransformgeom", "nopendetrimeshgeom", "nopendehashspace",
                             "nopendequadtreespace", "nopendesimplespace"};
    for (const char* m : modules) EXPECT_NE(ks->FindClass(m), nullptr) << m;
    EXPECT_TRUE(ks->FindClass("nopendehashspace")->IsA("nopendegeom"));
    EXPECT_TRUE(ks->FindClass("nopendespheregeom")->IsA("nopendegeom"));
    EXPECT_EQ(nOpendeServer::opendeServer, phys);
    EXPECT_EQ(ks->Lookup("/sys/servers/phys"), phys);
}

TEST_F(PhysTest, MeshOfAGroupHoldsOnlyThatGroupWithIndicesRemapped)
{
    const TestMesh m = TwoSquares();
    for (const std::string& path : {dir.Write("sq.n3d2", m.N3d2()), dir.Write("sq.nvx2", m.Nvx2())})
    {
        SCOPED_TRACE(path);
        nOpendeTriMesh* mesh = phys->NewTriMesh(path.c_str(), path.c_str(), 1);
        ASSERT_NE(mesh, nullptr) << log.text;
        ASSERT_EQ(mesh->GetNumVertices(), 5);
        ASSERT_EQ(mesh->GetNumFaces(), 3);
        // group 1's vertices, and its file indices 4..8 made 0..4
        EXPECT_EQ(std::vector<float>(mesh->GetVertexData(), mesh->GetVertexData() + 15),
                  std::vector<float>(m.vertices.begin() + 12, m.vertices.end()));
        EXPECT_EQ(std::vector<int>(mesh->GetFaceData(), mesh->GetFaceData() + 9),
                  (std::vector<int>{0, 2, 1, 0, 3, 2, 0, 4, 1}));
        nOpendeTriMesh* first = phys->NewTriMesh((path + "0").c_str(), path.c_str(), 0);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->GetNumVertices(), 4);
        EXPECT_EQ(first->GetNumFaces(), 2);
    }
}

TEST_F(PhysTest, SameIdTwiceKeepsTheFirstFile)
{
    const std::string a = dir.Write("a.n3d2", TwoSquares().N3d2());
    const std::string b = dir.Write("b.n3d2", "not a mesh");
    Ok("/sys/servers/phys.NewTriMesh ring " + a + " 0");
    nOpendeTriMesh* mesh = phys->FindTriMesh("ring");
    Ok("/sys/servers/phys.NewTriMesh ring " + b + " 1");
    EXPECT_EQ(phys->FindTriMesh("ring"), mesh);
    EXPECT_EQ(mesh->GetNumVertices(), 4);
    EXPECT_EQ(mesh->GetRef(), 0);
}

TEST_F(PhysTest, MeshFilesThatCannotMakeACollisionMeshFailWithAMessage)
{
    TestMesh outside = TwoSquares();
    outside.indices[6] = 0;  // group 1 reaching into group 0's vertices
    struct Case
    {
        std::string file;
        int group;
        const char* message;
    } cases[] = {
        {dir.Write("m.obj", "x"), 0, "Unknown file format"},
        {dir.Write("n.n3d2", WithNormals().N3d2()), 0, "Only the Coord vertex component must be present!"},
        {dir.Write("g.nvx2", TwoSquares().Nvx2()), 2, "group 2 does not exist"},
        {dir.Write("o.nvx2", outside.Nvx2()), 1, "names a vertex outside the group"},
        {dir.Write("s.nvx2", TwoSquares().Nvx2().substr(0, 100)), 0, "promises"},
        {"/nonexistent/m.n3d2", 0, "could not open file"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        const std::string out = Fails("/sys/servers/phys.NewTriMesh bad " + c.file + " " + std::to_string(c.group));
        EXPECT_NE(out.find(c.message), std::string::npos) << out;
        EXPECT_EQ(phys->FindTriMesh("bad"), nullptr);
    }
    EXPECT_EQ(phys->NewTriMesh("bad", "/nonexistent/m.nvx2"), nullptr);
}

TEST_F(PhysTest, DeleteTriMeshRefusesAMeshInUseAndIgnoresUnknownIds)
{
    const std::string file = dir.Write("sq.nvx2", TwoSquares().Nvx2());
    Ok("/sys/servers/phys.NewTriMesh sq " + file + " 0");
    Ok("new nopendetrimeshgeom /g; /g.Create none; /g.SetMesh sq");
    EXPECT_NE(Fails("/sys/servers/phys.DeleteTriMesh sq").find("still in use"), std::string::npos);
    Ok("/sys/servers/phys.DeleteTriMesh nosuchmesh");
    Ok("delete /g");
    EXPECT_EQ(phys->FindTriMesh("sq"), nullptr);
}

TEST_F(PhysTest, SurfaceTableIsSetByName)
{
    Ok("/sys/servers/phys.BeginSurfaces 3");
    Ok("/sys/servers/phys.AddSurface 0 rubber; /sys/servers/phys.AddSurface 1 ice; /sys/servers/phys.AddSurface 2 ice");
    Ok("/sys/servers/phys.SetSurfParam 0 mu -1");
    Ok("/sys/servers/phys.SetSurfParam 1 mu2 -1");
    Ok("/sys/servers/phys.SetSurfParam 2 bounce 0.5; /sys/servers/phys.SetSurfParam 2 bvel 0.1");
    Ok("/sys/servers/phys.EnableSurfParam 2 approxfboth");
    Ok("/sys/servers/phys.EndSurfaces");
    EXPECT_EQ(phys->GetSurface(0)->mu, FLT_MAX);
    EXPECT_EQ(phys->GetSurface(0)->mode, 0);
    EXPECT_EQ(phys->GetSurface(1)->mu2, FLT_MAX);
    EXPECT_EQ(phys->GetSurface(1)->mode, dContactMu2);
    EXPECT_EQ(phys->GetSurface(2)->mode, dContactBounce | dContactApprox1_1 | dContactApprox1_2);
    EXPECT_NEAR(phys->GetSurface(2)->bounce_vel, 0.1, 1e-6);
    EXPECT_EQ(Ok("/sys/servers/phys.GetSurfaceIndex ice"), "1");
    EXPECT_EQ(Ok("/sys/servers/phys.GetSurfaceIndex Ice"), "-1");
    // still readable and writable after EndSurfaces
    Ok("/sys/servers/phys.AddSurface 0 cork; /sys/servers/phys.SetSurfParam 0 slip2 0.2");
    EXPECT_EQ(Ok("/sys/servers/phys.GetSurfaceIndex cork"), "0");
    EXPECT_EQ(phys->GetSurface(0)->mode, dContactSlip2);
    phys->SetSurfaceParam(0, "mu", -0.0f);
    EXPECT_TRUE(std::signbit(phys->GetSurface(0)->mu));
}

TEST_F(PhysTest, SurfaceCommandsRefuseWhatWouldStopTheProgram)
{
    EXPECT_NE(Fails("/sys/servers/phys.AddSurface 0 a").find("call BeginSurfaces first"), std::string::npos);
    EXPECT_NE(Fails("/sys/servers/phys.GetSurfaceIndex a").find("call BeginSurfaces first"), std::string::npos);
    Fails("/sys/servers/phys.BeginSurfaces 0");
    Ok("/sys/servers/phys.BeginSurfaces 2");
    Fails("/sys/servers/phys.BeginSurfaces 2");
    Fails("/sys/servers/phys.AddSurface 2 a");
    Fails("/sys/servers/phys.AddSurface -1 a");
    EXPECT_NE(Fails("/sys/servers/phys.SetSurfParam 0 friction 1").find("unrecognized param friction"),
              std::string::npos);
    EXPECT_NE(Fails("/sys/servers/phys.EnableSurfParam 0 fdir2").find("unrecognized param fdir2"), std::string::npos);
    Fails("/sys/servers/phys.SetSurfParam 0 mu nan");
    EXPECT_EQ(phys->GetSurface(0)->mode, 0);
}

TEST_F(PhysTest, ServerDeletesEveryMeshAndReleasesItsChildrenFirst)
{
    const std::string file = dir.Write("sq.n3d2", TwoSquares().N3d2());
    Ok("/sys/servers/phys.NewTriMesh unused " + file + " 0");
    Ok("/sys/servers/phys.NewTriMesh used " + file + " 1");
    Ok("new nopendeworld /sys/servers/phys/world");
    Ok("new nopendehashspace /sys/servers/phys/world/space; /sys/servers/phys/world/space.Create none");
    Ok("new nopendetrimeshgeom /sys/servers/phys/world/space/g");
    Ok("/sys/servers/phys/world/space/g.Create /sys/servers/phys/world/space");
    Ok("/sys/servers/phys/world/space/g.SetMesh used");
    EXPECT_GT(nOpendeLayer::GetOdeUsers(), 0);
    phys->Release();
    EXPECT_EQ(nOpendeServer::opendeServer, nullptr);
    EXPECT_EQ(nOpendeLayer::GetOdeUsers(), 0);
}

/// the game makes a server per match: ODE must start again each time
TEST(PhysServerLifetime, ASecondServerInTheSameProcessWorks)
{
    TempDir dir;
    const std::string file = dir.Write("sq.nvx2", TwoSquares().Nvx2());
    for (int round = 0; round < 3; round++)
    {
        CaptureLog log;
        nKernelServer ks({nopende_package});
        ks.SetLogHandler(&log);
        nOpendeServer* phys = static_cast<nOpendeServer*>(ks.New("nopendeserver", "/sys/servers/phys"));
        ASSERT_NE(phys->NewTriMesh("sq", file.c_str(), 0), nullptr);
        dGeomID sphere = dCreateSphere(0, 0.5);
        dGeomID mesh = dCreateTriMesh(0, phys->FindTriMesh("sq")->GetData(), 0, 0, 0);
        dGeomSetPosition(sphere, 0.5, 0.25, 0.5);
        dContactGeom contacts[4];
        EXPECT_GT(nOpendeLayer::Collide(sphere, mesh, 4, contacts, sizeof(dContactGeom)), 0) << round;
        dGeomDestroy(sphere);
        dGeomDestroy(mesh);
        phys->Release();
        EXPECT_EQ(nOpendeLayer::GetOdeUsers(), 0);
    }
}
