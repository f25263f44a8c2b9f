//------------------------------------------------------------------------------
//  The scene server on the recording graphics server: groups of nested
//  nodes, the split into buckets and lights, the sort by priority, node and
//  distance, the call order of one frame through a two-pass render path,
//  an empty frame, and the faults of Open.
//------------------------------------------------------------------------------
#include "scenefixture.h"
#include "rpgfxserver.h"
#include "scene/nmrtsceneserver.h"
#include "scene/nshapenode.h"
#include "kernel/nenv.h"
#include "util/assertdeath.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace
{

const char* const TwoPassPath = R"(<RenderPath name="t" shaderpath="tst:">
  <Pass name="scene" clearColor="0 0 0 1" shader="shaders:pass.fx">
    <Phase name="opaque" shader="shaders:phase.fx" fourcc="colr" sort="FrontToBack">
      <Sequence shader="shaders:a.fx"/>
      <Sequence shader="shaders:b.fx"/>
    </Phase>
  </Pass>
  <Pass name="gui" clearDepth="1" drawGui="true"/>
</RenderPath>
)";

/// the index in calls of the first call beginning with each expected text,
/// searched in order; -1 from the first that is missing on
std::vector<int> FindInOrder(const std::vector<std::string>& calls, const std::vector<std::string>& expected)
{
    std::vector<int> found;
    size_t from = 0;
    for (const std::string& e : expected)
    {
        int at = -1;
        for (size_t i = from; i < calls.size(); i++)
        {
            if (0 == calls[i].compare(0, e.size(), e))
            {
                at = int(i);
                from = i + 1;
                break;
            }
        }
        found.push_back(at);
        if (at < 0) from = calls.size();
    }
    return found;
}

/// how many calls begin with the text
int Count(const std::vector<std::string>& calls, const std::string& prefix)
{
    int n = 0;
    for (const std::string& c : calls) n += (0 == c.compare(0, prefix.size(), prefix)) ? 1 : 0;
    return n;
}

}  // namespace

class SceneServerTest : public SceneTest
{
protected:
    SceneServerTest()
    {
        this->gfxClass = "nscenetestgfx";
        this->sceneClass = "nmrtsceneserver";
        this->renderPathText = TwoPassPath;
    }

    /// a shape drawn with the shader, at a position, with a render priority
    nShapeNode* MakeShape(const std::string& path, const char* shader, float x = 0.0f, int pri = 0)
    {
        New<nShapeNode>("nshapenode", path.c_str());
        Ok(path + ".setshader colr " + shader);
        Ok(path + ".setmesh meshes:arm.n3d2");
        Ok(path + ".setposition " + std::to_string(x) + " 0 0");
        Ok(path + ".setrenderpri " + std::to_string(pri));
        return static_cast<nShapeNode*>(ks->Lookup(path.c_str()));
    }
    /// one frame of the contexts, as the application drives it (it
    /// validates the render path before each frame)
    void Frame(std::vector<nRenderContext*> contexts, const matrix44& camera = matrix44())
    {
        scene->GetRenderPath()->Validate();
        ASSERT_TRUE(scene->BeginScene(camera));
        for (nRenderContext* ctx : contexts) scene->Attach(ctx);
        scene->RenderScene();
        scene->EndScene();
        scene->PresentScene();
    }
    std::vector<std::string>& Calls() { return gfx->calls; }
    /// the nodes of a bucket's groups, in order
    std::vector<nSceneNode*> BucketNodes(int b) const
    {
        std::vector<nSceneNode*> out;
        for (int i : scene->GetBucket(b)) out.push_back(scene->GetGroupAt(i).sceneNode);
        return out;
    }
    /// the x translation of a bucket's groups, in order
    std::vector<float> BucketX(int b) const
    {
        std::vector<float> out;
        for (int i : scene->GetBucket(b)) out.push_back(scene->GetGroupAt(i).modelTransform.pos_component().x);
        return out;
    }
};

TEST_F(SceneServerTest, OneFrameLightsFirstThenPassesPhasesSequencesAndTheOverlay)
{
    nTransformNode* root = New<nTransformNode>("ntransformnode", "/m");
    New<nSceneNode>("nlightnode", "/m/light");
    MakeShape("/m/shape", "shaders:a.fx");
    nRenderContext ctx;
    SetupContext(ctx, root, 0.0f);
    int guiDrawn = 0;
    scene->GetRenderPath()->SetGuiRenderer([&] {
        guiDrawn++;
        Calls().push_back("Gui");
    });
    Frame({&ctx});  // the first frame loads; the second must draw the same way
    gfx->calls.clear();
    Frame({&ctx});
    EXPECT_EQ(guiDrawn, 2);
    const std::vector<std::string> frame = Calls();
    const std::vector<int> at = FindInOrder(
        frame, {"AddLight", "BeginScene", "Clear", "Shader shaders:pass.fx Begin", "Shader shaders:phase.fx Begin",
                "Shader shaders:a.fx Begin 0", "Shader shaders:a.fx BeginPass 0", "SetShader", "SetMesh", "Draw",
                "Shader shaders:a.fx EndPass", "Shader shaders:a.fx End", "EndScene", "BeginScene", "Clear", "Gui",
                "EndScene", "BeginScene", "DrawTextBuffer", "EndScene", "PresentScene"});
    for (size_t i = 0; i < at.size(); i++) EXPECT_GE(at[i], 0) << "step " << i << " of\n" << ::testing::PrintToString(frame);
    // b.fx has no group: its sequence draws nothing
    EXPECT_EQ(Count(frame, "Shader shaders:b.fx Begin"), 0);
    EXPECT_EQ(Count(frame, "PresentScene"), 1);
    nEnv* groupsVar = static_cast<nEnv*>(ks->Lookup("/sys/var/sceneInstanceGroups"));
    nEnv* instancesVar = static_cast<nEnv*>(ks->Lookup("/sys/var/sceneInstances"));
    ASSERT_NE(groupsVar, nullptr);
    ASSERT_NE(instancesVar, nullptr);
    EXPECT_EQ(groupsVar->GetI(), 1);
    EXPECT_EQ(instancesVar->GetI(), 1);
    ctx.GetRootNode()->RenderContextDestroyed(&ctx);
}

TEST_F(SceneServerTest, AnEmptyFrameStillClearsAndDrawsTheGui)
{
    int guiDrawn = 0;
    scene->GetRenderPath()->SetGuiRenderer([&] { guiDrawn++; });
    gfx->calls.clear();
    Frame({});
    EXPECT_EQ(guiDrawn, 1);
    EXPECT_EQ(Count(Calls(), "Clear"), 2);
    EXPECT_EQ(Count(Calls(), "Shader shaders:a.fx"), 0);
    EXPECT_EQ(Count(Calls(), "PresentScene"), 1);
    EXPECT_EQ(static_cast<nEnv*>(ks->Lookup("/sys/var/sceneInstances"))->GetI(), 0);
}

TEST_F(SceneServerTest, NestedNodesGiveParentIndicesAndCarryTheContextsTranslation)
{
    New<nTransformNode>("ntransformnode", "/a");
    New<nTransformNode>("ntransformnode", "/a/b");
    New<nTransformNode>("ntransformnode", "/a/b/c");
    New<nTransformNode>("ntransformnode", "/a/b/c/d");
    Ok("/a/b/c/d.setposition 0 1 0");
    nRenderContext ctx;
    SetupContext(ctx, static_cast<nSceneNode*>(ks->Lookup("/a")), 0.0f);
    matrix44 m;
    m.translate(vector3(5.0f, 0.0f, 0.0f));
    ctx.SetTransform(m);
    ASSERT_TRUE(scene->BeginScene(matrix44()));
    scene->Attach(&ctx);
    scene->EndScene();
    ASSERT_EQ(scene->GetNumGroups(), 4);
    for (int i = 0; i < 4; i++)
    {
        EXPECT_EQ(scene->GetGroupAt(i).parentIndex, i - 1);
        EXPECT_FLOAT_EQ(scene->GetGroupAt(i).modelTransform.pos_component().x, 5.0f);
    }
    EXPECT_FLOAT_EQ(scene->GetGroupAt(3).modelTransform.pos_component().y, 1.0f);

    // an inactive node adds no group
    Ok("/a.setactive false");
    ASSERT_TRUE(scene->BeginScene(matrix44()));
    scene->Attach(&ctx);
    scene->EndScene();
    EXPECT_EQ(scene->GetNumGroups(), 0);
    ctx.GetRootNode()->RenderContextDestroyed(&ctx);
}

TEST_F(SceneServerTest, AModelNestedDeeperThanTheGroupStackLeavesItsDeepNodesOutOnceReported)
{
    // 70 nested transform nodes with a shape at the bottom and one near the top
    std::string path = "/deep";
    New<nTransformNode>("ntransformnode", path.c_str());
    MakeShape(path + "/top", "shaders:a.fx");
    for (int i = 1; i < 70; i++)
    {
        path += "/n";
        New<nTransformNode>("ntransformnode", path.c_str());
    }
    MakeShape(path + "/bottom", "shaders:a.fx");
    nRenderContext ctx;
    SetupContext(ctx, static_cast<nSceneNode*>(ks->Lookup("/deep")), 0.0f);
    TakeLog();
    for (int frame = 0; frame < 2; frame++)
    {
        SCOPED_TRACE(frame);
        Frame({&ctx});
        const int maxDepth = nSceneServer::MaxHierarchyDepth;
        ASSERT_EQ(scene->GetNumGroups(), maxDepth + 1);
        EXPECT_EQ(scene->GetGroupAt(maxDepth).parentIndex, maxDepth - 1);
        EXPECT_THAT(BucketNodes(0), ElementsAre(ks->Lookup("/deep/top")));
        const std::string log = TakeLog();
        if (0 == frame) EXPECT_THAT(log, HasSubstr("is nested deeper than 64 transform nodes"));
        else EXPECT_THAT(log, ::testing::Not(HasSubstr("nested deeper")));
    }
    ctx.GetRootNode()->RenderContextDestroyed(&ctx);
}

TEST_F(SceneServerTest, BucketsSortByPriorityThenNodeThenDistance)
{
    nShapeNode* near = MakeShape("/near", "shaders:a.fx", 0.0f, 0);
    nShapeNode* first = MakeShape("/first", "shaders:a.fx", 50.0f, -5);
    // two contexts of the same node: the nearer drawn first
    nRenderContext far1, far2, c3;
    SetupContext(far1, near, 0.0f);
    SetupContext(far2, near, 0.0f);
    SetupContext(c3, first, 0.0f);
    matrix44 m;
    m.translate(vector3(30.0f, 0.0f, 0.0f));
    far1.SetTransform(m);
    m.ident();
    m.translate(vector3(2.0f, 0.0f, 0.0f));
    far2.SetTransform(m);
    Frame({&far1, &c3, &far2});
    const int b = first->GetShaderObject(ColrPass)->GetShaderIndex();
    EXPECT_EQ(b, 0);
    EXPECT_THAT(BucketNodes(b), ElementsAre(first, near, near));
    EXPECT_THAT(BucketX(b), ElementsAre(50.0f, 2.0f, 30.0f));
    // one node change per node, one draw per group
    EXPECT_EQ(static_cast<nMRTSceneServer*>(scene)->GetNumInstanceGroups(), 2);
    EXPECT_EQ(static_cast<nMRTSceneServer*>(scene)->GetNumInstances(), 3);
    // seen from the other side, the order of one node's groups turns
    m.ident();
    m.translate(vector3(100.0f, 0.0f, 0.0f));
    Frame({&far1, &c3, &far2}, m);
    EXPECT_THAT(BucketX(b), ElementsAre(50.0f, 30.0f, 2.0f));
    for (nRenderContext* c : {&far1, &far2, &c3}) c->GetRootNode()->RenderContextDestroyed(c);
}

TEST_F(SceneServerTest, ASortOfManyEqualGroupsKeepsNodesTogether)
{
    // many groups at one distance: a comparison that is not a strict weak
    // ordering would break std::sort here
    nShapeNode* a = MakeShape("/a", "shaders:a.fx");
    nShapeNode* b = MakeShape("/b", "shaders:a.fx");
    std::vector<nRenderContext> ctxs(200);
    std::vector<nRenderContext*> ptrs;
    for (size_t i = 0; i < ctxs.size(); i++)
    {
        SetupContext(ctxs[i], (i % 2) ? a : b, 0.0f);
        ptrs.push_back(&ctxs[i]);
    }
    Frame(ptrs);
    const std::vector<nSceneNode*> nodes = BucketNodes(0);
    ASSERT_EQ(nodes.size(), 200u);
    int changes = 0;
    for (size_t i = 1; i < nodes.size(); i++) changes += (nodes[i] != nodes[i - 1]) ? 1 : 0;
    EXPECT_EQ(changes, 1);
    for (nRenderContext& c : ctxs) c.GetRootNode()->RenderContextDestroyed(&c);
}

TEST_F(SceneServerTest, AShaderTheRenderPathDoesNotUseIsReportedAndNotDrawn)
{
    nShapeNode* shape = MakeShape("/s", "shaders:other.fx");
    nRenderContext ctx;
    SetupContext(ctx, shape, 0.0f);
    TakeLog();
    gfx->calls.clear();
    Frame({&ctx});
    EXPECT_THAT(TakeLog(), HasSubstr("Trying to render shader 'shaders:other.fx' through scene server,\n"
                                     "which is not defined in renderpath xml file!\n"));
    EXPECT_EQ(Count(Calls(), "Draw"), Count(Calls(), "DrawTextBuffer"));
    Frame({&ctx});
    EXPECT_THAT(TakeLog(), Not(HasSubstr("Trying to render shader"))) << "reported once, not every frame";
    ctx.GetRootNode()->RenderContextDestroyed(&ctx);
}

TEST_F(SceneServerTest, CommandsSetAndGetTheRenderPathFile)
{
    EXPECT_EQ(Ok("/sys/servers/scene.getrenderpathfilename"), "tst:renderpath.xml");
    Ok("/sys/servers/scene.setrenderpathfilename tst:other.xml");
    EXPECT_EQ(Ok("/sys/servers/scene.getrenderpathfilename"), "tst:other.xml");
    Fails("/sys/servers/scene.setrenderpathfilename");
}

TEST_F(SceneServerTest, ViewIsTheInverseOfTheViewer)
{
    matrix44 viewer;
    viewer.translate(vector3(1.0f, 2.0f, 3.0f));
    ASSERT_TRUE(scene->BeginScene(viewer));
    scene->EndScene();
    EXPECT_FLOAT_EQ(gfx->GetTransform(nGfxServer2::View).pos_component().z, -3.0f);
    // a singular viewer is used as it stands
    matrix44 flat;
    flat.scale(vector3(0.0f, 1.0f, 1.0f));
    ASSERT_TRUE(scene->BeginScene(flat));
    scene->EndScene();
    EXPECT_FLOAT_EQ(gfx->GetTransform(nGfxServer2::View).m[0][0], 0.0f);
}

TEST_F(SceneServerTest, FaultsOfTheFrameAndOfOpen)
{
    // a script asking for a second one is refused, not fatal
    EXPECT_EQ(ks->NewNoFail("nmrtsceneserver", "/second"), nullptr);
    EXPECT_EQ(ks->NewNoFail("nsceneserver", "/second"), nullptr);
    EXPECT_ASSERT_DEATH(scene->Open(), "!this->isOpen");
    nRenderContext empty;
    ASSERT_TRUE(scene->BeginScene(matrix44()));
    EXPECT_ASSERT_DEATH(scene->BeginScene(matrix44()), "!this->inBeginScene");
    EXPECT_ASSERT_DEATH(scene->Attach(&empty), "rootNode");
    scene->EndScene();

    // a render-path file that cannot be read or built stops with its name
    scene->Close();
    scene->SetRenderPathFilename("tst:missing.xml");
    EXPECT_FATAL(scene->Open(), "could not open render path file 'tst:missing.xml'");
    scene->SetRenderPathFilename(WriteTemp("bad.xml", R"(<RenderPath name="x" shaderpath="s"><Pass name="p" renderTarget="Nowhere"/></RenderPath>)").c_str());
    EXPECT_FATAL(scene->Open(), "could not open render path file 'tst:bad.xml'");
}
