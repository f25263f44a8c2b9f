//------------------------------------------------------------------------------
//  Dynamic meshes and the draw calls under them on the Direct3D 9 server's
//  null device: shared buffer names, capacities, batches of quads as one
//  draw call in the statistics, empty ends, and primitive counts of the
//  six primitive types.
//------------------------------------------------------------------------------
#include "windowfixture.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/ndynamicmesh.h"
#include "kernel/nenv.h"
#include "platform/nnulldevice.h"
#include "resource/nresourceserver.h"

#include <cmath>
#include <limits>

namespace
{

class DynamicMeshTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        nd3d9_package();
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        auto dev = std::make_unique<nNullDevice>();
        this->dev = dev.get();
        this->gfx->SetDevice(std::move(dev));
        this->gfx->SetDisplayMode(nDisplayMode2("test", nDisplayMode2::Windowed, 0, 0, 64, 48, false));
        ASSERT_TRUE(this->gfx->OpenDisplay());
        this->dev->calls.clear();
    }

    void TearDown() override
    {
        if (this->gfx->IsDisplayOpen()) this->gfx->CloseDisplay();
        WindowTest::TearDown();
    }

    /// the device calls that start with the prefix, then all calls forgotten
    std::vector<std::string> Calls(const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const std::string& c : this->dev->calls)
        {
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        }
        this->dev->calls.clear();
        return out;
    }

    int StatI(const char* name)
    {
        nEnv* env = static_cast<nEnv*>(this->ks->Lookup((std::string("/sys/var/") + name).c_str()));
        EXPECT_NE(env, nullptr) << name;
        return env ? env->GetI() : -1;
    }

    nD3D9Server* gfx = nullptr;
    nNullDevice* dev = nullptr;
};

const int QuadComponents = nMesh2::Coord | nMesh2::Color | nMesh2::Uv0;

TEST_F(DynamicMeshTest, SharedMeshesAreNamedByLayoutUsageAndIndexing)
{
    EXPECT_STREQ(nDynamicMesh::MakeSharedName(QuadComponents, 0, true).Get(), "dyn_aef");
    EXPECT_STREQ(nDynamicMesh::MakeSharedName(QuadComponents, 0, false).Get(), "dyn_aef_v");
    // the layouts that once shared a letter are told apart
    const int pairs[][2] = {
        {nMesh2::Coord | nMesh2::Uv0, nMesh2::Coord | nMesh2::Weights},
        {nMesh2::Coord | nMesh2::Uv1, nMesh2::Coord | nMesh2::JIndices},
    };
    for (const auto& p : pairs)
    {
        EXPECT_STRNE(nDynamicMesh::MakeSharedName(p[0], 0, true).Get(),
                     nDynamicMesh::MakeSharedName(p[1], 0, true).Get());
    }
    EXPECT_STRNE(nDynamicMesh::MakeSharedName(nMesh2::Coord | nMesh2::Uv2, 0, true).Get(),
                 nDynamicMesh::MakeSharedName(nMesh2::Coord, nMesh2::NPatch, true).Get());
    EXPECT_STRNE(nDynamicMesh::MakeSharedName(nMesh2::Coord | nMesh2::Uv3, 0, true).Get(),
                 nDynamicMesh::MakeSharedName(nMesh2::Coord, nMesh2::RTPatch, true).Get());
}

TEST_F(DynamicMeshTest, TwoMeshesOfOneLayoutShareOneLoadedBuffer)
{
    nDynamicMesh a, b, c;
    ASSERT_TRUE(a.Initialize(nGfxServer2::TriangleList, QuadComponents, 0, true));
    ASSERT_TRUE(a.IsValid());
    EXPECT_STREQ(a.GetMesh()->GetName(), "dyn_aef");
    EXPECT_EQ(a.GetMesh()->GetNumVertices(), 49152);
    EXPECT_EQ(a.GetMesh()->GetNumIndices(), 16384);
    EXPECT_TRUE(a.GetMesh()->GetUsage() & nMesh2::WriteOnly);
    ASSERT_TRUE(b.Initialize(nGfxServer2::TriangleList, QuadComponents, 0, true));
    EXPECT_EQ(a.GetMesh(), b.GetMesh());
    // non-indexed drawing of the same layout gets a buffer of its own without indices
    ASSERT_TRUE(c.Initialize(nGfxServer2::TriangleList, QuadComponents, 0, false));
    EXPECT_NE(c.GetMesh(), a.GetMesh());
    EXPECT_EQ(c.GetMesh()->GetNumIndices(), 0);
}

TEST_F(DynamicMeshTest, AThousandQuadsInOneBatchAreOneDrawCall)
{
    nDynamicMesh dm;
    ASSERT_TRUE(dm.Initialize(nGfxServer2::TriangleList, QuadComponents, 0, true));
    ASSERT_TRUE(this->gfx->BeginScene());
    float* v = nullptr;
    ushort* ix = nullptr;
    int maxV = 0, maxI = 0;
    dm.BeginIndexed(v, ix, maxV, maxI);
    ASSERT_NE(v, nullptr);
    ASSERT_NE(ix, nullptr);
    EXPECT_EQ(this->gfx->GetMesh(), dm.GetMesh());
    const int width = dm.GetMesh()->GetVertexWidth();
    for (int q = 0; q < 1000; q++)
    {
        for (int k = 0; k < 4; k++)
        {
            float* p = v + (q * 4 + k) * width;
            p[0] = (float)(k & 1);
            p[1] = (float)(k >> 1);
        }
        for (int i : {0, 1, 2, 2, 1, 3}) *ix++ = (ushort)(q * 4 + i);
    }
    dm.EndIndexed(4000, 6000);
    EXPECT_EQ(this->gfx->GetMesh(), nullptr);
    this->gfx->EndScene();
    this->gfx->PresentScene();
    EXPECT_EQ(this->Calls("DrawIndexed").size(), 1u);
    EXPECT_EQ(this->StatI("gfxNumDrawCalls"), 1);
    EXPECT_EQ(this->StatI("gfxNumPrimitives"), 2000);

    // the counters start again with the next frame
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->EndScene();
    this->gfx->PresentScene();
    EXPECT_EQ(this->StatI("gfxNumDrawCalls"), 0);
}

TEST_F(DynamicMeshTest, SwapDrawsWhatWasWrittenAndHandsOutFreshBuffers)
{
    nDynamicMesh dm;
    ASSERT_TRUE(dm.Initialize(nGfxServer2::LineList, nMesh2::Coord, 0, false));
    ASSERT_TRUE(this->gfx->BeginScene());
    float* v = nullptr;
    int maxV = 0;
    dm.Begin(v, maxV);
    EXPECT_EQ(maxV, 49152);
    dm.Swap(10, v);
    EXPECT_NE(v, nullptr);
    dm.End(4);
    this->gfx->EndScene();
    const std::vector<std::string> draws = this->Calls("DrawPrims");
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_NE(draws[0].find(" 1 0 5"), std::string::npos) << draws[0];
    EXPECT_NE(draws[1].find(" 1 0 2"), std::string::npos) << draws[1];
}

TEST_F(DynamicMeshTest, AnEmptyEndDrawsNothingButUnbindsTheMesh)
{
    nDynamicMesh dm;
    ASSERT_TRUE(dm.Initialize(nGfxServer2::TriangleList, nMesh2::Coord, 0, false));
    ASSERT_TRUE(this->gfx->BeginScene());
    float* v = nullptr;
    int maxV = 0;
    dm.Begin(v, maxV);
    dm.End(0);
    EXPECT_EQ(this->gfx->GetMesh(), nullptr);
    this->gfx->EndScene();
    EXPECT_TRUE(this->Calls("DrawPrims").empty());
}

TEST_F(DynamicMeshTest, StripsAndFansOfTooFewElementsDrawNothing)
{
    struct Case
    {
        int type;
        int n;
        int prims;
    };
    const Case cases[] = {
        {nGfxServer2::PointList, 5, 5},     {nGfxServer2::LineList, 5, 2},      {nGfxServer2::LineStrip, 5, 4},
        {nGfxServer2::TriangleList, 7, 2},  {nGfxServer2::TriangleStrip, 5, 3}, {nGfxServer2::TriangleFan, 5, 3},
        {nGfxServer2::TriangleStrip, 2, 0}, {nGfxServer2::TriangleStrip, 0, 0}, {nGfxServer2::TriangleFan, 1, 0},
        {nGfxServer2::LineStrip, 0, 0},     {nGfxServer2::TriangleList, 2, 0},  {6, 9, 0},
        {-1, 9, 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(nD3D9Server::GetPrimitiveCount(c.type, c.n), c.prims) << c.type << " " << c.n;
    }

    nDynamicMesh dm;
    ASSERT_TRUE(dm.Initialize(nGfxServer2::TriangleStrip, nMesh2::Coord, 0, true));
    ASSERT_TRUE(this->gfx->BeginScene());
    float* v = nullptr;
    ushort* ix = nullptr;
    int maxV = 0, maxI = 0;
    dm.BeginIndexed(v, ix, maxV, maxI);
    dm.EndIndexed(2, 1);
    this->gfx->EndScene();
    this->gfx->PresentScene();
    EXPECT_TRUE(this->Calls("DrawIndexed").empty());
    EXPECT_EQ(this->StatI("gfxNumPrimitives"), 0);
}

TEST_F(DynamicMeshTest, ColoursAreClampedBeforePacking)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(nD3D9Server::PackColor(1.0f, 0.0f, 0.0f, 1.0f), 0xFFFF0000u);
    EXPECT_EQ(nD3D9Server::PackColor(0.5f, 0.25f, 1.0f, 0.0f), 0x007F3FFFu);
    // out of range and NaN channels stay inside their own byte
    EXPECT_EQ(nD3D9Server::PackColor(2.0f, -1.0f, 0.0f, 1.5f), 0xFFFF0000u);
    EXPECT_EQ(nD3D9Server::PackColor(nan, 0.0f, 300.0f, -7.0f), 0x000000FFu);
    EXPECT_EQ(nD3D9Server::PackColor(INFINITY, -INFINITY, 0.0f, 1.0f), 0xFFFF0000u);
}

}  // namespace
