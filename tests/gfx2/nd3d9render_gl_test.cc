//------------------------------------------------------------------------------
//  Drawing through the Direct3D 9 server on the real OpenGL device:
//  dynamic meshes of quads, strips and fans with too few elements, many
//  large batches in one frame (the streamed buffers starting over), lines,
//  the clear after a pass that left masks and scissor on, and the
//  statistics of what was drawn.
//------------------------------------------------------------------------------
#include "threadresources.h"
#include "platform/ngfxdeviceprobe.h"
#include "windowfixture.h"

#include "gfx2/nd3d9mesh.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9shader.h"
#include "gfx2/ndynamicmesh.h"
#include "kernel/nenv.h"
#include "resource/nresourceserver.h"
#include "opende/meshfiles.h"
#include "usertempdir.h"

#include <stb_image_write.h>

#include <algorithm>
#include <filesystem>
#include <thread>

namespace
{

/// vertex colours at clip-space positions, no culling
const char* const colorFx = R"(
vertex vs { out vec4 c; void main() { gl_Position = vec4(nPosition.xyz, 1.0); c = nColor; } }
fragment ps { in vec4 c; void main() { nFragColor = c; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; ZEnable = false; } }
)";

/// a pass that leaves colour writes, depth writes and the scissor test in an odd state
const char* const maskingFx = R"(
vertex vs { void main() { gl_Position = vec4(nPosition.xyz, 1.0); } }
fragment ps { void main() { nFragColor = vec4(1.0); } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; ColorWriteEnable = 1; ZWriteEnable = false;
    ScissorTestEnable = true; } }
)";

class GLRenderTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        nd3d9_package();
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        this->gfx->SetDisplayMode(nDisplayMode2("render test", nDisplayMode2::Windowed, 0, 0, 64, 48, false));
        ASSERT_TRUE(this->gfx->OpenDisplay());
        ASSERT_STREQ(this->gfx->GetDevice()->GetName(), "gl");
        this->dir = MakeTempDir("rendergltest");
    }

    void TearDown() override
    {
        for (nShader2* s : this->shaders) s->Release();
        this->gfx->CloseDisplay();
        WindowTest::TearDown();
        std::filesystem::remove_all(this->dir);
    }

    nShader2* LoadFx(const std::string& name, const std::string& text)
    {
        const std::string path = this->dir + "/" + name;
        WriteWholeFile(path, text);
        nShader2* s = this->gfx->NewShader(name.c_str());
        s->SetFilename(path.c_str());
        EXPECT_TRUE(s->Load());
        this->shaders.push_back(s);
        return s;
    }

    void ExpectPixel(int x, int y, int r, int g, int b)
    {
        unsigned char rgba[4] = {0, 0, 0, 0};
        ASSERT_TRUE(nGfxDeviceProbe::Of(this->gfx->GetDevice())->ReadPixel(x, y, rgba));
        EXPECT_NEAR(rgba[0], r, 2) << x << "," << y;
        EXPECT_NEAR(rgba[1], g, 2) << x << "," << y;
        EXPECT_NEAR(rgba[2], b, 2) << x << "," << y;
    }

    int StatI(const char* name)
    {
        nEnv* env = static_cast<nEnv*>(this->ks->Lookup((std::string("/sys/var/") + name).c_str()));
        return env ? env->GetI() : -1;
    }

    /// a scene cleared to black in the effect's first pass
    void BeginClearedPass(nShader2* fx)
    {
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        this->gfx->SetShader(fx);
        fx->Begin(false);
        fx->BeginPass(0);
    }
    /// end the pass, the effect and the scene, and present it
    void EndPassAndPresent(nShader2* fx)
    {
        fx->EndPass();
        fx->End();
        this->gfx->EndScene();
        this->gfx->PresentScene();
    }

    /// an indexed dynamic mesh of coloured quads being written
    struct QuadBatch
    {
        nDynamicMesh dm;
        float* v = nullptr;
        ushort* ix = nullptr;
        int maxV = 0, maxI = 0, nv = 0, ni = 0;
    };
    /// a cleared pass of the effect with the batch begun
    void BeginQuads(QuadBatch& q, nShader2* fx)
    {
        ASSERT_TRUE(q.dm.Initialize(nGfxServer2::TriangleList, nMesh2::Coord | nMesh2::Color, 0, true));
        this->BeginClearedPass(fx);
        q.dm.BeginIndexed(q.v, q.ix, q.maxV, q.maxI);
    }

    /// write a quad from (x0, y0) to (x1, y1) in clip space, one colour
    static void Quad(float*& v, ushort*& ix, int& nv, int& ni, float x0, float y0, float x1, float y1, float r,
                     float g, float b)
    {
        const float xs[4] = {x0, x1, x0, x1};
        const float ys[4] = {y1, y1, y0, y0};
        for (int k = 0; k < 4; k++)
        {
            for (float f : {xs[k], ys[k], 0.5f, r, g, b, 1.0f}) *v++ = f;
        }
        for (int i : {0, 1, 2, 1, 3, 2}) *ix++ = (ushort)(nv + i);
        nv += 4;
        ni += 6;
    }

    nD3D9Server* gfx = nullptr;
    std::vector<nShader2*> shaders;
    std::string dir;
};

TEST_F(GLRenderTest, DynamicMeshQuadsCoverTheirPixelsInOneDrawCall)
{
    nShader2* fx = this->LoadFx("color.fx", colorFx);
    QuadBatch q;
    this->BeginQuads(q, fx);
    // left half red, a band of the top right quarter green
    Quad(q.v, q.ix, q.nv, q.ni, -1.0f, -1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    Quad(q.v, q.ix, q.nv, q.ni, 0.5f, 0.5f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    q.dm.EndIndexed(q.nv, q.ni);
    this->EndPassAndPresent(fx);
    this->ExpectPixel(8, 24, 255, 0, 0);
    this->ExpectPixel(56, 4, 0, 255, 0);
    this->ExpectPixel(56, 40, 0, 0, 0);
    this->ExpectPixel(40, 4, 0, 0, 0);
    EXPECT_EQ(this->StatI("gfxNumDrawCalls"), 1);
    EXPECT_EQ(this->StatI("gfxNumPrimitives"), 4);
}

TEST_F(GLRenderTest, SwapDrawsEachBatchAndStripsOfTooFewVerticesDrawNothing)
{
    nShader2* fx = this->LoadFx("color.fx", colorFx);
    nDynamicMesh dm;
    ASSERT_TRUE(dm.Initialize(nGfxServer2::TriangleStrip, nMesh2::Coord | nMesh2::Color, 0, false));
    this->BeginClearedPass(fx);
    float* v = nullptr;
    int maxV = 0;
    dm.Begin(v, maxV);
    // a strip over the left half in blue
    const float left[4][2] = {{-1, 1}, {0, 1}, {-1, -1}, {0, -1}};
    for (const auto& p : left)
    {
        for (float f : {p[0], p[1], 0.5f, 0.0f, 0.0f, 1.0f, 1.0f}) *v++ = f;
    }
    dm.Swap(4, v);
    // two vertices of a strip over the right half: no triangle
    for (int k = 0; k < 2; k++)
    {
        for (float f : {(float)k, 1.0f, 0.5f, 1.0f, 1.0f, 1.0f, 1.0f}) *v++ = f;
    }
    dm.End(2);
    this->EndPassAndPresent(fx);
    this->ExpectPixel(8, 24, 0, 0, 255);
    this->ExpectPixel(56, 24, 0, 0, 0);
    EXPECT_EQ(this->StatI("gfxNumPrimitives"), 2);
}

TEST_F(GLRenderTest, LargeBatchesOfOneFrameEachDrawTheirOwnQuadWhereTheBufferStartsOver)
{
    // eight cells of 16 x 24 pixels; each batch is 19,998 vertices (and,
    // indexed, 6,000 indices) of nothing but one quad at its very end, so
    // every batch lands elsewhere in the streamed buffers and the buffers
    // start over every two or three batches
    const float rgb[8][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 0}};
    const int batchVertices = 19998;
    const int batchIndices = 6000;
    nShader2* fx = this->LoadFx("color.fx", colorFx);
    for (bool indexed : {true, false})
    {
        SCOPED_TRACE(indexed ? "indexed" : "not indexed");
        nDynamicMesh dm;
        ASSERT_TRUE(dm.Initialize(nGfxServer2::TriangleList, nMesh2::Coord | nMesh2::Color, 0, indexed));
        this->BeginClearedPass(fx);
        float* v = nullptr;
        ushort* ix = nullptr;
        int maxV = 0, maxI = 0;
        if (indexed)
        {
            dm.BeginIndexed(v, ix, maxV, maxI);
        }
        else
        {
            dm.Begin(v, maxV);
        }
        for (int cell = 0; cell < 8; cell++)
        {
            // zeroed vertices make empty triangles
            std::fill(v, v + size_t(batchVertices) * 7, 0.0f);
            const float x0 = float(cell % 4) * 0.5f - 1.0f;
            const float y0 = float(cell / 4) - 1.0f;
            // two triangles: (x0, y0) (x1, y0) (x0, y1) and (x1, y0) (x1, y1) (x0, y1)
            const float corners[6][2] = {{x0, y0}, {x0 + 0.5f, y0}, {x0, y0 + 1.0f},
                                         {x0 + 0.5f, y0}, {x0 + 0.5f, y0 + 1.0f}, {x0, y0 + 1.0f}};
            for (int k = 0; k < 6; k++)
            {
                float* p = v + size_t(batchVertices - 6 + k) * 7;
                const float vertex[7] = {corners[k][0], corners[k][1], 0.5f, rgb[cell][0], rgb[cell][1], rgb[cell][2],
                                         1.0f};
                std::copy(vertex, vertex + 7, p);
            }
            if (indexed)
            {
                std::fill(ix, ix + batchIndices, ushort(0));
                for (int k = 0; k < 6; k++) ix[batchIndices - 6 + k] = ushort(batchVertices - 6 + k);
                if (cell < 7)
                {
                    dm.SwapIndexed(batchVertices, batchIndices, v, ix);
                }
            }
            else if (cell < 7)
            {
                dm.Swap(batchVertices, v);
            }
        }
        if (indexed)
        {
            dm.EndIndexed(batchVertices, batchIndices);
        }
        else
        {
            dm.End(batchVertices);
        }
        this->EndPassAndPresent(fx);
        for (int cell = 0; cell < 8; cell++)
        {
            SCOPED_TRACE(cell);
            // clip space y up: the first row of cells is the bottom half
            this->ExpectPixel((cell % 4) * 16 + 8, (1 - cell / 4) * 24 + 12, int(rgb[cell][0] * 255),
                              int(rgb[cell][1] * 255), int(rgb[cell][2] * 255));
        }
    }
}

TEST_F(GLRenderTest, ClearWorksWhateverStatesThePreviousPassLeft)
{
    nShader2* masking = this->LoadFx("masking.fx", maskingFx);
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->SetShader(masking);
    masking->Begin(false);
    masking->BeginPass(0);
    // the pass is left open: its states stay on the device
    this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0);
    masking->EndPass();
    masking->End();
    this->gfx->EndScene();
    this->ExpectPixel(0, 0, 0, 255, 0);
    this->ExpectPixel(63, 47, 0, 255, 0);
}

TEST_F(GLRenderTest, LinesDrawInTheirColourOverTheFrame)
{
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
    this->gfx->BeginLines();
    const vector2 across[2] = {vector2(0.0f, 10.5f), vector2(64.0f, 10.5f)};
    this->gfx->DrawLines2d(across, 2, vector4(1.0f, 1.0f, 0.0f, 1.0f));
    this->gfx->EndLines();
    this->gfx->EndScene();
    this->ExpectPixel(32, 10, 255, 255, 0);
    this->ExpectPixel(32, 30, 0, 0, 0);
}

}  // namespace

/// one quad placed and coloured per instance: the declaration comes from the annotations
const char* const instancedFx = R"(
float4 MatDiffuse <bool Instance = true;> = {1, 1, 1, 1};
float4x4 Model <bool Instance = true;>;
float MatTransparency <string UIName = "not per instance";> = 1.0;
vertex vs { void main() { gl_Position = Model * vec4(nPosition.xyz, 1.0); } }
fragment ps { void main() { nFragColor = vec4(MatDiffuse.rgb, MatTransparency); } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; ZEnable = false; } }
)";

TEST_F(GLRenderTest, AHundredInstancesOfOneMeshTakeTheirColourAndPlaceFromTheInstanceStream)
{
    nShader2* fx = this->LoadFx("instanced.fx", instancedFx);
    nInstanceStream::Declaration decl;
    ASSERT_EQ(fx->CreateInstanceDeclaration(decl), 2);
    ASSERT_EQ(decl.Size(), 2);
    EXPECT_EQ(decl[0].param, nShaderState::MatDiffuse);
    EXPECT_EQ(decl[0].type, nShaderState::Float4);
    EXPECT_EQ(decl[1].param, nShaderState::Model);
    EXPECT_EQ(decl[1].type, nShaderState::Matrix44);
    EXPECT_EQ(fx->CreateInstanceDeclaration(decl), 0) << "parameters already declared are not added twice";

    nInstanceStream* stream = this->gfx->NewInstanceStream("grid");
    stream->SetDeclaration(decl);
    ASSERT_TRUE(stream->Load());
    // a 10 x 10 grid over the whole target: cell (col, row) from the bottom left
    stream->Lock(nInstanceStream::Write);
    for (int row = 0; row < 10; row++)
    {
        for (int col = 0; col < 10; col++)
        {
            stream->WriteFloat4({col * 25 / 255.0f, row * 25 / 255.0f, 200 / 255.0f, 1.0f});
            matrix44 m;
            m.translate(vector3(-1.0f + 0.2f * col, -1.0f + 0.2f * row, 0.0f));
            stream->WriteMatrix44(m);
        }
    }
    stream->Unlock();
    ASSERT_EQ(stream->GetNumInstances(), 100);

    QuadBatch q;
    this->BeginQuads(q, fx);
    Quad(q.v, q.ix, q.nv, q.ni, 0.0f, 0.0f, 0.2f, 0.2f, 0.0f, 0.0f, 0.0f);
    this->gfx->SetInstanceStream(stream);
    q.dm.EndIndexed(q.nv, q.ni);
    this->gfx->SetInstanceStream(nullptr);
    this->EndPassAndPresent(fx);
    stream->Release();

    for (int row : {0, 3, 9})
    {
        for (int col : {0, 5, 9})
        {
            const int x = int((0.1f * col + 0.05f) * 64.0f);
            const int y = int((0.95f - 0.1f * row) * 48.0f);
            this->ExpectPixel(x, y, col * 25, row * 25, 200);
        }
    }
    EXPECT_EQ(this->StatI("gfxNumDrawCalls"), 1);
    EXPECT_EQ(this->StatI("gfxNumPrimitives"), 200);
}

TEST_F(GLRenderTest, AnEffectThatSetsNoCullModeShowsCounterClockwiseFacesOnly)
{
    nShader2* fx = this->LoadFx("nocull.fx", R"(
vertex vs { out vec4 c; void main() { gl_Position = vec4(nPosition.xyz, 1.0); c = nColor; } }
fragment ps { in vec4 c; void main() { nFragColor = c; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; ZEnable = false; } }
)");
    QuadBatch q;
    this->BeginQuads(q, fx);
    // the left quad is wound clockwise on the screen; the right one, its
    // triangles turned around, counter-clockwise
    Quad(q.v, q.ix, q.nv, q.ni, -1.0f, -1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    Quad(q.v, q.ix, q.nv, q.ni, 0.0f, -1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f);
    std::swap(q.ix[-1], q.ix[-2]);
    std::swap(q.ix[-4], q.ix[-5]);
    q.dm.EndIndexed(q.nv, q.ni);
    this->EndPassAndPresent(fx);
    this->ExpectPixel(16, 24, 0, 0, 0);
    this->ExpectPixel(48, 24, 0, 255, 0);
}

TEST_F(GLRenderTest, TheDebugSphereHasRadiusOneAndTheCylinderRadiusOneAlongZ)
{
    // with no view or projection, clip space is model space: both shapes,
    // flattened into the middle of the depth range, are seen along their z
    // axis
    this->gfx->SetTransform(nGfxServer2::View, matrix44());
    this->gfx->SetTransform(nGfxServer2::Projection, matrix44());
    matrix44 model;
    model.scale(vector3(1.0f, 1.0f, 0.25f));
    model.translate(vector3(0.0f, 0.0f, 0.5f));
    for (const nGfxServer2::ShapeType shape : {nGfxServer2::Sphere, nGfxServer2::Cylinder})
    {
        SCOPED_TRACE(shape);
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        this->gfx->BeginShapes();
        this->gfx->DrawShape(shape, model, vector4(1.0f, 1.0f, 0.0f, 1.0f));
        this->gfx->EndShapes();
        this->gfx->EndScene();
        this->gfx->PresentScene();
        this->ExpectPixel(56, 24, 255, 255, 0);  // x 0.75
        this->ExpectPixel(32, 3, 255, 255, 0);   // y 0.875
        this->ExpectPixel(62, 2, 0, 0, 0);       // the corner, outside the unit circle
    }
}

TEST_F(GLRenderTest, FramesGoOnWhileALargeTextureAndAMeshLoadInTheBackgroundAndBothShowOnceLoaded)
{
    // a 1024 x 1024 image of one colour and a quad over the whole target
    const int size = 1024;
    std::vector<unsigned char> rgba(size_t(size) * size * 4);
    for (size_t i = 0; i < rgba.size(); i += 4)
    {
        rgba[i] = 0, rgba[i + 1] = 128, rgba[i + 2] = 255, rgba[i + 3] = 255;
    }
    const std::string png = this->dir + "/big.png";
    ASSERT_TRUE(stbi_write_png(png.c_str(), size, size, 4, rgba.data(), size * 4));
    TestMesh quad;
    quad.components = nMesh2::Coord | nMesh2::Uv0;
    quad.vertexWidth = 5;
    quad.vertices = {-1, -1, 0.5f, 0, 1, 1, -1, 0.5f, 1, 1, 1, 1, 0.5f, 1, 0, -1, 1, 0.5f, 0, 0};
    quad.indices = {0, 1, 2, 0, 2, 3};
    quad.groups = {{0, 4, 0, 2, 0, 0}};
    const std::string mesh = this->dir + "/quad.nvx2";
    WriteWholeFile(mesh, quad.Nvx2());
    nShader2* fx = this->LoadFx("textured.fx", R"(texture DiffMap0;
sampler2D S = sampler_state { Texture = <DiffMap0>; };
vertex vs { out vec2 uv; void main() { gl_Position = vec4(nPosition.xyz, 1.0); uv = nUv0; } }
fragment ps { in vec2 uv; void main() { nFragColor = texture(S, uv); } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; ZEnable = false; } }
)");

    // the resource classes of the server, noting where they read
    threadresources_package(this->ks.get());
    nResourceServer* rs = nResourceServer::Instance();
    auto* tex = static_cast<nThreadTexture*>(rs->NewResource("nthreadtexture", "big", nResource::Texture));
    tex->SetFilename(png.c_str());
    tex->SetAsyncEnabled(true);
    auto* m = static_cast<nThreadMesh*>(rs->NewResource("nthreadmesh", "quad", nResource::Mesh));
    m->SetFilename(mesh.c_str());
    m->SetAsyncEnabled(true);
    ASSERT_TRUE(tex->Load());
    ASSERT_TRUE(m->Load());
    // whatever the loader thread has done, the device sees neither before the next scene
    EXPECT_TRUE(tex->IsPending() && !tex->IsValid());
    EXPECT_TRUE(m->IsPending() && !m->IsValid());

    // frames draw what is loaded, and nothing of what is not
    int frames = 0;
    bool drawn = false;
    while (!drawn && frames < 20000)
    {
        const bool ready = tex->IsValid() && m->IsValid();
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        if (ready)
        {
            fx->SetTexture(nShaderState::DiffMap0, tex);
            this->gfx->SetShader(fx);
            this->gfx->SetMesh(m);
            this->gfx->SetVertexRange(0, 4);
            this->gfx->SetIndexRange(0, 6);
            this->gfx->DrawIndexed(nGfxServer2::TriangleList);
            this->gfx->SetMesh(nullptr);
            drawn = true;
        }
        this->gfx->EndScene();
        this->gfx->PresentScene();
        if (0 == frames)
        {
            this->ExpectPixel(32, 24, 0, 0, 0);  // the first frame had nothing to show
        }
        frames++;
        if (!ready) std::this_thread::yield();
    }
    ASSERT_TRUE(drawn) << "the loads never finished";
    EXPECT_GE(frames, 2);
    EXPECT_FALSE(tex->IsPending() || m->IsPending());
    EXPECT_EQ(tex->GetWidth(), size);
    // the image was decoded and the mesh file parsed on the loader thread
    EXPECT_NE(tex->readThread, std::this_thread::get_id());
    EXPECT_NE(m->readThread, std::this_thread::get_id());
    EXPECT_TRUE(tex->decoded);
    EXPECT_TRUE(m->parsed);
    this->ExpectPixel(32, 24, 0, 128, 255);
    this->ExpectPixel(2, 2, 0, 128, 255);
    tex->Release();
    m->Release();
}
