//------------------------------------------------------------------------------
//  The render path on the recording graphics server: what a file builds,
//  one frame as the scene server drives it, render-target sizes, the
//  full-screen quad, bucket indices and the fatal faults.
//------------------------------------------------------------------------------
#include "rpfixture.h"
#include "util/assertdeath.h"

#include <string>
#include <vector>

namespace
{

const char* const TwoPassFile = R"(<?xml version="1.0"?>
<RenderPath name="test" shaderpath="home:shaders">
  <RenderTarget name="Half" format="A8R8G8B8" relSize="0.5"/>
  <RenderTarget name="Fixed" format="X8R8G8B8" width="640" height="480"/>
  <Float4 name="Tint" value="1 0.5 0.25 1"/>
  <Pass name="scene" renderTarget="Fixed" clearColor="0.1 0.2 0.3 1" clearDepth="0.5"
        shader="pass.fx" technique="t0" drawQuad="true">
    <Float4 name="MatDiffuse" variable="Tint"/>
    <Float name="Time" value="2.5"/>
    <Phase name="opaque" shader="phase.fx" fourcc="colr" sort="FrontToBack" technique="ph">
      <Sequence shader="a.fx"/>
      <Sequence shader="b.fx"/>
    </Phase>
  </Pass>
  <Pass name="gui" clearDepth="1" drawGui="yes"/>
</RenderPath>
)";

/// the calls without the transform updates (the quad's pushes and pops)
std::vector<std::string> WithoutTransforms(const std::vector<std::string>& calls)
{
    std::vector<std::string> out;
    for (const std::string& c : calls)
    {
        if (0 != c.compare(0, 13, "SetTransform ")) out.push_back(c);
    }
    return out;
}

/// a file with one pass and one phase holding the given sequence shaders
std::string SequencesFile(const std::vector<std::string>& shaders)
{
    std::string text = R"(<RenderPath name="n" shaderpath="s"><Pass name="p">)"
                       R"(<Phase name="ph" shader="phase.fx" fourcc="colr" sort="None">)";
    for (const std::string& s : shaders) text += "<Sequence shader=\"" + s + "\"/>";
    return text + "</Phase></Pass></RenderPath>";
}

/*
 * DrawFrame --
 *     Results: the number of passes drawn.
 *     Side effects: one frame of every pass, phase and sequence, as the
 *     scene server drives it; every sequence must have its shader.
 */
int DrawFrame(nRenderPath2* rp)
{
    const int numPasses = rp->Begin();
    for (int p = 0; p < numPasses; p++)
    {
        nRpPass& pass = rp->GetPass(p);
        const int numPhases = pass.Begin();
        for (int ph = 0; ph < numPhases; ph++)
        {
            nRpPhase& phase = pass.GetPhase(ph);
            const int numSequences = phase.Begin();
            for (int s = 0; s < numSequences; s++)
            {
                EXPECT_NE(phase.GetSequence(s).GetShader(), nullptr);
            }
            phase.End();
        }
        pass.End();
    }
    rp->End();
    return numPasses;
}

}  // namespace

TEST_F(RenderPathTest, FileBuildsTargetsVariablesPassesPhasesAndSequences)
{
    ASSERT_TRUE(this->OpenText(TwoPassFile)) << this->log.text;
    EXPECT_STREQ(this->rp->GetName().Get(), "test");
    EXPECT_STREQ(this->rp->GetShaderPath().Get(), "home:shaders");

    // relative size on the 800x600 display, and a fixed size, both created at once
    ASSERT_EQ(this->rp->GetNumRenderTargets(), 2);
    EXPECT_TRUE(this->gfx->Has("NewRenderTarget 400x300 2 8"));
    EXPECT_TRUE(this->gfx->Has("NewRenderTarget 640x480 1 8"));
    EXPECT_NE(this->rp->FindRenderTarget("Fixed"), nullptr);
    EXPECT_EQ(this->rp->FindRenderTarget("fixed"), nullptr);

    const nVariable* tint = this->Global("Tint");
    ASSERT_NE(tint, nullptr);
    EXPECT_EQ(tint->GetType(), nVariable::Vector4);
    EXPECT_FLOAT_EQ(tint->GetVector4().y, 0.5f);
    EXPECT_EQ(this->rp->GetNumVariableHandles(), 1);

    ASSERT_EQ(this->rp->GetNumPasses(), 2);
    const nRpPass& scene = this->rp->GetPass(0);
    EXPECT_STREQ(scene.GetRenderTargetName().Get(), "Fixed");
    EXPECT_EQ(scene.GetClearFlags(), 3);
    EXPECT_FLOAT_EQ(scene.GetClearColor().z, 0.3f);
    EXPECT_FLOAT_EQ(scene.GetClearDepth(), 0.5f);
    EXPECT_TRUE(scene.GetDrawQuad());
    EXPECT_FALSE(scene.GetDrawGui());
    EXPECT_STREQ(scene.GetTechnique().Get(), "t0");
    // a bound parameter starts as an empty value of its type
    ASSERT_TRUE(scene.GetShaderParams().IsParameterValid(nShaderState::MatDiffuse));
    EXPECT_EQ(scene.GetShaderParams().GetArg(nShaderState::MatDiffuse).GetType(), nShaderState::Float4);
    EXPECT_FLOAT_EQ(scene.GetShaderParams().GetArg(nShaderState::Time).GetFloat(), 2.5f);
    ASSERT_EQ(scene.GetVariableBindings().GetNumVariables(), 1);
    EXPECT_EQ(scene.GetVariableBindings().GetVariableAt(0).GetInt(), int(nShaderState::MatDiffuse));

    ASSERT_EQ(scene.GetNumPhases(), 1);
    const nRpPhase& phase = scene.GetPhase(0);
    EXPECT_EQ(phase.GetFourCC(), 0x726C6F63u);
    EXPECT_EQ(phase.GetSortingOrder(), nRpPhase::FrontToBack);
    ASSERT_EQ(phase.GetNumSequences(), 2);
    EXPECT_STREQ(phase.GetSequence(1).GetShaderPath().Get(), "b.fx");

    const nRpPass& gui = this->rp->GetPass(1);
    EXPECT_TRUE(gui.GetRenderTargetName().IsEmpty());
    EXPECT_EQ(gui.GetClearFlags(), 2);
    EXPECT_TRUE(gui.GetDrawGui());
}

// One frame walked as the scene server walks it: passes, phases and the
// sequences' shaders (an empty bucket draws nothing of its own).
TEST_F(RenderPathTest, OneFrameCallsInOrder)
{
    ASSERT_TRUE(this->OpenText(TwoPassFile)) << this->log.text;
    int guiDrawn = 0;
    this->rp->SetGuiRenderer([&]() {
        guiDrawn++;
        this->gfx->calls.push_back("RenderGui");
    });
    this->Forget();

    EXPECT_EQ(DrawFrame(this->rp.get()), 2);

    const std::vector<std::string> expected = {
        "SetRenderTarget Fixed", "BeginScene", "Clear 3",
        "Shader pass.fx SetTechnique t0", "Shader pass.fx SetParams 2", "SetShader pass_fx",
        "Shader pass.fx Begin 1", "Shader pass.fx BeginPass 0",
        "SetMesh _rpmesh", "DrawIndexedNS 3 vertices 0 4 indices 0 6", "SetMesh null",
        "Shader phase.fx SetTechnique ph", "SetShader phase_fx", "Shader phase.fx Begin 1",
        "Shader phase.fx BeginPass 0", "Shader phase.fx EndPass", "Shader phase.fx End",
        "Shader pass.fx EndPass", "Shader pass.fx End", "EndScene",
        "SetRenderTarget null", "BeginScene", "Clear 2", "RenderGui", "EndScene"};
    EXPECT_EQ(WithoutTransforms(this->Calls()), expected);
    EXPECT_EQ(guiDrawn, 1);
    // the quad's transforms are restored
    EXPECT_EQ(this->gfx->Count("SetTransform 0"), 2);
}

TEST_F(RenderPathTest, AnObjectHoldingTheQuadsPooledNameLeavesTheQuadOutReportedOnce)
{
    this->ks->New("nroot", "/sys/share/rsrc/mesh/_rpmesh");
    ASSERT_TRUE(this->OpenText(TwoPassFile)) << this->log.text;
    this->log.text.clear();
    for (int frame = 0; frame < 2; frame++)
    {
        SCOPED_TRACE(frame);
        this->Forget();
        this->rp->Validate();
        EXPECT_EQ(DrawFrame(this->rp.get()), 2);
        EXPECT_EQ(this->gfx->Count("DrawIndexedNS"), 0);
        EXPECT_EQ(this->gfx->Count("Shader phase.fx Begin 1"), 1);
    }
    EXPECT_EQ(this->rp->GetPass(0).GetQuadMesh(), nullptr);
    const std::string report = "pass 'scene' has no full-screen quad mesh '_rpmesh' and draws none";
    const size_t first = this->log.text.find(report);
    EXPECT_NE(first, std::string::npos) << this->log.text;
    EXPECT_EQ(this->log.text.find(report, first + 1), std::string::npos) << this->log.text;
}

TEST_F(RenderPathTest, QuadCoversTheTargetWithHalfPixelOffsets)
{
    ASSERT_TRUE(this->OpenText(TwoPassFile)) << this->log.text;
    this->rp->Begin();
    nRpPass& pass = this->rp->GetPass(0);
    pass.Begin();
    pass.End();
    this->rp->End();
    const RpRecordingMesh* mesh = static_cast<RpRecordingMesh*>(pass.GetQuadMesh());
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetUsage(), nMesh2::WriteOnly);
    EXPECT_EQ(mesh->GetVertexComponents(), nMesh2::Coord | nMesh2::Uv0);
    ASSERT_EQ(mesh->vertices.size(), 20u);
    const float px = 1.0f / 640.0f, py = 1.0f / 480.0f;
    const float expected[20] = {-1, 1, 0, px / 2, py / 2,
                                -1, -1 + py, 0, px / 2, 1 - py / 2,
                                1 - px, 1, 0, 1 - px / 2, py / 2,
                                1 - px, -1 + py, 0, 1 - px / 2, 1 - py / 2};
    for (int i = 0; i < 20; i++) EXPECT_FLOAT_EQ(mesh->vertices[i], expected[i]) << i;
    EXPECT_EQ(mesh->indices, (std::vector<ushort>{0, 1, 2, 1, 3, 2}));
    // every pass shares the one quad
    EXPECT_EQ(this->rp->GetPass(1).GetQuadMesh(), pass.GetQuadMesh());
}

TEST_F(RenderPathTest, RenderTargetSizes)
{
    struct Case
    {
        const char* attrs;
        const char* created;
    } cases[] = {
        {R"(relSize="0.5")", "NewRenderTarget 400x300 1 8"},
        {R"(width="512")", "NewRenderTarget 800x600 1 8"},       // no height: both from the display
        {R"(width="512" height="256")", "NewRenderTarget 512x256 1 8"},
        {R"(relSize="0")", "NewRenderTarget 1x1 1 8"},            // never below one pixel
        {R"(relSize="-3")", "NewRenderTarget 1x1 1 8"},
        {R"(relSize="1e30")", "NewRenderTarget 16384x16384 1 8"}, // no int overflow
    };
    for (const Case& c : cases)
    {
        this->Forget();
        ASSERT_TRUE(this->OpenText(std::string(R"(<RenderPath name="n" shaderpath="s"><RenderTarget name="rt" )"
                                               R"(format="X8R8G8B8" )") +
                                   c.attrs + "/></RenderPath>"))
            << c.attrs;
        EXPECT_TRUE(this->gfx->Has(c.created)) << c.attrs << ": " << (this->Calls().empty() ? "" : this->Calls()[0]);
        this->rp->Close();
    }
}

TEST_F(RenderPathTest, SequencesGetBucketIndicesInOrderAndSharedShadersTheLastOne)
{
    ASSERT_TRUE(this->OpenText(SequencesFile({"a.fx", "b.fx", "a.fx", "c.fx"}))) << this->log.text;
    this->rp->Validate();
    const nRpPhase& phase = this->rp->GetPass(0).GetPhase(0);
    EXPECT_EQ(phase.GetSequence(0).GetShader(), phase.GetSequence(2).GetShader());
    EXPECT_EQ(phase.GetSequence(0).GetShader()->GetShaderIndex(), 2);
    EXPECT_EQ(phase.GetSequence(1).GetShader()->GetShaderIndex(), 1);
    EXPECT_EQ(phase.GetSequence(3).GetShader()->GetShaderIndex(), 3);
    // the phase shader is no bucket
    EXPECT_EQ(phase.GetShader()->GetShaderIndex(), -1);
    // validating again gives out nothing new
    this->rp->Validate();
    EXPECT_EQ(phase.GetSequence(3).GetShader()->GetShaderIndex(), 3);

    // a new open starts at bucket 0 again
    this->rp->Close();
    ASSERT_TRUE(this->OpenText(SequencesFile({"d.fx"})));
    this->rp->Validate();
    EXPECT_EQ(this->rp->GetPass(0).GetPhase(0).GetSequence(0).GetShader()->GetShaderIndex(), 0);
}

TEST_F(RenderPathTest, ThirtyTwoSequenceShadersFitAndTheThirtyThirdIsFatal)
{
    std::vector<std::string> shaders;
    for (int i = 0; i < 32; i++) shaders.push_back("s" + std::to_string(i) + ".fx");
    ASSERT_TRUE(this->OpenText(SequencesFile(shaders)));
    this->rp->Validate();
    EXPECT_EQ(this->rp->GetPass(0).GetPhase(0).GetSequence(31).GetShader()->GetShaderIndex(), 31);
    this->rp->Close();

    shaders.push_back("extra.fx");
    ASSERT_TRUE(this->OpenText(SequencesFile(shaders)));
    EXPECT_FATAL(this->rp->Validate(), "shader 'extra.fx' is sequence shader number 33");
}

TEST_F(RenderPathTest, PassWhoseSceneDoesNotBeginDrawsNothing)
{
    ASSERT_TRUE(this->OpenText(TwoPassFile)) << this->log.text;
    this->rp->Begin();
    this->gfx->failBeginScene = true;
    this->Forget();
    nRpPass& pass = this->rp->GetPass(0);
    EXPECT_EQ(pass.Begin(), 0);
    pass.End();
    this->rp->End();
    EXPECT_EQ(this->Calls(), (std::vector<std::string>{"SetRenderTarget Fixed", "BeginScene failed"}));
}

TEST_F(RenderPathTest, BoundVariablesArePickedUpEveryFrame)
{
    ASSERT_TRUE(this->OpenText(R"(<RenderPath name="n" shaderpath="s">
      <Pass name="p" shader="pass.fx">
        <Float name="Time" variable="t"/><Int name="CullMode" variable="c"/>
        <Texture name="DiffMap0" variable="tex"/><Float4 name="MatDiffuse" variable="v"/>
      </Pass>
      <Float name="t" value="1"/><Int name="c" value="2"/><Float4 name="v" value="1 2 3 4"/>
      <Texture name="tex" value="white.dds"/>
    </RenderPath>)"))
        << this->log.text;
    nRpPass& pass = this->rp->GetPass(0);
    this->rp->Validate();
    auto* shader = static_cast<RpRecordingShader*>(pass.GetShader());
    nVariableServer* vs = nVariableServer::Instance();

    vs->SetFloatVariable(vs->FindVariableHandleByName("t"), 7.5f);
    pass.Begin();
    pass.End();
    EXPECT_FLOAT_EQ(shader->lastParams.GetArg(nShaderState::Time).GetFloat(), 7.5f);
    EXPECT_EQ(shader->lastParams.GetArg(nShaderState::CullMode).GetInt(), 2);
    EXPECT_FLOAT_EQ(shader->lastParams.GetArg(nShaderState::MatDiffuse).GetFloat4().w, 4.0f);
    nTexture2* tex = shader->lastParams.GetArg(nShaderState::DiffMap0).GetTexture();
    ASSERT_NE(tex, nullptr);
    EXPECT_STREQ(tex->GetFilename().Get(), "white.dds");

    // an object that is no texture is reported and the parameter keeps its value
    this->Global("tex")->SetObj(this->gfx);
    vs->SetFloatVariable(vs->FindVariableHandleByName("t"), 8.5f);
    pass.Begin();
    pass.End();
    EXPECT_EQ(shader->lastParams.GetArg(nShaderState::DiffMap0).GetTexture(), tex);
    EXPECT_FLOAT_EQ(shader->lastParams.GetArg(nShaderState::Time).GetFloat(), 8.5f);
    EXPECT_NE(this->log.text.find("the variable 'tex' bound as a texture holds no texture"), std::string::npos);
}

TEST_F(RenderPathTest, CloseReleasesShadersMeshAndTargets)
{
    ASSERT_TRUE(this->OpenText(TwoPassFile));
    this->rp->Validate();
    nRef<nShader2> shader(this->rp->GetPass(0).GetShader());
    nRef<nMesh2> quad(this->rp->GetPass(0).GetQuadMesh());
    nRef<nTexture2> target(this->rp->FindRenderTarget("Fixed")->GetTexture());
    this->rp->Close();
    EXPECT_FALSE(shader.isvalid());
    EXPECT_FALSE(quad.isvalid());
    EXPECT_FALSE(target.isvalid());
}

TEST_F(RenderPathTest, ShaderThatDoesNotLoadIsFatal)
{
    ASSERT_TRUE(this->OpenText(TwoPassFile));
    this->gfx->FailLoadsOf("phase.fx");
    EXPECT_FATAL(this->rp->Validate(), "nRpPass: could not load shader 'phase.fx'!");
}

TEST_F(RenderPathTest, PassShaderOfTwoPassesIsFatal)
{
    ASSERT_TRUE(this->OpenText(TwoPassFile));
    this->gfx->shaderPasses = 2;
    this->rp->Begin();
    EXPECT_FATAL(this->rp->GetPass(0).Begin(), "shader 'pass.fx' has 2 passes");
    this->rp->End();
}

TEST_F(RenderPathTest, RenderTargetThatCannotBeCreatedIsFatal)
{
    this->gfx->failRenderTargets = true;
    EXPECT_FATAL(this->OpenText(TwoPassFile), "could not create render target 'Half' \\(400x300\\)");
}

TEST_F(RenderPathTest, SecondInstanceAndNestedBeginAreAssertions)
{
    EXPECT_ASSERT_DEATH(nRenderPath2 second, "0 == Singleton");
    ASSERT_TRUE(this->OpenText(TwoPassFile));
    this->rp->Begin();
    EXPECT_ASSERT_DEATH(this->rp->Begin(), "!this->inBegin");
    this->rp->End();
    EXPECT_ASSERT_DEATH(this->rp->End(), "this->inBegin");
}
