//------------------------------------------------------------------------------
//  Effects on the real OpenGL device: a textured, alpha-tested, culled quad
//  gives exact pixels; a shared value set through one effect reaches
//  another; a state one pass assigns does not leak into the next effect.
//  The quad's buffers and the texture are made with GL here, as the mesh
//  and texture classes would.
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include "glwindowfixture.h"

#include "gfx2/nd3d9shader.h"
#include "kernel/nfileserver2.h"
#include "usertempdir.h"

#include <GL/glcorearb.h>

#include <filesystem>

namespace
{

/// a texture object around a GL texture the test made
class GLTexture : public nTexture2
{
public:
    unsigned int handle = 0;
    nGfxTextureHandle GetDeviceTexture() const override { return nGfxTextureHandle(this->handle); }
};

const char* const texturedFx = R"(shared float4x4 ModelViewProjection;
float4 MatDiffuse = {1,1,1,1};
float AlphaRef = 0.5;
int CullMode = 3;
texture DiffMap0;
sampler2D DiffSampler = sampler_state { Texture = <DiffMap0>; AddressU = Clamp; AddressV = Clamp; MinFilter = Point; MagFilter = Point; };
vertex vs { out vec2 uv; void main() { gl_Position = ModelViewProjection * nPosition; uv = nUv0; } }
fragment ps { in vec2 uv; void main() { nFragColor = texture(DiffSampler, uv) * MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = <CullMode>;
    ZWriteEnable = true; AlphaTestEnable = true; AlphaFunc = GreaterEqual; AlphaRef = <AlphaRef>; } }
)";

const char* const setterFx = R"(shared float4x4 ModelViewProjection;
vertex vs { void main() { gl_Position = ModelViewProjection * nPosition; } }
fragment ps { void main() { nFragColor = vec4(1.0); } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; } }
)";

/// flat colour at the depth "Scale"; the first effect keeps depth unwritten
const char* const depthFx = R"(float4 MatDiffuse = {1,1,1,1};
float Scale = 0.5;
vertex vs { void main() { gl_Position = vec4(nPosition.xy, Scale, 1.0); } }
fragment ps { void main() { nFragColor = MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; %s } }
)";

/// each colour channel from its own sampler: red from the first, green from the second
const char* const twoSamplerFx = R"(texture DiffMap0;
texture DiffMap1;
sampler2D RedSampler = sampler_state { Texture = <DiffMap0>; MinFilter = Point; MagFilter = Point; };
sampler2D GreenSampler = sampler_state { Texture = <DiffMap1>; MinFilter = Point; MagFilter = Point; };
vertex vs { out vec2 uv; void main() { gl_Position = nPosition; uv = nUv0; } }
fragment ps { in vec2 uv; void main() {
    nFragColor = vec4(texture(RedSampler, uv).r, texture(GreenSampler, uv).g, 0.0, 1.0); } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; } }
)";

class GLShaderTest : public GLWindowTest
{
protected:
    void SetUp() override
    {
        GLWindowTest::SetUp();
        // point-sampled texels and flat colours: the pixels are exact
        this->pixelTolerance = 0;
        ASSERT_TRUE(this->gfx->OpenDisplay());
        this->dir = MakeTempDir("fxgltest");
        this->MakeQuad();
    }
    void TearDown() override
    {
        glDeleteBuffers(1, &this->vbo);
        glDeleteVertexArrays(1, &this->vao);
        GLWindowTest::TearDown();
        std::filesystem::remove_all(this->dir);
    }

    /// a full-screen quad, clockwise on screen (Direct3D's front faces):
    /// positions at 0 and uv0 at 2, top left at uv (0,0)
    void MakeQuad()
    {
        const float v[] = {
            -1, 1, 0, 0, 0,   1, 1, 0, 1, 0,   -1, -1, 0, 0, 1,
            1, 1, 0, 1, 0,    1, -1, 0, 1, 1,  -1, -1, 0, 0, 1,
        };
        glGenVertexArrays(1, &this->vao);
        glBindVertexArray(this->vao);
        glGenBuffers(1, &this->vbo);
        glBindBuffer(GL_ARRAY_BUFFER, this->vbo);
        glBufferData(GL_ARRAY_BUFFER, sizeof(v), v, GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), reinterpret_cast<void*>(3 * sizeof(float)));
    }

    nD3D9Shader* Load(const std::string& name, const std::string& text)
    {
        const std::string path = this->dir + "/" + name;
        WriteWholeFile(path, text);
        auto* s = static_cast<nD3D9Shader*>(this->gfx->NewShader(name.c_str()));
        s->SetFilename(path.c_str());
        EXPECT_TRUE(s->Load());
        return s;
    }

    /// one draw of the quad through every pass of the shader
    static void Draw(nShader2* s)
    {
        const int passes = s->Begin(true);
        for (int i = 0; i < passes; i++)
        {
            s->BeginPass(i);
            glDrawArrays(GL_TRIANGLES, 0, 6);
            s->EndPass();
        }
        s->End();
    }

    /// ends the frame begun before, if any, and begins a cleared one
    void Frame(float r, float g, float b)
    {
        this->EndFrame();
        this->inFrame = true;
        ASSERT_TRUE(this->gfx->Trigger());
        ASSERT_TRUE(this->gfx->BeginScene());
        this->gfx->Clear(nGfxServer2::AllBuffers, r, g, b, 1.0f, 1.0f, 0);
    }

    void EndFrame()
    {
        if (this->inFrame)
        {
            this->gfx->EndScene();
            this->inFrame = false;
        }
    }

    /// a 1x1 texture of one colour, as the texture class would make it
    static GLTexture* OneTexel(unsigned char r, unsigned char g, unsigned char b)
    {
        const unsigned char texel[] = {r, g, b, 255};
        auto* tex = new GLTexture();
        tex->AddRef();
        glGenTextures(1, &tex->handle);
        glBindTexture(GL_TEXTURE_2D, tex->handle);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        return tex;
    }

    static void Free(GLTexture* tex)
    {
        glDeleteTextures(1, &tex->handle);
        tex->Release();
    }

    std::string dir;
    unsigned int vao = 0;
    unsigned int vbo = 0;
    bool inFrame = false;
};

}  // namespace

TEST_F(GLShaderTest, TexturedAlphaTestedCulledQuadThroughASharedMatrixGivesExactPixels)
{
    // 2x2 texels, row 0 on top: red, green / blue, white with alpha 0
    const unsigned char texels[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 0};
    auto* tex = new GLTexture();
    tex->AddRef();
    glGenTextures(1, &tex->handle);
    glBindTexture(GL_TEXTURE_2D, tex->handle);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);

    nD3D9Shader* setter = this->Load("setter.fx", setterFx);
    nD3D9Shader* quad = this->Load("textured.fx", texturedFx);
    // the matrix goes in through the other effect only
    setter->SetMatrix(nShaderState::ModelViewProjection, matrix44());
    quad->SetTexture(nShaderState::DiffMap0, tex);

    this->Frame(0.0f, 0.0f, 0.0f);
    Draw(quad);
    this->ExpectPixel(10, 10, 255, 0, 0);
    this->ExpectPixel(50, 10, 0, 255, 0);
    this->ExpectPixel(10, 40, 0, 0, 255);
    // alpha 0 fails the alpha test: the clear colour stays
    this->ExpectPixel(50, 40, 0, 0, 0);

    // culling clockwise faces removes the quad
    this->Frame(0.0f, 0.0f, 0.0f);
    quad->SetInt(nShaderState::CullMode, 2);
    Draw(quad);
    this->ExpectPixel(10, 10, 0, 0, 0);
    this->ExpectPixel(50, 10, 0, 0, 0);

    // a shared value set again through the other effect reaches this one
    this->Frame(0.0f, 0.0f, 0.0f);
    quad->SetInt(nShaderState::CullMode, 3);
    matrix44 empty;
    empty.m[0][0] = empty.m[1][1] = empty.m[2][2] = empty.m[3][3] = 0.0f;
    setter->SetMatrix(nShaderState::ModelViewProjection, empty);
    Draw(quad);
    this->ExpectPixel(10, 10, 0, 0, 0);
    this->EndFrame();

    quad->Release();
    setter->Release();
    glDeleteTextures(1, &tex->handle);
    tex->Release();
}

TEST_F(GLShaderTest, EachSamplerReadsTheTextureOfItsOwnUnit)
{
    GLTexture* red = OneTexel(255, 0, 0);
    GLTexture* green = OneTexel(0, 255, 0);
    nD3D9Shader* fx = this->Load("twosamplers.fx", twoSamplerFx);
    fx->SetTexture(nShaderState::DiffMap0, red);
    fx->SetTexture(nShaderState::DiffMap1, green);
    // twice: the units are set once, and must hold for the next frame
    for (int frame = 0; frame < 2; frame++)
    {
        this->Frame(0.0f, 0.0f, 1.0f);
        Draw(fx);
        this->ExpectPixel(30, 20, 255, 255, 0);
    }
    this->EndFrame();
    fx->Release();
    Free(green);
    Free(red);
}

TEST_F(GLShaderTest, AStateAPassAssignsDoesNotLeakIntoTheNextEffect)
{
    char text[1024];
    snprintf(text, sizeof(text), depthFx, "ZWriteEnable = false;");
    nD3D9Shader* noWrite = this->Load("nowrite.fx", text);
    snprintf(text, sizeof(text), depthFx, "");
    nD3D9Shader* plain = this->Load("plain.fx", text);

    this->Frame(0.0f, 0.0f, 0.0f);
    noWrite->SetFloat(nShaderState::Scale, 0.1f);
    noWrite->SetVector4(nShaderState::MatDiffuse, vector4(0, 0, 1, 1));
    Draw(noWrite);
    this->ExpectPixel(30, 20, 0, 0, 255);
    // the near quad must write depth, so the farther one behind it is hidden
    plain->SetFloat(nShaderState::Scale, 0.2f);
    plain->SetVector4(nShaderState::MatDiffuse, vector4(1, 0, 0, 1));
    Draw(plain);
    plain->SetFloat(nShaderState::Scale, 0.5f);
    plain->SetVector4(nShaderState::MatDiffuse, vector4(0, 1, 0, 1));
    Draw(plain);
    this->ExpectPixel(30, 20, 255, 0, 0);
    this->EndFrame();
    plain->Release();
    noWrite->Release();
}

TEST_F(GLShaderTest, TheServersShapeAndSharedEffectsLoad)
{
    auto* shape = static_cast<nD3D9Shader*>(this->ks->Lookup("/sys/share/rsrc/shd/shape"));
    auto* shared = static_cast<nD3D9Shader*>(this->ks->Lookup("/sys/share/rsrc/shd/shared"));
    ASSERT_NE(shape, nullptr);
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(shape->IsValid());
    EXPECT_TRUE(shared->IsValid());
    EXPECT_EQ(shape->GetValue("ModelViewProjection"), shared->GetValue("ModelViewProjection"));
}
