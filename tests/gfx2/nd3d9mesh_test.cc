//------------------------------------------------------------------------------
//  Meshes on the Direct3D 9 server's null device: usage texts, loading both
//  file formats (also from an npk archive) with groups, boxes and edges,
//  the buffers each usage gives, empty meshes, the loss and reset of
//  dynamic meshes, and files that cannot be loaded.
//------------------------------------------------------------------------------
#include "windowfixture.h"
#include "opende/meshfiles.h"
#include "file/npkwriter.h"

#include "file/nnpkfileserver.h"
#include "gfx2/nd3d9mesh.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "kernel/nfileserver2.h"
#include "platform/nnulldevice.h"
#include "resource/nresourceserver.h"

#include <algorithm>
#include <unistd.h>

namespace
{

class D3D9MeshTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        nd3d9_package();
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        auto dev = std::make_unique<nNullDevice>();
        this->dev = dev.get();
        this->gfx->SetDevice(std::move(dev));
        this->gfx->SetDisplayMode(nDisplayMode2("test", nDisplayMode2::Windowed, 0, 0, 64, 48, false));
    }

    void TearDown() override
    {
        for (nMesh2* m : this->meshes) m->Release();
        if (this->gfx->IsDisplayOpen()) this->gfx->CloseDisplay();
        WindowTest::TearDown();
    }

    void Open() { ASSERT_TRUE(this->gfx->OpenDisplay()); }

    /// a new mesh of the usage and file; released by the fixture
    nMesh2* NewMesh(const std::string& file, int usage = nMesh2::WriteOnce)
    {
        nMesh2* m = this->gfx->NewMesh(("m" + std::to_string(this->meshes.size())).c_str());
        this->meshes.push_back(m);
        m->SetUsage(usage);
        if (!file.empty()) m->SetFilename(file.c_str());
        return m;
    }

    /// the device calls recorded since the last call, then forgotten
    std::vector<std::string> TakeCalls()
    {
        std::vector<std::string> calls;
        calls.swap(this->dev->calls);
        return calls;
    }

    /// the recorded calls that start with the prefix
    std::vector<std::string> CallsStartingWith(const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const std::string& c : this->TakeCalls())
        {
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        }
        return out;
    }

    nResourceServer* rs = nullptr;
    nD3D9Server* gfx = nullptr;
    nNullDevice* dev = nullptr;
    std::vector<nMesh2*> meshes;
    TempDir dir;
};

/// TwoSquares with normals and uv0, and two edges
TestMesh TexturedSquares()
{
    const TestMesh plain = TwoSquares();
    TestMesh m = plain;
    m.components = nMesh2::Coord | nMesh2::Normal | nMesh2::Uv0;
    m.vertexWidth = 8;
    m.vertices.clear();
    for (int v = 0; v < plain.NumVertices(); v++)
    {
        for (int i = 0; i < 3; i++) m.vertices.push_back(plain.vertices[3 * v + i]);
        for (float f : {0.0f, 1.0f, 0.0f, 0.5f, 0.25f}) m.vertices.push_back(f);
    }
    m.edges = {0, 1, 0, 2, 2, 3, 4, 6};
    m.groups = {{0, 4, 0, 2, 0, 1}, {4, 5, 2, 3, 1, 1}};
    return m;
}

void ExpectBox(const bbox3& box, vector3 vmin, vector3 vmax)
{
    EXPECT_FLOAT_EQ(box.vmin.x, vmin.x);
    EXPECT_FLOAT_EQ(box.vmin.y, vmin.y);
    EXPECT_FLOAT_EQ(box.vmin.z, vmin.z);
    EXPECT_FLOAT_EQ(box.vmax.x, vmax.x);
    EXPECT_FLOAT_EQ(box.vmax.y, vmax.y);
    EXPECT_FLOAT_EQ(box.vmax.z, vmax.z);
}

/// what a loaded TexturedSquares must look like
void ExpectTexturedSquares(nMesh2* m)
{
    const TestMesh want = TexturedSquares();
    ASSERT_TRUE(m->IsValid());
    EXPECT_EQ(m->GetNumVertices(), 9);
    EXPECT_EQ(m->GetVertexComponents(), nMesh2::Coord | nMesh2::Normal | nMesh2::Uv0);
    EXPECT_EQ(m->GetVertexWidth(), 8);
    EXPECT_EQ(m->GetNumIndices(), 15);
    EXPECT_EQ(m->GetNumEdges(), 2);
    ASSERT_EQ(m->GetNumGroups(), 2);
    const nMeshGroup& g1 = m->GetGroup(1);
    EXPECT_EQ(g1.firstVertex, 4);
    EXPECT_EQ(g1.numVertices, 5);
    EXPECT_EQ(g1.firstIndex, 6);
    EXPECT_EQ(g1.numIndices, 9);
    EXPECT_EQ(g1.firstEdge, 1);
    EXPECT_EQ(g1.numEdges, 1);
    ExpectBox(m->GetGroup(0).box, vector3(0, 0, 0), vector3(1, 0, 1));
    ExpectBox(m->GetGroup(1).box, vector3(0, 5, 0), vector3(2, 5, 2));

    const float* v = m->LockVertices();
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(std::equal(want.vertices.begin(), want.vertices.end(), v));
    m->UnlockVertices();
    const ushort* i = m->LockIndices();
    ASSERT_NE(i, nullptr);
    EXPECT_TRUE(std::equal(want.indices.begin(), want.indices.end(), i));
    m->UnlockIndices();
    const nMesh2::Edge* e = m->LockEdges();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e[1].fIndex[0], 2);
    EXPECT_EQ(e[1].fIndex[1], 3);
    EXPECT_EQ(e[1].vIndex[0], 4);
    EXPECT_EQ(e[1].vIndex[1], 6);
    m->UnlockEdges();
}

}  // namespace

TEST(MeshUsage, FlagsAsText)
{
    EXPECT_EQ(nString(""), nMesh2::ConvertUsageFlagsToString(0));
    EXPECT_EQ(nString("WriteOnce|WriteOnly|"), nMesh2::ConvertUsageFlagsToString(5));
    EXPECT_EQ(nString("WriteOnce|ReadOnly|WriteOnly|NPatch|RTPatch|PointSprite|NeedsVertexShader|"),
              nMesh2::ConvertUsageFlagsToString(127));
    EXPECT_EQ(10, nMesh2::ConvertUsageStringToFlags("readonly|NPatch"));
    EXPECT_EQ(0, nMesh2::ConvertUsageStringToFlags(""));
    // without the trailing "|", and with doubled ones
    EXPECT_EQ(5, nMesh2::ConvertUsageStringToFlags("WriteOnce|WriteOnly"));
    EXPECT_EQ(2, nMesh2::ConvertUsageStringToFlags("||READONLY||"));
}

TEST(MeshUsage, EverySetOfFlagsReadsBackAsSaved)
{
    for (int flags = 0; flags < 128; flags++)
    {
        const nString text = nMesh2::ConvertUsageFlagsToString(flags);
        EXPECT_EQ(flags, nMesh2::ConvertUsageStringToFlags(text.Get())) << text.Get();
    }
}

TEST(MeshUsage, AnUnknownWordIsReportedNotFatal)
{
    CaptureLog log;
    nKernelServer ks;
    ks.SetLogHandler(&log);
    for (const char* bad : {"WriteOnce|Sometimes", "write once", "readonly|x"})
    {
        SCOPED_TRACE(bad);
        log.text.clear();
        EXPECT_EQ(-1, nMesh2::ConvertUsageStringToFlags(bad));
        EXPECT_NE(log.text.find("Invalid flag string"), std::string::npos);
    }
}

TEST_F(D3D9MeshTest, NewMeshMakesAnUnloadedSharedD3D9Mesh)
{
    nMesh2* a = this->gfx->NewMesh("shared");
    nMesh2* b = this->gfx->NewMesh("shared");
    EXPECT_EQ(a, b);
    EXPECT_TRUE(a->IsA("nd3d9mesh"));
    EXPECT_EQ(a->GetType(), nResource::Mesh);
    EXPECT_TRUE(a->IsUnloaded());
    EXPECT_EQ(a->GetUsage(), nMesh2::WriteOnce);
    a->Release();
    b->Release();
}

TEST_F(D3D9MeshTest, BothFormatsLoadWithGroupsBoxesAndEdges)
{
    this->Open();
    const TestMesh m = TexturedSquares();
    for (const std::string& path : {dir.Write("sq.n3d2", m.N3d2()), dir.Write("sq.nvx2", m.Nvx2())})
    {
        SCOPED_TRACE(path);
        nMesh2* mesh = this->NewMesh(path);
        ASSERT_TRUE(mesh->Load());
        ExpectTexturedSquares(mesh);
        EXPECT_EQ(mesh->GetByteSize(), 9 * 8 * 4 + 15 * 2 + 2 * 8);
    }
}

TEST_F(D3D9MeshTest, AMeshInsideAnNpkArchiveLoads)
{
    this->Open();
    NpkWriter w;
    w.Dir("pack").Dir("meshes").File("sq.nvx2", TexturedSquares().Nvx2()).File("sq.n3d2", TexturedSquares().N3d2());
    w.End().End();
    const std::string archive = dir.Write("pack.npk", w.Build());
    auto* npk = static_cast<nNpkFileServer*>(this->ks->GetFileServer());
    ASSERT_TRUE(npk->AddNpkFile(archive.c_str()));
    const std::string base = archive.substr(0, archive.size() - 4);
    for (const char* name : {"/meshes/sq.nvx2", "/meshes/sq.n3d2"})
    {
        SCOPED_TRACE(name);
        nMesh2* mesh = this->NewMesh(base + name);
        ASSERT_TRUE(mesh->Load());
        ExpectTexturedSquares(mesh);
    }
}

struct UsageCase
{
    int usage;
    /// the recorded vertex buffer creation, "" for none
    const char* vertexBuffer;
    int lockFlags;
};

TEST_F(D3D9MeshTest, EachUsageGetsItsBuffers)
{
    this->Open();
    const UsageCase cases[] = {
        {nMesh2::WriteOnce, "CreateBuffer Vertex 288 usage 0x8 pool Managed", 0},
        {nMesh2::WriteOnly, "CreateBuffer Vertex 288 usage 0x208 pool Default", nD3D9Mesh::LockDiscard},
        {nMesh2::WriteOnce | nMesh2::RTPatch, "CreateBuffer Vertex 288 usage 0x808 pool Managed", 0},
        {nMesh2::WriteOnce | nMesh2::PointSprite, "CreateBuffer Vertex 288 usage 0x48 pool Managed", 0},
        {nMesh2::WriteOnce | nMesh2::NPatch, "CreateBuffer Vertex 288 usage 0x8 pool Managed", 0},
        {nMesh2::ReadOnly, "", 0},
    };
    const std::string path = dir.Write("sq.nvx2", TexturedSquares().Nvx2());
    for (const UsageCase& c : cases)
    {
        SCOPED_TRACE(nMesh2::ConvertUsageFlagsToString(c.usage).Get());
        this->TakeCalls();
        auto* mesh = static_cast<nD3D9Mesh*>(this->NewMesh(path, c.usage));
        ASSERT_TRUE(mesh->Load());
        const std::vector<std::string> created = this->CallsStartingWith("CreateBuffer");
        if (c.vertexBuffer[0])
        {
            ASSERT_EQ(created.size(), 2u);
            EXPECT_EQ(created[0].rfind(c.vertexBuffer, 0), 0u) << created[0];
            EXPECT_NE(created[1].find("Index16 30"), std::string::npos) << created[1];
            EXPECT_TRUE(mesh->GetVertexBuffer().IsValid());
            EXPECT_TRUE(mesh->GetIndexBuffer().IsValid());
            EXPECT_TRUE(mesh->GetVertexDeclaration().IsValid());
            EXPECT_EQ(this->dev->GetBufferSize(mesh->GetVertexBuffer()), 288);
        }
        else
        {
            // system memory only: nothing on the device, locks still work
            EXPECT_TRUE(created.empty());
            EXPECT_FALSE(mesh->GetVertexBuffer().IsValid());
            EXPECT_FALSE(mesh->GetIndexBuffer().IsValid());
        }
        EXPECT_EQ(mesh->GetVertexLockFlags(), c.lockFlags);
        EXPECT_EQ(mesh->GetIndexLockFlags(), c.lockFlags);
        ExpectTexturedSquares(mesh);
        mesh->Unload();
        EXPECT_TRUE(this->dev->GetBufferStore().Buffers().empty());
        EXPECT_TRUE(this->dev->GetBufferStore().Layouts().empty());
    }
}

TEST_F(D3D9MeshTest, TheDeclarationPutsEachComponentAtItsLocation)
{
    this->Open();
    TestMesh m = TwoSquares();
    m.components = nMesh2::Coord | nMesh2::Uv1 | nMesh2::Color | nMesh2::JIndices;
    m.vertexWidth = 13;
    m.vertices.assign((size_t)9 * 13, 0.5f);
    auto* mesh = static_cast<nD3D9Mesh*>(this->NewMesh(dir.Write("c.nvx2", m.Nvx2())));
    ASSERT_TRUE(mesh->Load());
    const nGfxBufferStore::Layout* l = this->dev->GetBufferStore().GetLayout(mesh->GetVertexDeclaration());
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->stride, 52);
    EXPECT_EQ(l->vertexBuffer, mesh->GetVertexBuffer());
    EXPECT_EQ(l->indexBuffer, mesh->GetIndexBuffer());
    ASSERT_EQ(l->elements.size(), 4u);
    const int want[4][3] = {{nGfxLocCoord, 3, 0}, {nGfxLocUv1, 2, 12}, {nGfxLocColor, 4, 20}, {nGfxLocJIndices, 4, 36}};
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(l->elements[i].location, want[i][0]);
        EXPECT_EQ(l->elements[i].numFloats, want[i][1]);
        EXPECT_EQ(l->elements[i].byteOffset, want[i][2]);
    }
}

TEST_F(D3D9MeshTest, ChangedBuffersAreUploadedBeforeTheNextDraw)
{
    this->Open();
    auto* mesh = static_cast<nD3D9Mesh*>(this->NewMesh(dir.Write("sq.nvx2", TexturedSquares().Nvx2())));
    ASSERT_TRUE(mesh->Load());
    const std::string vb = std::to_string(mesh->GetVertexBuffer().GetRaw());
    const std::string ib = std::to_string(mesh->GetIndexBuffer().GetRaw());
    const std::string layout = std::to_string(mesh->GetVertexDeclaration().GetRaw());
    this->TakeCalls();
    this->dev->DrawIndexedTriangles(mesh->GetVertexDeclaration(), 0, 6);
    this->dev->DrawIndexedTriangles(mesh->GetVertexDeclaration(), 6, 9);
    mesh->LockVertices()[0] = 7.0f;
    mesh->UnlockVertices();
    this->dev->DrawIndexedTriangles(mesh->GetVertexDeclaration(), 0, 6);
    const std::vector<std::string> want = {"Upload " + vb,      "Upload " + ib,      "Draw " + layout + " 0 6",
                                           "Draw " + layout + " 6 9", "Lock " + vb,  "Unlock " + vb,
                                           "Upload " + vb,      "Draw " + layout + " 0 6"};
    EXPECT_EQ(this->TakeCalls(), want);
}

TEST_F(D3D9MeshTest, AMeshWithoutFileIsEmptyWithBuffersOfItsCounts)
{
    this->Open();
    nMesh2* mesh = this->NewMesh("", nMesh2::WriteOnly);
    mesh->SetVertexComponents(nMesh2::Coord | nMesh2::Color);
    mesh->SetNumVertices(4);
    mesh->SetNumIndices(6);
    mesh->SetNumEdges(2);
    ASSERT_TRUE(mesh->Load());
    EXPECT_EQ(mesh->GetState(), nResource::Empty);
    EXPECT_EQ(mesh->GetVertexBufferByteSize(), 4 * 7 * 4);
    EXPECT_EQ(mesh->GetIndexBufferByteSize(), 12);
    EXPECT_EQ(mesh->GetEdgeBufferByteSize(), 16);
    EXPECT_NE(mesh->LockEdges(), nullptr);
    mesh->UnlockEdges();
    float* v = mesh->LockVertices();
    ASSERT_NE(v, nullptr);
    v[27] = 1.0f;  // the last float
    mesh->UnlockVertices();
}

TEST_F(D3D9MeshTest, AWriteOnlyMeshComesBackEmptyAfterAReset)
{
    this->Open();
    nMesh2* dynamic = this->NewMesh("", nMesh2::WriteOnly);
    dynamic->SetVertexComponents(nMesh2::Coord);
    dynamic->SetNumVertices(3);
    dynamic->SetNumIndices(3);
    ASSERT_TRUE(dynamic->Load());
    auto* managed = static_cast<nD3D9Mesh*>(this->NewMesh(dir.Write("sq.nvx2", TexturedSquares().Nvx2())));
    ASSERT_TRUE(managed->Load());
    const nGfxBufferHandle managedBuffer = managed->GetVertexBuffer();
    const nGfxBufferHandle oldBuffer = static_cast<nD3D9Mesh*>(dynamic)->GetVertexBuffer();

    this->dev->ScriptStates({nGfxDeviceState::Lost, nGfxDeviceState::NotReset});
    EXPECT_FALSE(this->gfx->TestResetDevice());
    EXPECT_TRUE(this->gfx->TestResetDevice());
    EXPECT_EQ(dynamic->GetState(), nResource::Empty);
    const nGfxBufferHandle newBuffer = static_cast<nD3D9Mesh*>(dynamic)->GetVertexBuffer();
    EXPECT_TRUE(newBuffer.IsValid());
    EXPECT_NE(newBuffer, oldBuffer);
    EXPECT_EQ(this->dev->GetBufferSize(oldBuffer), 0);
    // the managed mesh kept its buffer and data
    EXPECT_TRUE(managed->IsValid());
    EXPECT_EQ(managed->GetVertexBuffer(), managedBuffer);
    ExpectTexturedSquares(managed);
}

TEST_F(D3D9MeshTest, EmulatedVertexProgramsDropTangentsAndBinormals)
{
    auto dev = std::make_unique<nNullDevice>();
    dev->caps.hardwareTransformAndLight = false;
    this->dev = dev.get();
    this->gfx->SetDevice(std::move(dev));
    this->Open();
    ASSERT_TRUE(this->gfx->AreVertexShadersEmulated());
    TestMesh m = TwoSquares();
    m.components = nMesh2::Coord | nMesh2::Tangent | nMesh2::Binormal;
    m.vertexWidth = 9;
    m.vertices.assign((size_t)9 * 9, 0.0f);
    const std::string path = dir.Write("tb.nvx2", m.Nvx2());
    nMesh2* plain = this->NewMesh(path);
    ASSERT_TRUE(plain->Load());
    EXPECT_EQ(plain->GetVertexComponents(), nMesh2::Coord);
    EXPECT_EQ(plain->GetVertexWidth(), 3);
    this->TakeCalls();
    nMesh2* shaded = this->NewMesh(path, nMesh2::WriteOnce | nMesh2::NeedsVertexShader);
    ASSERT_TRUE(shaded->Load());
    EXPECT_EQ(shaded->GetVertexWidth(), 9);
    // software processing is asked for on every device buffer
    const std::vector<std::string> created = this->CallsStartingWith("CreateBuffer");
    ASSERT_FALSE(created.empty());
    EXPECT_NE(created[0].find("usage 0x18 "), std::string::npos) << created[0];
}

TEST_F(D3D9MeshTest, FilesThatCannotBeLoadedFailWithAMessageAndLeaveNothing)
{
    this->Open();
    TestMesh badIndex = TexturedSquares();
    badIndex.indices[3] = 40;
    TestMesh noVertices;
    noVertices.groups = {{0, 0, 0, 0, 0, 0}};
    struct Case
    {
        const char* name;
        std::string content;
        const char* says = "";
    };
    const Case cases[] = {
        {"mesh.obj", "v 0 0 0\n"},
        {"cut.nvx2", TexturedSquares().Nvx2().substr(0, 200)},
        {"badindex.nvx2", badIndex.Nvx2()},
        {"badindex.n3d2", badIndex.N3d2()},
        {"magic.nvx2", "XXXX" + TexturedSquares().Nvx2().substr(4)},
        {"type.n3d2", "type n3d3\n"},
        {"novertices.n3d2", noVertices.N3d2(), "has no vertices"},
        {"novertices.nvx2", noVertices.Nvx2(), "has no vertices"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        log.text.clear();
        nMesh2* mesh = this->NewMesh(dir.Write(c.name, c.content));
        EXPECT_FALSE(mesh->Load());
        EXPECT_TRUE(mesh->IsUnloaded());
        EXPECT_FALSE(log.text.empty());
        EXPECT_NE(log.text.find(c.says), std::string::npos) << log.text;
        EXPECT_TRUE(this->dev->GetBufferStore().Buffers().empty());
    }
    log.text.clear();
    EXPECT_FALSE(this->NewMesh(dir.Write("x", "") + "/missing.nvx2")->Load());
    EXPECT_NE(log.text.find("could not open file"), std::string::npos);
}

TEST_F(D3D9MeshTest, ASparseFileWhoseCountsWrapTheBufferSizeIsRefused)
{
    // 357913952 vertices of 12 bytes wrap to a 128-byte buffer in int; the
    // sparse tail gives the file the size the counts ask for
    this->Open();
    std::string text = "type n3d2\nnumgroups 1\nnumvertices 357913952\nvertexwidth 3\nnumtris 1\nnumedges 0\n"
                       "vertexcomps coord\ng 0 3 0 1 0 0\n";
    for (int v = 0; v < 64; v++) text += "v 1 2 3\n";
    const std::string path = dir.Write("sparse.n3d2", text);
    ASSERT_EQ(0, truncate(path.c_str(), 800LL << 20));
    log.text.clear();
    nMesh2* mesh = this->NewMesh(path);
    EXPECT_FALSE(mesh->Load());
    EXPECT_TRUE(mesh->IsUnloaded());
    EXPECT_NE(log.text.find("need buffers beyond"), std::string::npos) << log.text;
    EXPECT_TRUE(this->dev->GetBufferStore().Buffers().empty());
}

TEST_F(D3D9MeshTest, AReadOnlyMeshLoadsWithoutADisplay)
{
    nMesh2* mesh = this->NewMesh(dir.Write("sq.n3d2", TexturedSquares().N3d2()), nMesh2::ReadOnly);
    ASSERT_TRUE(mesh->Load());
    ExpectTexturedSquares(mesh);
    // device buffers need the display
    log.text.clear();
    EXPECT_FALSE(this->NewMesh(dir.Write("sq.nvx2", TexturedSquares().Nvx2()))->Load());
    EXPECT_NE(log.text.find("not open"), std::string::npos);
}

TEST_F(D3D9MeshTest, UnloadingTheServersMeshTakesItOff)
{
    this->Open();
    nMesh2* mesh = this->NewMesh(dir.Write("sq.nvx2", TexturedSquares().Nvx2()));
    ASSERT_TRUE(mesh->Load());
    this->gfx->SetMesh(mesh);
    mesh->Unload();
    EXPECT_EQ(this->gfx->GetMesh(), nullptr);
    EXPECT_EQ(mesh->GetNumGroups(), 0);
    EXPECT_EQ(mesh->LockEdges(), nullptr);
}
