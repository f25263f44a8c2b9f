//------------------------------------------------------------------------------
//  scenefixture.cc
//------------------------------------------------------------------------------
#include "scenefixture.h"
#include "tclrun.h"
#include "rpgfxserver.h"
#include "kernel/nmodule.h"

#include "file/nfilepackage.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nfileserver2.h"
#include "platform/nplatformpaths.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{

/// the render path's recording server with the meshes of the plain
/// recording server, which have groups and so draw
class SceneGfx : public RpGfxServer
{
public:
    nMesh2* NewMesh(const char* rsrcName) override { return RecordingGfxServer::NewMesh(rsrcName); }
};

}  // namespace

N_IMPLEMENT_MODULE(nscenetestgfx, SceneGfx, "nrpgfxserver", nullptr)

namespace
{

void scenetest_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nscenetestgfx);
}

}  // namespace

void SceneTest::SetUp()
{
    std::string tmpl = nPlatformTempDir() + "/scenetestXXXXXX";
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    this->dir = tmpl;
    this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
        nfile_package, nsignals_package, nscript_package, nvariable_package, nresource_package, ngfx2_package,
        recordinggfx_package, rpgfx_package, scenetest_package, nscene_package});
    this->ks->SetLogHandler(&this->log);
    this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
    this->vars = New<nVariableServer>("nvariableserver", "/sys/servers/variable");
    this->ks->New("nresourceserver", "/sys/servers/resource");
    this->gfx = New<RecordingGfxServer>(this->gfxClass.c_str(), "/sys/servers/gfx");
    nDisplayMode2 mode;
    mode.SetWidth(800);
    mode.SetHeight(600);
    this->gfx->SetDisplayMode(mode);
    this->scene = New<nSceneServer>(this->sceneClass.c_str(), "/sys/servers/scene");
    this->ks->GetFileServer()->SetAssign("tst", this->dir.c_str());
    this->scene->SetRenderPathFilename(this->WriteTemp("renderpath.xml", this->renderPathText).c_str());
    ASSERT_TRUE(this->scene->Open()) << this->log.text;
}

void SceneTest::TearDown()
{
    if (this->scene && this->scene->IsOpen()) this->scene->Close();
    this->ks.reset();
    std::filesystem::remove_all(this->dir);
}

std::string SceneTest::Ok(const std::string& str)
{
    return ::TclOk(this->script, str);
}

std::string SceneTest::Fails(const std::string& str)
{
    return ::TclFails(this->script, str);
}

std::string SceneTest::TakeLog()
{
    std::string text;
    text.swap(this->log.text);
    return text;
}

std::string SceneTest::WriteTemp(const char* name, const std::string& text) const
{
    std::ofstream out(this->TempFile(name), std::ios::binary | std::ios::trunc);
    out << text;
    return std::string("tst:") + name;
}

std::string SceneTest::ReadFile(const std::string& name) const
{
    const std::string path = (0 == name.compare(0, 4, "tst:")) ? this->dir + "/" + name.substr(4) : name;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

nSceneNode* SceneTest::LoadModel(const std::string& file, const char* path)
{
    nObject* obj = this->ks->LoadAs(file.c_str(), path);
    return (obj && obj->IsA("nscenenode")) ? static_cast<nSceneNode*>(obj) : nullptr;
}

void SceneTest::SetupContext(nRenderContext& ctx, nSceneNode* root, float t)
{
    ctx.SetRootNode(root);
    ctx.AddVariable(nVariable(this->vars->GetVariableHandleByName("time"), t));
    root->RenderContextCreated(&ctx);
}

void SceneTest::DrawFrame(nRenderContext& ctx, const matrix44& viewer)
{
    this->scene->BeginScene(viewer);
    this->scene->Attach(&ctx);
    for (int i = 0; i < this->scene->GetNumGroups(); i++)
    {
        const nSceneServer::Group& group = this->scene->GetGroupAt(i);
        nSceneNode* node = group.sceneNode;
        if (!node->AreResourcesValid()) node->LoadResources();
        if (node->HasLight()) node->RenderLight(this->scene, &ctx, group.modelTransform);
        if (node->HasGeometry() && node->ApplyShader(ColrPass, this->scene))
        {
            node->RenderShader(ColrPass, this->scene, &ctx);
            if (node->ApplyGeometry(this->scene)) node->RenderGeometry(this->scene, &ctx);
        }
    }
    this->scene->EndScene();
}

matrix44 SceneTest::GroupTransformOf(const nSceneNode* node) const
{
    for (int i = 0; i < this->scene->GetNumGroups(); i++)
    {
        if (this->scene->GetGroupAt(i).sceneNode == node) return this->scene->GetGroupAt(i).modelTransform;
    }
    ADD_FAILURE() << "no group of the node";
    return matrix44();
}
