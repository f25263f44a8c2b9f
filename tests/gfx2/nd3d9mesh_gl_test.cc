//------------------------------------------------------------------------------
//  Meshes drawn on the OpenGL device: a small program of the test's own
//  reads the coord and colour at their fixed locations; the pixels a group
//  covers change colour, the others keep the clear colour; a dynamic mesh
//  changed and drawn in part, then drawn in a mesh array, shows its latest
//  vertices there. The shapes are
//  symmetric in y, so the checks hold whichever way rows are counted.
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include "glwindowfixture.h"
#include "opende/meshfiles.h"

#include "gfx2/nd3d9mesh.h"
#include "gfx2/nmesharray.h"
#include "gfx2/nshader2.h"

#include <GL/glcorearb.h>

#include <functional>

namespace
{

const char* const VertexSource = R"(#version 330 core
layout(location = 0) in vec3 coord;
layout(location = 6) in vec4 color;
out vec4 vColor;
void main()
{
    vColor = color;
    gl_Position = vec4(coord.x, -coord.y, coord.z, 1.0);
}
)";

const char* const FragmentSource = R"(#version 330 core
in vec4 vColor;
out vec4 fragColor;
void main()
{
    fragColor = vColor;
}
)";

/// one compiled shader stage; 0 (with the log in the test output) on failure
GLuint Compile(GLenum type, const char* source)
{
    const GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &source, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok)
    {
        char text[1024] = {};
        glGetShaderInfoLog(s, sizeof(text), nullptr, text);
        ADD_FAILURE() << text;
    }
    return s;
}

/// a quad from x0 to x1 and -h to h at depth 0.5 in one colour: four vertices
/// of coord and colour, wound counter-clockwise on the screen so that the
/// device's default cull mode keeps it
void AddQuad(TestMesh& m, float x0, float x1, float h, float r, float g, float b)
{
    const int first = m.NumVertices();
    const float xs[4] = {x0, x1, x1, x0};
    const float ys[4] = {-h, -h, h, h};
    for (int i = 0; i < 4; i++)
    {
        for (float f : {xs[i], ys[i], 0.5f, r, g, b, 1.0f}) m.vertices.push_back(f);
    }
    for (int i : {0, 1, 2, 0, 2, 3}) m.indices.push_back(first + i);
}

class GLMeshTest : public GLWindowTest
{
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        ASSERT_TRUE(this->gfx->OpenDisplay());
        ASSERT_STREQ(this->gfx->GetDevice()->GetName(), "gl");
        const GLuint vs = Compile(GL_VERTEX_SHADER, VertexSource);
        const GLuint fs = Compile(GL_FRAGMENT_SHADER, FragmentSource);
        this->program = glCreateProgram();
        glAttachShader(this->program, vs);
        glAttachShader(this->program, fs);
        glLinkProgram(this->program);
        glDeleteShader(vs);
        glDeleteShader(fs);
        GLint ok = 0;
        glGetProgramiv(this->program, GL_LINK_STATUS, &ok);
        ASSERT_TRUE(ok);
    }

    void TearDown() override
    {
        for (nMesh2* m : this->meshes) m->Release();
        if (this->program) glDeleteProgram(this->program);
        this->gfx->CloseDisplay();
        GLWindowTest::TearDown();
    }

    nD3D9Mesh* Load(const std::string& path, int usage)
    {
        auto* m = static_cast<nD3D9Mesh*>(this->gfx->NewMesh(("m" + std::to_string(this->meshes.size())).c_str()));
        this->meshes.push_back(m);
        m->SetUsage(usage);
        m->SetFilename(path.c_str());
        EXPECT_TRUE(m->Load());
        return m;
    }

    /// a frame cleared to black that draws the groups of the mesh
    void DrawFrame(nD3D9Mesh* mesh, std::initializer_list<int> groups)
    {
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        glUseProgram(this->program);
        for (int g : groups)
        {
            const nMeshGroup& group = mesh->GetGroup(g);
            this->gfx->GetDevice()->DrawIndexedTriangles(mesh->GetVertexDeclaration(), group.firstIndex,
                                                         group.numIndices);
        }
        glUseProgram(0);
        this->gfx->EndScene();
    }

    GLuint program = 0;
    std::vector<nMesh2*> meshes;
    TempDir dir;
};

/// group 0: the left half, red; group 1: a band of the right half, green
TestMesh TwoQuads()
{
    TestMesh m;
    m.components = nMesh2::Coord | nMesh2::Color;
    m.vertexWidth = 7;
    AddQuad(m, -1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f);
    AddQuad(m, 0.5f, 1.0f, 0.25f, 0.0f, 1.0f, 0.0f);
    m.groups = {{0, 4, 0, 2, 0, 0}, {4, 4, 2, 2, 0, 0}};
    return m;
}

}  // namespace

TEST_F(GLMeshTest, EachGroupCoversItsPixels)
{
    for (const char* name : {"q.nvx2", "q.n3d2"})
    {
        SCOPED_TRACE(name);
        const TestMesh m = TwoQuads();
        nD3D9Mesh* mesh = this->Load(dir.Write(name, name[3] == 'v' ? m.Nvx2() : m.N3d2()), nMesh2::WriteOnce);
        ASSERT_TRUE(mesh->IsValid());

        this->DrawFrame(mesh, {0});
        this->ExpectPixel(8, 24, 255, 0, 0);
        this->ExpectPixel(24, 2, 255, 0, 0);
        this->ExpectPixel(56, 24, 0, 0, 0);

        this->DrawFrame(mesh, {0, 1});
        this->ExpectPixel(8, 24, 255, 0, 0);
        this->ExpectPixel(56, 24, 0, 255, 0);
        this->ExpectPixel(56, 2, 0, 0, 0);
        this->ExpectPixel(40, 24, 0, 0, 0);
    }
}

TEST_F(GLMeshTest, ChangesToADynamicMeshShowInTheNextDraw)
{
    nD3D9Mesh* mesh = this->Load(dir.Write("q.nvx2", TwoQuads().Nvx2()), nMesh2::WriteOnly);
    ASSERT_TRUE(mesh->IsValid());
    this->DrawFrame(mesh, {0});
    this->ExpectPixel(8, 24, 255, 0, 0);

    // move the left quad to the right half and make it blue
    float* v = mesh->LockVertices();
    ASSERT_NE(v, nullptr);
    for (int i = 0; i < 4; i++)
    {
        v[7 * i] += 1.0f;
        v[7 * i + 3] = 0.0f;
        v[7 * i + 5] = 1.0f;
    }
    mesh->UnlockVertices();
    this->DrawFrame(mesh, {0});
    this->ExpectPixel(8, 24, 0, 0, 0);
    this->ExpectPixel(56, 24, 0, 0, 255);

    // a read-only mesh has no device buffers: nothing to draw
    nD3D9Mesh* readOnly = this->Load(dir.Write("r.nvx2", TwoQuads().Nvx2()), nMesh2::ReadOnly);
    EXPECT_FALSE(readOnly->GetVertexDeclaration().IsValid());
    this->DrawFrame(readOnly, {0});
    this->ExpectPixel(8, 24, 0, 0, 0);
}

TEST_F(GLMeshTest, ADynamicMeshDrawnInPartThenInAMeshArrayShowsItsLatestVertices)
{
    nD3D9Mesh* mesh = this->Load(dir.Write("d.nvx2", TwoQuads().Nvx2()), nMesh2::WriteOnly);
    nD3D9Mesh* other = this->Load(dir.Write("o.nvx2", TwoQuads().Nvx2()), 0);
    ASSERT_TRUE(mesh->IsValid() && other->IsValid());
    // the left quad (group 0) alone, through the server's ranges
    const auto drawLeftQuad = [this](const std::function<void()>& bind)
    {
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        glUseProgram(this->program);
        bind();
        this->gfx->SetVertexRange(0, 4);
        this->gfx->SetIndexRange(0, 6);
        this->gfx->DrawIndexedNS(nGfxServer2::TriangleList);
        glUseProgram(0);
        this->gfx->EndScene();
    };
    drawLeftQuad([&] { this->gfx->SetMesh(mesh); });
    this->ExpectPixel(8, 24, 255, 0, 0);
    // blue now: the changed part goes elsewhere in the device's buffer
    float* v = mesh->LockVertices();
    ASSERT_NE(v, nullptr);
    for (int i = 0; i < 4; i++)
    {
        v[7 * i + 3] = 0.0f;
        v[7 * i + 5] = 1.0f;
    }
    mesh->UnlockVertices();
    drawLeftQuad([&] { this->gfx->SetMesh(mesh); });
    this->ExpectPixel(8, 24, 0, 0, 255);
    this->gfx->SetMesh(nullptr);

    // the same mesh as stream 0 of two: the streams share one numbering
    nMeshArray* array = this->gfx->NewMeshArray("blue and other");
    ASSERT_NE(array, nullptr);
    array->SetMesh(0, mesh);
    array->SetMesh(1, other);
    ASSERT_TRUE(array->Load());
    drawLeftQuad([&] { this->gfx->SetMeshArray(array); });
    this->ExpectPixel(8, 24, 0, 0, 255);
    this->gfx->SetMeshArray(nullptr);
    array->Release();
}

TEST_F(GLMeshTest, AMorphEffectReadsThePositionsOfBothStreamsOfAMeshArray)
{
    // stream 0: the left half in red; stream 1: the same quad moved to the right half
    TestMesh target;
    target.components = nMesh2::Coord;
    target.vertexWidth = 3;
    const std::vector<float> left = TwoQuads().vertices;
    for (int i = 0; i < 4; i++)
    {
        for (float f : {left[7 * i] + 1.0f, left[7 * i + 1], left[7 * i + 2]}) target.vertices.push_back(f);
    }
    target.indices = {0, 1, 2, 0, 2, 3};
    target.groups = {{0, 4, 0, 2, 0, 0}};
    nD3D9Mesh* base = this->Load(dir.Write("base.nvx2", TwoQuads().Nvx2()), 0);
    nD3D9Mesh* moved = this->Load(dir.Write("moved.nvx2", target.Nvx2()), 0);
    nMeshArray* array = this->gfx->NewMeshArray("morph");
    array->SetMesh(0, base);
    array->SetMesh(1, moved);
    ASSERT_TRUE(array->Load());

    nShader2* fx = this->gfx->NewShader("morph");
    fx->SetFilename(dir.Write("morph.fx", R"(float Intensity0 = 0.0;
vertex vs { out vec4 c; void main() { gl_Position = vec4(mix(nPosition.xyz, nPosition1.xyz, Intensity0), 1.0);
    c = nColor; } }
fragment ps { in vec4 c; void main() { nFragColor = c; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; ZEnable = false; } }
)").c_str());
    ASSERT_TRUE(fx->Load());
    for (const float weight : {0.0f, 1.0f, 0.5f})
    {
        SCOPED_TRACE(weight);
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
        this->gfx->SetMeshArray(array);
        this->gfx->SetShader(fx);
        fx->SetFloat(nShaderState::Intensity0, weight);
        this->gfx->SetVertexRange(0, 4);
        this->gfx->SetIndexRange(0, 6);
        this->gfx->DrawIndexed(nGfxServer2::TriangleList);
        this->gfx->EndScene();
        const int x0 = int((0.25f + 0.5f * weight) * 64);
        this->ExpectPixel(x0 - 4, 24, 255, 0, 0);
        this->ExpectPixel(x0 + 4, 24, 255, 0, 0);
        this->ExpectPixel((x0 + 32) % 64, 24, 0, 0, 0);
    }
    this->gfx->SetShader(nullptr);
    this->gfx->SetMeshArray(nullptr);
    fx->Release();
    array->Release();
}
