//------------------------------------------------------------------------------
//  The effect shader on the null device: loading through the file server,
//  the parameter table, the effect pool, value caching and the pass
//  protocol, and the fatal message bad effects end in.
//------------------------------------------------------------------------------
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9shader.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nfileserver2.h"
#include "platform/nnulldevice.h"
#include "resource/nresourcepackage.h"
#include "resource/nresourceserver.h"
#include "capturelog.h"
#include "usertempdir.h"
#include "util/assertdeath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{

const char* const basic = R"(shared float4x4 ModelViewProjection;
float4 MatDiffuse = {1,1,1,1};
float AlphaRef = 0.5;
int CullMode = 2;
float Unknown = 3;
texture DiffMap0;
sampler2D DiffSampler = sampler_state { Texture = <DiffMap0>; };
vertex vs { void main() { gl_Position = ModelViewProjection * nPosition; } }
fragment ps { void main() { nFragColor = texture(DiffSampler, vec2(0.0)) * MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = <CullMode>;
    ZWriteEnable = false; AlphaTestEnable = true; AlphaFunc = GreaterEqual; AlphaRef = <AlphaRef>; } }
)";

/// a texture that is never loaded and names a made-up device texture
class FakeTexture : public nTexture2
{
public:
    nGfxTextureHandle GetDeviceTexture() const override { return nGfxTextureHandle(77); }
};

class ShaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(
            std::initializer_list<nPackageFunc>{nresource_package, ngfx2_package});
        this->ks->SetLogHandler(&this->log);
        nd3d9_package();
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
        auto d = std::make_unique<nNullDevice>();
        this->dev = d.get();
        this->gfx->SetDevice(std::move(d));
        this->dir = MakeTempDir("fxtest");
    }
    void TearDown() override
    {
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }

    /// write an effect file into the test directory; its full path
    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string path = this->dir + "/" + name;
        WriteWholeFile(path, text);
        return path;
    }

    /// a loaded shader of the file
    nD3D9Shader* Load(const std::string& name, const std::string& text)
    {
        auto* s = static_cast<nD3D9Shader*>(this->gfx->NewShader(name.c_str()));
        s->SetFilename(this->Write(name, text).c_str());
        EXPECT_TRUE(s->Load());
        return s;
    }

    /// how many device calls start with the text
    int Count(const std::string& prefix) const
    {
        return int(std::count_if(this->dev->calls.begin(), this->dev->calls.end(),
                                 [&](const std::string& c) { return 0 == c.rfind(prefix, 0); }));
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nD3D9Server* gfx = nullptr;
    nNullDevice* dev = nullptr;
    std::string dir;
};

}  // namespace

TEST_F(ShaderTest, ParametersAreMatchedByNameAndValuesReachTheProgramAtCommit)
{
    nD3D9Shader* s = this->Load("basic.fx", basic);
    EXPECT_TRUE(s->IsValid());
    EXPECT_STREQ(s->GetTechnique(), "t0");
    EXPECT_TRUE(s->IsParameterUsed(nShaderState::ModelViewProjection));
    EXPECT_TRUE(s->IsParameterUsed(nShaderState::DiffMap0));
    EXPECT_FALSE(s->IsParameterUsed(nShaderState::Time));

    matrix44 m;
    m.m[3][0] = 7.0f;
    s->SetMatrix(nShaderState::ModelViewProjection, m);
    ASSERT_EQ(s->Begin(true), 1);
    s->BeginPass(0);
    EXPECT_EQ(this->dev->GetUniform("ModelViewProjection")[12], 7.0f);
    EXPECT_EQ(this->dev->GetUniform("MatDiffuse"), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(this->dev->GetUniform("nAlphaFunc"), std::vector<float>{float(nGfxRS::CmpGreaterEqual)});
    EXPECT_EQ(this->dev->GetUniform("nAlphaRef"), std::vector<float>{128.0f});
    EXPECT_EQ(this->dev->GetRenderState(nGfxRS::CullMode), unsigned(nGfxRS::CullCW));
    EXPECT_EQ(this->dev->GetRenderState(nGfxRS::ZWriteEnable), 0u);

    s->SetInt(nShaderState::CullMode, nGfxRS::CullNone);
    s->SetVector4(nShaderState::MatDiffuse, vector4(0.5f, 0.25f, 0, 1));
    s->CommitChanges();
    EXPECT_EQ(this->dev->GetRenderState(nGfxRS::CullMode), unsigned(nGfxRS::CullNone));
    EXPECT_EQ(this->dev->GetUniform("MatDiffuse"), (std::vector<float>{0.5f, 0.25f, 0, 1}));
    s->EndPass();
    s->End();
    // Begin(true) saved what the pass assigns: End put it back
    EXPECT_EQ(this->dev->GetRenderState(nGfxRS::CullMode), unsigned(nGfxRS::CullCCW));
    EXPECT_EQ(this->dev->GetRenderState(nGfxRS::ZWriteEnable), 1u);
    EXPECT_EQ(this->dev->GetRenderState(nGfxRS::AlphaTestEnable), 0u);
}

TEST_F(ShaderTest, SameTextureAndSameParamsAreNotSentAgainUntilTheDeviceIsLost)
{
    nD3D9Shader* s = this->Load("basic.fx", basic);
    auto* tex = new FakeTexture();
    tex->AddRef();
    const nFxValue* v = s->GetValue("DiffMap0");
    ASSERT_NE(v, nullptr);
    s->SetTexture(nShaderState::DiffMap0, tex);
    const unsigned int version = v->version;
    s->SetTexture(nShaderState::DiffMap0, tex);
    EXPECT_EQ(v->version, version);
    s->Begin(false);
    s->BeginPass(0);
    EXPECT_EQ(this->Count("BindTexture 0 77"), 1);

    nShaderParams block;
    block.SetArg(nShaderState::MatDiffuse, nShaderArg(nFloat4{1, 0, 0, 1}));
    block.SetArg(nShaderState::Time, nShaderArg(1.0f));
    s->SetParams(block);
    const unsigned int diffuse = s->GetValue("MatDiffuse")->version;
    s->SetParams(block);
    EXPECT_EQ(s->GetValue("MatDiffuse")->version, diffuse);

    s->OnLost();
    s->OnRestored();
    s->SetParams(block);
    EXPECT_EQ(s->GetValue("MatDiffuse")->version, diffuse + 1);
    s->EndPass();
    s->End();
    tex->Release();
}

TEST_F(ShaderTest, SharedValuesLiveInThePoolAndATypeConflictFailsTheLoad)
{
    nD3D9Shader* a = this->Load("a.fx", basic);
    const std::string other = std::string("shared float4 Extra = {2,2,2,2};\n") + basic;
    nD3D9Shader* b = this->Load("b.fx", other);
    EXPECT_EQ(a->GetValue("ModelViewProjection"), b->GetValue("ModelViewProjection"));
    EXPECT_NE(a->GetValue("MatDiffuse"), b->GetValue("MatDiffuse"));
    ASSERT_NE(this->gfx->GetEffectPool().Find("Extra"), nullptr);
    EXPECT_EQ(this->gfx->GetEffectPool().Find("Extra")->floats[0], 2.0f);
    b->Release();
    EXPECT_EQ(this->gfx->GetEffectPool().Find("Extra"), nullptr);

    const std::string path = this->Write("conflict.fx", "\nshared float4 ModelViewProjection;\n" + std::string(basic).substr(36));
    EXPECT_FATAL(
        {
            nShader2* s = this->gfx->NewShader("conflict");
            s->SetFilename(path.c_str());
            s->Load();
        },
        "failed to load fx file '.*conflict.fx' with:\n\n.*conflict.fx\\(2\\): shared parameter 'ModelViewProjection' "
        "has another type");
}

TEST_F(ShaderTest, TheFirstTechniqueWhoseProgramsCompileIsChosen)
{
    const std::string text = std::string(basic) +
                             "fragment broken { void main() { BROKEN; } }\n"
                             "technique t1 { pass p0 { VertexShader = vs; PixelShader = broken; } }\n";
    // put the broken technique first
    const std::string reordered = text.substr(0, text.find("technique t0")) + text.substr(text.find("fragment broken")) +
                                  text.substr(text.find("technique t0"), text.find("fragment broken") - text.find("technique t0"));
    this->dev->refuseProgramsWith = "BROKEN";
    nD3D9Shader* s = this->Load("two.fx", reordered);
    EXPECT_STREQ(s->GetTechnique(), "t0");
    EXPECT_FALSE(s->SetTechnique("t1"));
    EXPECT_FALSE(s->SetTechnique("none"));
    EXPECT_STREQ(s->GetTechnique(), "t0");
}

TEST_F(ShaderTest, TechniquesSwitchedBackAndForthAreCompiledOnce)
{
    const std::string text = std::string(basic) + "technique t1 { pass p0 { VertexShader = vs; PixelShader = ps; } }\n";
    nD3D9Shader* s = this->Load("switch.fx", text);
    for (const char* t : {"t1", "t0", "t1", "t0"})
    {
        ASSERT_TRUE(s->SetTechnique(t));
        EXPECT_STREQ(s->GetTechnique(), t);
    }
    EXPECT_EQ(this->Count("CreateProgram"), 2);
    EXPECT_EQ(this->Count("DeleteProgram"), 0);
    s->Unload();
    EXPECT_EQ(this->Count("DeleteProgram"), 2);
}

TEST_F(ShaderTest, EffectsThatDoNotParseEndInTheLoadsFatalMessageWithFileAndLine)
{
    const struct
    {
        const char* name;
        std::string text;
        const char* regex;
    } cases[] = {
        {"syntax.fx", "float x = {1,;\n", "failed to load fx file '.*syntax.fx' with:\n\n.*syntax.fx\\(1\\): bad default"},
        {"include.fx", "\n#include \"nowhere.fx\"\n", "failed to load fx file '.*include.fx' with:\n\n.*include.fx\\(2\\): could not open include file 'nowhere.fx'"},
    };
    for (const auto& c : cases)
    {
        const std::string path = this->Write(c.name, c.text);
        EXPECT_FATAL(
            {
                nShader2* s = this->gfx->NewShader(c.name);
                s->SetFilename(path.c_str());
                s->Load();
            },
            c.regex);
    }
}

TEST_F(ShaderTest, AMissingFileOrAnEffectWithoutACompilingTechniqueIsReportedOnceAndDrawsNothing)
{
    // a file that is not there fails the load, naming the file as given
    nFileServer2::Instance()->SetAssign("fxtest", (this->dir + "/").c_str());
    nShader2* missing = this->gfx->NewShader("missing");
    missing->SetFilename("fxtest:none.fx");
    this->log.text.clear();
    EXPECT_FALSE(missing->Load());
    EXPECT_FALSE(missing->IsLoaded());
    EXPECT_NE(this->log.text.find("could not load shader file 'fxtest:none.fx'!"), std::string::npos) << this->log.text;
    missing->Release();

    // an effect whose only technique does not compile loads, reported
    // once, and begins with no pass however often it is drawn
    this->dev->refuseProgramsWith = "BROKEN";
    const std::string text = std::string(basic).replace(std::string(basic).find("MatDiffuse; }"), 10, "BROKEN");
    this->log.text.clear();
    nD3D9Shader* s = this->Load("glsl.fx", text);
    const std::string report = "no technique of fx file '" + this->dir + "/glsl.fx' compiles, it draws nothing:\n\n"
                               "technique 't0':\n";
    EXPECT_NE(this->log.text.find(report), std::string::npos) << this->log.text;
    this->log.text.clear();
    for (int frame = 0; frame < 3; frame++)
    {
        EXPECT_EQ(s->Begin(true), 0);
        s->End();
    }
    EXPECT_EQ(this->log.text, "");
    EXPECT_EQ(s->GetTechnique(), nullptr);
    EXPECT_FALSE(s->IsParameterUsed(nShaderState::MatDiffuse));
    s->SetVector4(nShaderState::MatDiffuse, vector4(1, 0, 0, 1));
    s->Release();
}

TEST_F(ShaderTest, IncludesAreFoundBesideTheEffect)
{
    this->Write("common.fx", "shared float Time = 4;\n");
    nD3D9Shader* s = this->Load("inc.fx", "#include \"common.fx\"\n" + std::string(basic));
    EXPECT_TRUE(s->IsParameterUsed(nShaderState::Time));
    EXPECT_EQ(s->GetValue("Time")->floats[0], 4.0f);
}

TEST_F(ShaderTest, UnloadDropsTheValuesAndStopsBeingCurrent)
{
    nD3D9Shader* s = this->Load("basic.fx", basic);
    this->gfx->SetShader(s);
    s->Unload();
    EXPECT_EQ(this->gfx->GetShader(), nullptr);
    EXPECT_FALSE(s->IsParameterUsed(nShaderState::MatDiffuse));
    EXPECT_EQ(this->gfx->GetEffectPool().Find("ModelViewProjection"), nullptr);
    EXPECT_TRUE(s->Load());
    EXPECT_TRUE(s->IsParameterUsed(nShaderState::MatDiffuse));
}

TEST_F(ShaderTest, InstanceParametersOfATypeNoStreamCarriesAreReportedAndLeftOut)
{
    nD3D9Shader* s = this->Load("inst.fx", R"(float MatTransparency <bool Instance = true;> = 1;
float3 Wind <bool Instance = true;>;
int CullMode <bool Instance = true;> = 2;
float4 Scale[2] <bool Instance = true;>;
float4 Unknown <bool Instance = true;>;
float4 MatDiffuse <bool Instance = false;>;
vertex vs { void main() { gl_Position = nPosition * MatTransparency + vec4(Wind, 0) + Scale[1] + Unknown; } }
fragment ps { void main() { nFragColor = MatDiffuse * float(CullMode); } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; } }
)");
    nInstanceStream::Declaration decl;
    EXPECT_EQ(s->CreateInstanceDeclaration(decl), 2);
    ASSERT_EQ(decl.Size(), 2);
    EXPECT_EQ(decl[0].param, nShaderState::MatTransparency);
    EXPECT_EQ(decl[0].type, nShaderState::Float);
    EXPECT_EQ(decl[1].param, nShaderState::Wind);
    EXPECT_EQ(decl[1].type, nShaderState::Float4);
    for (const char* name : {"CullMode", "Scale", "Unknown"})
    {
        EXPECT_NE(this->log.text.find(std::string("Invalid data type for instance parameter '") + name + "'"),
                  std::string::npos)
            << name;
    }
}
