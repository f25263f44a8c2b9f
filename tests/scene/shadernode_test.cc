//------------------------------------------------------------------------------
//  Shader, material, shape, light and attachment nodes drawn on the
//  recording graphics server: what reaches the server, what is loaded
//  when, and what the nodes save.
//------------------------------------------------------------------------------
#include "scenefixture.h"

#include "scene/nshapenode.h"
#include "scene/nlightnode.h"
#include "scene/nscenecmdutil.h"

#include <cmath>
#include <cstring>

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace
{

/// the recorded calls that begin with one of the prefixes, in order
std::vector<std::string> Calls(const RecordingGfxServer* gfx, std::initializer_list<const char*> prefixes)
{
    std::vector<std::string> out;
    for (const std::string& c : gfx->calls)
    {
        for (const char* p : prefixes)
        {
            if (0 == c.compare(0, strlen(p), p)) out.push_back(c);
        }
    }
    return out;
}

}  // namespace

class ShaderNodeTest : public SceneTest
{
protected:
    /// a shape with one material pass, a texture, parameters and mesh group 1
    nShapeNode* MakeShape(const char* path)
    {
        nShapeNode* shape = New<nShapeNode>("nshapenode", path);
        const std::string p = path;
        Ok(p + ".setshader colr shaders:default.fx");
        Ok(p + ".settexture DiffMap0 textures:skin.dds");
        Ok(p + ".setfloat MatSpecularPower 32");
        Ok(p + ".setvector MatDiffuse 1 0.5 0.25 1");
        Ok(p + ".setmesh meshes:arm.n3d2");
        Ok(p + ".setgroupindex 1");
        return shape;
    }
};

TEST_F(ShaderNodeTest, AModelsRenderRecordsShowShaderTexturesParametersAndMeshRanges)
{
    nShapeNode* shape = MakeShape("/model");
    nRenderContext ctx;
    SetupContext(ctx, shape, 0.0f);
    ctx.GetShaderOverrides().SetArg(nShaderState::MatDiffuse, nShaderArg(vector4(0.0f, 1.0f, 0.0f, 1.0f)));
    DrawFrame(ctx);
    const std::string shader = shape->GetShaderObject(ColrPass)->GetName();
    const std::string mesh = shape->GetMeshObject()->GetName();
    EXPECT_THAT(Calls(gfx, {"SetShader", "SetParams", "SetMesh", "DrawIndexedNS"}),
                ElementsAre("SetShader " + shader,
                            "SetParams " + shader +
                                " MatSpecularPower=32 MatDiffuse=(1,0.5,0.25,1) DiffMap0=" +
                                ks->Lookup("/sys/share/rsrc/tex")->GetHead()->GetName(),
                            "SetParams " + shader + " MatDiffuse=(0,1,0,1)", "SetMesh " + mesh,
                            "DrawIndexedNS 3 vertices 10 10 indices 30 30"));
    // the group's box became the node's local box
    EXPECT_FLOAT_EQ(shape->GetLocalBox().vmin.x, 0.0f);
    EXPECT_FLOAT_EQ(shape->GetLocalBox().vmax.x, 2.0f);
}

TEST_F(ShaderNodeTest, AllFourUvTransformsReachTheTextureTransforms)
{
    nShapeNode* shape = MakeShape("/model");
    Ok("/model.setuvpos 0 0.5 0.25");
    Ok("/model.setuvscale 1 2 3");
    Ok("/model.setuveuler 2 0 1.5707964");
    Ok("/model.setuvpos 3 7 8");
    nRenderContext ctx;
    SetupContext(ctx, shape, 0.0f);
    DrawFrame(ctx);
    EXPECT_EQ(gfx->Count("SetTransform 9"), 1);
    EXPECT_EQ(gfx->Count("SetTransform 12"), 1);
    const matrix44& t0 = gfx->GetTransform(nGfxServer2::Texture0);
    EXPECT_FLOAT_EQ(t0.m[2][0], 0.5f);
    EXPECT_FLOAT_EQ(t0.m[2][1], 0.25f);
    const matrix44& t1 = gfx->GetTransform(nGfxServer2::Texture1);
    EXPECT_FLOAT_EQ(t1.m[0][0], 2.0f);
    EXPECT_FLOAT_EQ(t1.m[1][1], 3.0f);
    const matrix44& t2 = gfx->GetTransform(nGfxServer2::Texture2);
    EXPECT_NEAR(t2.m[0][0], 0.0f, 1e-6f);
    EXPECT_NEAR(fabsf(t2.m[0][2]), 1.0f, 1e-6f);
    const matrix44& t3 = gfx->GetTransform(nGfxServer2::Texture3);
    EXPECT_FLOAT_EQ(t3.m[2][0], 7.0f);
    EXPECT_FLOAT_EQ(t3.m[2][1], 8.0f);
    EXPECT_FLOAT_EQ(t3.m[3][3], 1.0f);
}

TEST_F(ShaderNodeTest, TheLightsColoursGoIntoAnNLight)
{
    nLightNode* light = New<nLightNode>("nlightnode", "/light");
    Ok("/light.setvector LightDiffuse 1 0 0 1");
    Ok("/light.setvector LightSpecular 0 1 0 1");
    Ok("/light.setvector LightAmbient 0 0 1 1");
    Ok("/light.setvector LightDiffuse1 0.5 0.5 0 1");
    Ok("/light.setvector LightSpecular1 0 0.5 0.5 1");
    Ok("/light.setposition 1 2 3");
    nRenderContext ctx;
    SetupContext(ctx, light, 0.0f);
    DrawFrame(ctx);
    ASSERT_EQ(gfx->GetLightArray().Size(), 1);
    const nLight& l = gfx->GetLightArray()[0];
    EXPECT_EQ(l.type, 1);
    EXPECT_EQ(l.diffuse, vector4(1, 0, 0, 1));
    EXPECT_EQ(l.specular, vector4(0, 1, 0, 1));
    EXPECT_EQ(l.ambient, vector4(0, 0, 1, 1));
    EXPECT_EQ(l.secondaryDiffuse, vector4(0.5f, 0.5f, 0, 1));
    EXPECT_EQ(l.secondarySpecular, vector4(0, 0.5f, 0.5f, 1));
    EXPECT_FLOAT_EQ(l.transform.pos_component().z, 3.0f);
}

TEST_F(ShaderNodeTest, ALightWithoutAColourWarnsOnceAndKeepsTheDefault)
{
    nLightNode* light = New<nLightNode>("nlightnode", "/light");
    Ok("/light.setvector LightDiffuse 1 0 0 1");
    nRenderContext ctx;
    SetupContext(ctx, light, 0.0f);
    DrawFrame(ctx);
    DrawFrame(ctx);
    const std::string text = TakeLog();
    EXPECT_THAT(text, HasSubstr("light node '/light' has no vector 'LightSpecular'"));
    EXPECT_EQ(text.find("has no vector"), text.rfind("has no vector"));
    ASSERT_EQ(gfx->GetLightArray().Size(), 2);
    EXPECT_EQ(gfx->GetLightArray()[1].diffuse, vector4(1, 0, 0, 1));
    EXPECT_EQ(gfx->GetLightArray()[1].secondarySpecular, nLight().secondarySpecular);
}

TEST_F(ShaderNodeTest, SettingATextureTwiceKeepsOneEntryAndReloads)
{
    nShapeNode* shape = MakeShape("/model");
    ASSERT_TRUE(shape->LoadResources());
    nRoot* texPool = ks->Lookup("/sys/share/rsrc/tex");
    ASSERT_NE(texPool->GetHead(), nullptr);
    Ok("/model.settexture DiffMap0 textures:other.dds");
    EXPECT_FALSE(shape->AreResourcesValid());
    EXPECT_EQ(texPool->GetHead(), nullptr) << "the old texture was released";
    EXPECT_EQ(Ok("/model.gettexture DiffMap0"), "textures:other.dds");
    EXPECT_EQ(Ok("/model.getparams"), "{MatSpecularPower f} {MatDiffuse f4} {DiffMap0 v}");
    ASSERT_TRUE(shape->LoadResources());
    EXPECT_EQ(Ok("/model.getparams"), "{MatSpecularPower f} {MatDiffuse f4} {DiffMap0 t}");
    ASSERT_TRUE(shape->SaveAs("tst:tex.n2"));
    const std::string text = ReadFile("tst:tex.n2");
    EXPECT_EQ(text.find(".settexture"), text.rfind(".settexture"));
}

TEST_F(ShaderNodeTest, PassFourccsArePackedFirstCharacterLowest)
{
    nMaterialNode* mat = New<nMaterialNode>("nmaterialnode", "/mat");
    Ok("/mat.setshader colr shaders:a.fx");
    Ok("/mat.setshader dep shaders:d.fx");
    EXPECT_EQ(Ok("/mat.getshaderat 0"), "colr shaders:a.fx");
    EXPECT_EQ(Ok("/mat.getnumshaders"), "2");
    EXPECT_EQ(mat->GetShaderAt(1).fourcc, nFourCC('d') | (nFourCC('e') << 8) | (nFourCC('p') << 16));
    EXPECT_EQ(Ok("/mat.getshader dep"), "shaders:d.fx");
    Ok("/mat.setshader colr shaders:b.fx");
    EXPECT_EQ(Ok("/mat.getnumshaders"), "2");
    Fails("/mat.setshader toolong shaders:x.fx");
    Fails("/mat.setshader \"\" shaders:x.fx");
    Fails("/mat.getshaderat 2");
}

TEST_F(ShaderNodeTest, MeshesAreNamedAfterFileAndUsage)
{
    nShapeNode* a = MakeShape("/a");
    nShapeNode* b = MakeShape("/b");
    Ok("/b.setmeshusage writeonly");
    ASSERT_TRUE(a->LoadResources());
    ASSERT_TRUE(b->LoadResources());
    ASSERT_NE(a->GetMeshObject(), nullptr);
    ASSERT_NE(b->GetMeshObject(), nullptr);
    EXPECT_NE(a->GetMeshObject(), b->GetMeshObject());
    EXPECT_EQ(Ok("/b.getmeshusage"), "WriteOnly|");
    nShapeNode* c = MakeShape("/c");
    ASSERT_TRUE(c->LoadResources());
    EXPECT_EQ(a->GetMeshObject(), c->GetMeshObject()) << "same file and usage: one mesh";
    Ok("/c.setmeshusage \"WriteOnce|NPatch\"");
    EXPECT_EQ(c->GetMeshUsage(), 9);
    Fails("/c.setmeshusage sometimes");
    EXPECT_EQ(c->GetMeshUsage(), 9);
}

TEST_F(ShaderNodeTest, AShapeWithoutMeshIsSkippedAndDoesNotSaveSetMesh)
{
    nShapeNode* shape = New<nShapeNode>("nshapenode", "/s");
    Ok("/s.setshader colr shaders:default.fx");
    nRenderContext ctx;
    SetupContext(ctx, shape, 0.0f);
    DrawFrame(ctx);
    EXPECT_TRUE(shape->AreResourcesValid());
    EXPECT_EQ(gfx->Count("DrawIndexedNS"), 0);
    ASSERT_TRUE(shape->SaveAs("tst:nomesh.n2"));
    EXPECT_THAT(ReadFile("tst:nomesh.n2"), Not(HasSubstr(".setmesh ")));
    EXPECT_THAT(ReadFile("tst:nomesh.n2"), HasSubstr(".setgroupindex 0"));

    Ok("/s.setmesh meshes:arm.n3d2");
    EXPECT_FALSE(shape->AreResourcesValid()) << "a new mesh loads with the next frame";
    DrawFrame(ctx);
    EXPECT_EQ(gfx->Count("DrawIndexedNS"), 1);
}

TEST_F(ShaderNodeTest, AShapeWhoseMeshFailsIsLoadedAndDrawsNothing)
{
    gfx->FailLoadsOf("meshes:broken.n3d2");
    gfx->FailLoadsOf("textures:broken.dds");
    nShapeNode* shape = MakeShape("/s");
    Ok("/s.setmesh meshes:broken.n3d2");
    Ok("/s.settexture BumpMap0 textures:broken.dds");
    nRenderContext ctx;
    SetupContext(ctx, shape, 0.0f);
    DrawFrame(ctx);
    EXPECT_TRUE(shape->AreResourcesValid());
    EXPECT_EQ(shape->GetMeshObject(), nullptr);
    EXPECT_EQ(gfx->Count("DrawIndexedNS"), 0);
    const std::string text = TakeLog();
    EXPECT_THAT(text, HasSubstr("nMeshNode: Error loading mesh 'meshes:broken.n3d2'"));
    EXPECT_THAT(text, HasSubstr("nAbstractShaderNode: Error loading texture 'textures:broken.dds'"));
}

TEST_F(ShaderNodeTest, AMaterialWithoutThePassWarnsAndAppliesNothing)
{
    nMaterialNode* mat = New<nMaterialNode>("nmaterialnode", "/mat");
    Ok("/mat.setshader dept shaders:depth.fx");
    EXPECT_TRUE(mat->HasShader(nSceneStringToFourCC("dept")));
    EXPECT_FALSE(mat->ApplyShader(ColrPass, scene));
    EXPECT_THAT(TakeLog(), HasSubstr("Shader '1919709027' not found!"));
    EXPECT_EQ(gfx->Count("SetShader"), 0);
}

TEST_F(ShaderNodeTest, ParameterCommandsWarnOnUnknownNamesAndFailOnUnsetOnes)
{
    New<nMaterialNode>("nmaterialnode", "/mat");
    Ok("/mat.setfloat NoSuchParam 1");
    EXPECT_THAT(TakeLog(), HasSubstr("WARNING: invalid shader parameter in object 'mat'"));
    Ok("/mat.setfloat NoSuchParam 2");  // an animator asks every frame: one warning is enough
    EXPECT_THAT(TakeLog(), Not(HasSubstr("invalid shader parameter")));
    EXPECT_EQ(Ok("/mat.getparams"), "");
    Ok("/mat.setint CullMode 2");
    Ok("/mat.setbool AlphaSrcBlend true");
    EXPECT_EQ(Ok("/mat.getint CullMode"), "2");
    EXPECT_EQ(Ok("/mat.getbool AlphaSrcBlend"), "true");
    Fails("/mat.getfloat CullMode");
    Fails("/mat.getvector MatDiffuse");
    Fails("/mat.getint NoSuchParam");
    Fails("/mat.setvector MatDiffuse 1 inf 0 0");
}

TEST_F(ShaderNodeTest, UvEulerIsSavedUnchanged)
{
    nShapeNode* shape = New<nShapeNode>("nshapenode", "/s");
    Ok("/s.setuveuler 1 0.5 0.25");
    ASSERT_TRUE(shape->SaveAs("tst:uv.n2"));
    EXPECT_THAT(ReadFile("tst:uv.n2"), HasSubstr(".setuveuler 1 0.500000 0.250000"));
    EXPECT_EQ(Ok("/s.getuveuler 1"), "0.5 0.25");
}

TEST_F(ShaderNodeTest, AnAttachmentNodeOutsideASkinnedShapeIsATransformNode)
{
    New<nTransformNode>("ntransformnode", "/root");
    nTransformNode* hand = New<nTransformNode>("nattachmentnode", "/root/hand");
    Ok("/root/hand.setjointbyindex 3");
    Ok("/root/hand.setjointbyname wrist");
    const std::string text = TakeLog();
    EXPECT_THAT(text, HasSubstr("Error: nAttachmentNode can only function if it is parented by an nSkinShapeNode"));
    ASSERT_TRUE(hand->SaveAs("tst:hand.n2"));
    EXPECT_THAT(ReadFile("tst:hand.n2"), Not(HasSubstr("setjointbyindex")));
    Ok("/root/hand.setposition 0 0 4");
    nRenderContext ctx;
    SetupContext(ctx, static_cast<nSceneNode*>(ks->Lookup("/root")), 0.0f);
    DrawFrame(ctx);
    EXPECT_FLOAT_EQ(GroupTransformOf(hand).pos_component().z, 4.0f);
    Fails("/root/hand.setjointbyindex -1");
}

TEST_F(ShaderNodeTest, ResourcesThatDieUnderANodeAreDroppedNotTouched)
{
    nShapeNode* shape = MakeShape("/model");
    nRenderContext ctx;
    SetupContext(ctx, shape, 0.0f);
    DrawFrame(ctx);
    nRoot* mesh = ks->Lookup("/sys/share/rsrc/mesh")->GetHead();
    ASSERT_NE(mesh, nullptr);
    while (!mesh->Release())
    {
    }
    gfx->calls.clear();
    DrawFrame(ctx);
    EXPECT_EQ(gfx->Count("DrawIndexedNS"), 0) << "the mesh is gone";
    gfx->calls.clear();
    DrawFrame(ctx);
    EXPECT_EQ(gfx->Count("DrawIndexedNS"), 1) << "and loaded again";

    nRoot* tex = ks->Lookup("/sys/share/rsrc/tex")->GetHead();
    ASSERT_NE(tex, nullptr);
    while (!tex->Release())
    {
    }
    gfx->calls.clear();
    DrawFrame(ctx);
    EXPECT_THAT(Calls(gfx, {"SetParams"}).front(), HasSubstr("DiffMap0=v"));
    gfx->calls.clear();
    DrawFrame(ctx);
    EXPECT_THAT(Calls(gfx, {"SetParams"}).front(), HasSubstr("DiffMap0=textures_skin_dds")) << "loaded again";
    EXPECT_EQ(gfx->Count("DrawIndexedNS"), 1);

    nRoot* shader = ks->Lookup("/sys/share/rsrc/shd")->GetHead();
    ASSERT_NE(shader, nullptr);
    while (!shader->Release())
    {
    }
    gfx->calls.clear();
    DrawFrame(ctx);
    EXPECT_EQ(gfx->Count("SetShader"), 0);
    DrawFrame(ctx);
    EXPECT_EQ(gfx->Count("SetShader"), 1);
    shape->Release();
}
