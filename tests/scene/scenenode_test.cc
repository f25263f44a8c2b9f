//------------------------------------------------------------------------------
//  Scene nodes, transform nodes and render contexts: their commands, what
//  they save, how a tree attaches, and what they do with objects in the
//  tree that are no scene nodes.
//------------------------------------------------------------------------------
#include "scenefixture.h"

#include "scene/ntransformnode.h"
#include "scene/nmaterialnode.h"
#include "kernel/nenv.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::Not;

TEST_F(SceneTest, LocalBoxCommandsTakeAndGiveCentreAndExtents)
{
    nSceneNode* node = New<nSceneNode>("nscenenode", "/n");
    Ok("/n.setlocalbox 0 0 0 1 2 3");
    EXPECT_FLOAT_EQ(node->GetLocalBox().vmin.x, -1.0f);
    EXPECT_FLOAT_EQ(node->GetLocalBox().vmin.y, -2.0f);
    EXPECT_FLOAT_EQ(node->GetLocalBox().vmin.z, -3.0f);
    EXPECT_FLOAT_EQ(node->GetLocalBox().vmax.z, 3.0f);
    EXPECT_EQ(Ok("/n.getlocalbox"), "0.0 0.0 0.0 1.0 2.0 3.0");
}

TEST_F(SceneTest, EulerCommandsAreDegreesAndTheNodeKeepsRadians)
{
    nTransformNode* node = New<nTransformNode>("ntransformnode", "/t");
    Ok("/t.seteuler 90 0 0");
    EXPECT_EQ(node->GetEuler().x, 1.5707964f);
    EXPECT_EQ(Ok("/t.geteuler"), "90.0 0.0 0.0");
    Ok("/t.seteulerz 45");
    EXPECT_EQ(Ok("/t.geteuler"), "90.0 0.0 45.0");
}

TEST_F(SceneTest, SetPosXReplacesOnlyX)
{
    New<nTransformNode>("ntransformnode", "/t");
    Ok("/t.setposition 1 2 3");
    Ok("/t.setposx 5");
    EXPECT_EQ(Ok("/t.getposition"), "5.0 2.0 3.0");
}

TEST_F(SceneTest, AFreshTransformNodeSavesNoTransformCommand)
{
    nTransformNode* node = New<nTransformNode>("ntransformnode", "/t");
    ASSERT_TRUE(node->SaveAs("tst:fresh.n2"));
    const std::string text = ReadFile("tst:fresh.n2");
    EXPECT_THAT(text, HasSubstr("$class:ntransformnode$"));
    EXPECT_THAT(text, Not(HasSubstr(".set")));
}

TEST_F(SceneTest, TheRotationIsSavedInTheModeItWasLastSetIn)
{
    New<nTransformNode>("ntransformnode", "/q");
    Ok("/q.seteuler 10 0 0");
    Ok("/q.setquat 0 0 0.7071068 0.7071068");
    ASSERT_TRUE(ks->Lookup("/q")->SaveAs("tst:q.n2"));
    EXPECT_THAT(ReadFile("tst:q.n2"), HasSubstr(".setquat"));
    EXPECT_THAT(ReadFile("tst:q.n2"), Not(HasSubstr(".seteuler")));

    New<nTransformNode>("ntransformnode", "/e");
    Ok("/e.setquat 0 0 0.7071068 0.7071068");
    Ok("/e.seteuler 10 0 0");
    ASSERT_TRUE(ks->Lookup("/e")->SaveAs("tst:e.n2"));
    EXPECT_THAT(ReadFile("tst:e.n2"), HasSubstr(".seteuler 10.000000 0.000000 0.000000"));
    EXPECT_THAT(ReadFile("tst:e.n2"), Not(HasSubstr(".setquat")));
}

TEST_F(SceneTest, SavedModelLoadsBackToTheSameTreeAndTheSameFile)
{
    const std::string golden = std::string(ENGINE_SCENE_DATA_DIR) + "/model.n2";
    nSceneNode* first = LoadModel(golden, "/usr/first");
    ASSERT_NE(first, nullptr) << TakeLog();
    EXPECT_EQ(ks->Lookup("/sys/share/rsrc/tex")->GetHead(), nullptr) << "resources load with the first frame";
    EXPECT_EQ(ks->Lookup("/sys/share/rsrc/mesh")->GetHead(), nullptr);
    ASSERT_TRUE(first->SaveAs("tst:first.n2"));
    EXPECT_EQ(ReadFile("tst:first.n2"), ReadFile(golden));

    nSceneNode* second = LoadModel("tst:first.n2", "/usr/second");
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(second->SaveAs("tst:second.n2"));
    EXPECT_EQ(ReadFile("tst:second.n2"), ReadFile("tst:first.n2"));

    nTransformNode* arm = static_cast<nTransformNode*>(ks->Lookup("/usr/second/arm"));
    ASSERT_NE(arm, nullptr);
    EXPECT_EQ(arm->GetEuler().x, 1.5707964f);
    EXPECT_EQ(Ok("/usr/second/arm/shape.getshaderat 0"), "colr shaders:default.fx");
    EXPECT_EQ(Ok("/usr/second/arm/shape.getgroupindex"), "1");
    EXPECT_EQ(Ok("/usr/second.getrenderpri"), "3");

    nRenderContext ctx;
    SetupContext(ctx, second, 1.0f);
    DrawFrame(ctx);
    EXPECT_NEAR(arm->GetEuler().y, 3.1415927f, 1e-5f) << "the spin animator turned the arm half way";
    EXPECT_EQ(gfx->Count("DrawIndexedNS 3 vertices 10 10 indices 30 30"), 1);
    EXPECT_THAT(gfx->calls, ::testing::Contains(HasSubstr("Intensity0=0.999")));
}

TEST_F(SceneTest, ReleasingTheLastReferenceUnloadsTheResourcesFirst)
{
    nMaterialNode* node = New<nMaterialNode>("nmaterialnode", "/m");
    Ok("/m.setshader colr shaders:default.fx");
    Ok("/m.settexture DiffMap0 tex.dds");
    ASSERT_TRUE(node->LoadResources());
    nShader2* shader = node->GetShaderObject(ColrPass);
    ASSERT_NE(shader, nullptr);
    shader->AddRef();
    const int before = shader->GetRefCount();
    node->Release();
    EXPECT_EQ(shader->GetRefCount(), before - 1);
    shader->Release();
}

TEST_F(SceneTest, RemoveAnimatorSkipsPathsThatNoLongerResolve)
{
    nSceneNode* node = New<nSceneNode>("nscenenode", "/n");
    New<nSceneNode>("nanimator", "/n/gone");
    New<nSceneNode>("nanimator", "/n/kept");
    Ok("/n.addanimator gone");
    Ok("/n.addanimator kept");
    ks->Lookup("/n/gone")->Release();

    Ok("/n.removeanimator nosuchname");
    EXPECT_EQ(node->GetNumAnimators(), 2);
    Ok("/n.removeanimator kept");
    ASSERT_EQ(node->GetNumAnimators(), 1);
    EXPECT_STREQ(node->GetAnimatorAt(0), "gone");
}

TEST_F(SceneTest, ADanglingAnimatorPathWarnsOnceAndIsSkipped)
{
    nTransformNode* node = New<nTransformNode>("ntransformnode", "/t");
    Ok("/t.addanimator nowhere");
    Ok("/t.addanimator ../t");  // a transform node, no animator
    nRenderContext ctx;
    SetupContext(ctx, node, 0.0f);
    TakeLog();
    DrawFrame(ctx);
    DrawFrame(ctx);
    const std::string text = TakeLog();
    EXPECT_THAT(text, HasSubstr("animator 'nowhere' not found"));
    EXPECT_THAT(text, HasSubstr("animator '../t' is no animator"));
    EXPECT_EQ(text.find("nowhere"), text.rfind("nowhere")) << text;
}

TEST_F(SceneTest, AnInactiveTransformNodeAttachesNothingOfItsSubtree)
{
    nTransformNode* root = New<nTransformNode>("ntransformnode", "/root");
    nTransformNode* off = New<nTransformNode>("ntransformnode", "/root/off");
    New<nTransformNode>("ntransformnode", "/root/off/child");
    New<nTransformNode>("ntransformnode", "/root/on");
    Ok("/root/off.setactive false");
    nRenderContext ctx;
    SetupContext(ctx, root, 0.0f);
    DrawFrame(ctx);
    ASSERT_EQ(scene->GetNumGroups(), 2);
    EXPECT_EQ(scene->GetGroupAt(1).sceneNode, ks->Lookup("/root/on"));
    EXPECT_EQ(scene->GetGroupAt(1).parentIndex, 0);
    EXPECT_FALSE(off->GetActive());
}

TEST_F(SceneTest, ChildrenAreGroupedUnderTheirParentsTransform)
{
    nTransformNode* root = New<nTransformNode>("ntransformnode", "/root");
    nTransformNode* child = New<nTransformNode>("ntransformnode", "/root/child");
    Ok("/root.setposition 1 0 0");
    Ok("/root.setscale 2 2 2");
    Ok("/root/child.setposition 0 3 0");
    nRenderContext ctx;
    SetupContext(ctx, root, 0.0f);
    matrix44 world;
    world.translate(vector3(0.0f, 0.0f, 10.0f));
    ctx.SetTransform(world);
    DrawFrame(ctx);
    const vector3 pos = GroupTransformOf(child).pos_component();
    EXPECT_FLOAT_EQ(pos.x, 1.0f);
    EXPECT_FLOAT_EQ(pos.y, 6.0f);
    EXPECT_FLOAT_EQ(pos.z, 10.0f);
}

TEST_F(SceneTest, ALockedNodeStaysCentredOnTheViewer)
{
    nTransformNode* node = New<nTransformNode>("ntransformnode", "/sky");
    Ok("/sky.setposition 100 100 100");
    Ok("/sky.setlockviewer true");
    matrix44 viewer;
    viewer.translate(vector3(5.0f, 6.0f, 7.0f));
    nRenderContext ctx;
    SetupContext(ctx, node, 0.0f);
    DrawFrame(ctx, viewer);
    const vector3 pos = GroupTransformOf(node).pos_component();
    EXPECT_FLOAT_EQ(pos.x, 5.0f);
    EXPECT_FLOAT_EQ(pos.y, 6.0f);
    EXPECT_FLOAT_EQ(pos.z, 7.0f);
}

TEST_F(SceneTest, ObjectsThatAreNoSceneNodesArePassedOver)
{
    nTransformNode* root = New<nTransformNode>("ntransformnode", "/root");
    static_cast<nEnv*>(ks->New("nenv", "/root/note"))->SetS("not a node");
    New<nMaterialNode>("nmaterialnode", "/root/mat");
    nRenderContext ctx;
    SetupContext(ctx, root, 0.0f);
    DrawFrame(ctx);
    EXPECT_EQ(scene->GetNumGroups(), 2);
    root->PreloadResources();
    EXPECT_TRUE(static_cast<nSceneNode*>(ks->Lookup("/root/mat"))->AreResourcesValid());
    nInstanceStream::Declaration decl;
    root->UpdateInstanceStreamDecl(decl);
    root->RenderContextDestroyed(&ctx);
}

TEST_F(SceneTest, OutOfRangeValuesInAModelFileAreLoggedAndMadeSane)
{
    const std::string file = WriteTemp("bad.n2",
                                       "# $parser:ntclserver$ $class:nshapenode$\n"
                                       ".setrenderpri 500\n"
                                       ".setuvpos 7 1 1\n"
                                       ".setuvscale -1 2 2\n"
                                       ".setgroupindex -3\n"
                                       ".setmesh cube.n3d2\n"
                                       ".setposition 1 2 3\n");
    nSceneNode* node = LoadModel(file, "/bad");
    ASSERT_NE(node, nullptr) << TakeLog();
    EXPECT_EQ(node->GetRenderPri(), 127);
    EXPECT_EQ(Ok("/bad.getgroupindex"), "0");
    EXPECT_EQ(Ok("/bad.getposition"), "1.0 2.0 3.0");
    const std::string text = TakeLog();
    EXPECT_THAT(text, HasSubstr("render priority 500 outside -127..127, 127 used"));
    EXPECT_THAT(text, HasSubstr("texture stage 7 outside 0..3, ignored"));
    EXPECT_THAT(text, HasSubstr("texture stage -1 outside 0..3, ignored"));
    EXPECT_THAT(text, HasSubstr("group index -3 is negative, 0 used"));

    Ok("/bad.setgroupindex 9");
    nRenderContext ctx;
    SetupContext(ctx, node, 0.0f);
    DrawFrame(ctx);
    EXPECT_THAT(TakeLog(), HasSubstr("has no group 9, group 0 used"));
    // group 0 is drawn; the index as set is kept for a mesh that has the group
    EXPECT_EQ(Ok("/bad.getgroupindex"), "9");
}

TEST_F(SceneTest, BadScriptArgumentsAreScriptErrors)
{
    New<nTransformNode>("ntransformnode", "/t");
    Fails("/t.setposition nan 0 0");
    Fails("/t.addanimator \"\"");
    Fails("/t.getanimatorat 0");
    Ok("/t.addanimator a");
    Fails("/t.getanimatorat 1");
    Fails("/t.getanimatorat -1");
    EXPECT_EQ(Ok("/t.getanimatorat 0"), "a");
}

TEST_F(SceneTest, TruncatedAndCorruptModelFilesLoadWhatTheyCanWithoutStopping)
{
    const std::string golden = ReadFile(std::string(ENGINE_SCENE_DATA_DIR) + "/model.n2");
    ASSERT_FALSE(golden.empty());
    // as a console or a tool would load them: a script error ends the file, not the program
    script->SetFailOnError(false);
    int loaded = 0;
    for (size_t cut = 40; cut < golden.size(); cut += 37)
    {
        std::string text = golden.substr(0, cut);
        if (cut % 2) text[cut / 2] = '{';  // an unbalanced brace somewhere in the middle
        const std::string file = WriteTemp("cut.n2", text);
        const std::string path = "/cut" + std::to_string(cut);
        nSceneNode* node = LoadModel(file, path.c_str());
        if (!node) continue;
        loaded++;
        nRenderContext ctx;
        SetupContext(ctx, node, 1.0f);
        DrawFrame(ctx);
    }
    EXPECT_GT(loaded, 0);
}
