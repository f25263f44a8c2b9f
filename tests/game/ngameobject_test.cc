//------------------------------------------------------------------------------
//  Game objects: built from a prototype with model, render context and
//  collision geom; following a parent; scaled time in the render context.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "capturelog.h"
#include "rpgfxserver.h"
#include "opende/meshfiles.h"
#include "util/assertdeath.h"

#include "application/napplicationpackage.h"
#include "gui/nguipackage.h"
#include "game/ngamepackage.h"
#include "game/ngameobject.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "misc/nmiscpackage.h"
#include "opende/nopendeboxgeom.h"
#include "opende/nopendehashspace.h"
#include "opende/nopendepackage.h"
#include "opende/nopendeserver.h"
#include "opende/nopendespheregeom.h"
#include "opende/nopendetrimesh.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "scene/nsceneserver.h"
#include "scene/nscenenode.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"
#include "variable/nvariableserver.h"

#include <memory>

class GameObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nsignals_package, nscript_package, nmisc_package, nvariable_package, nresource_package, ngfx2_package,
            nscene_package, recordinggfx_package, rpgfx_package, nopende_package, napplication_package, ngui_package, ngame_package});
        this->ks->SetLogHandler(&this->log);
        this->ks->New("nvariableserver", "/sys/servers/variable");
        this->ks->New("nopendeserver", "/sys/servers/phys");
        this->ks->New("nopendeworld", "/sys/servers/phys/world");
        static_cast<nOpendeHashSpace*>(this->ks->New("nopendehashspace", "/sys/servers/phys/world/space"))
            ->Create("none");
        this->scene = static_cast<nSceneServer*>(this->ks->New("nsceneserver", "/sys/servers/scene"));
        this->model = static_cast<nRoot*>(this->ks->New("ntransformnode", "/usr/lib/models/ring"));
        nFileServer2::Instance()->SetAssign("meshes", (this->meshDir.Write(".keep", "").substr(0, this->meshDir.Write(".keep", "").size() - 5)).c_str());
    }
    void TearDown() override
    {
        if (this->scene->IsOpen()) this->scene->Close();
        this->ks.reset();
    }

    /// opens the scene server over a recording graphics server and a one-pass render path
    void OpenScene()
    {
        this->ks->New("nresourceserver", "/sys/servers/resource");
        nGfxServer2* gfx = static_cast<nGfxServer2*>(this->ks->New("nrpgfxserver", "/sys/servers/gfx"));
        nDisplayMode2 mode;
        mode.SetWidth(640);
        mode.SetHeight(480);
        gfx->SetDisplayMode(mode);
        const std::string path = this->meshDir.Write("path.xml", R"(<RenderPath name="t" shaderpath="meshes:"><Pass name="p"/></RenderPath>)");
        this->scene->SetRenderPathFilename(path.c_str());
        ASSERT_TRUE(this->scene->Open()) << this->log.text;
    }

    /// a prototype "/usr/lib/objects/<name>" with the model and an optional geom
    nRoot* Proto(const char* name, const char* geom = nullptr)
    {
        nString path("/usr/lib/objects/");
        path.Append(name);
        nRoot* proto = static_cast<nRoot*>(this->ks->New("nroot", path.Get()));
        this->ks->PushCwd(proto);
        static_cast<nEnv*>(this->ks->New("nenv", "model"))->SetO(this->model);
        if (geom) static_cast<nEnv*>(this->ks->New("nenv", "geom"))->SetS(geom);
        this->ks->PopCwd();
        return proto;
    }
    /// an nenv below the prototype
    nEnv* Var(nRoot* proto, const char* name)
    {
        this->ks->PushCwd(proto);
        nEnv* var = static_cast<nEnv*>(this->ks->New("nenv", name));
        this->ks->PopCwd();
        return var;
    }
    /// a game object below "/usr/scene" built from the prototype
    nGameObject* Object(const char* name, const char* proto)
    {
        nString path("/usr/scene/");
        path.Append(name);
        nGameObject* obj = static_cast<nGameObject*>(this->ks->New("ngameobject", path.Get()));
        obj->Init(proto);
        return obj;
    }
    float Var(nGameObject* obj, const char* name)
    {
        const int h = nVariableServer::Instance()->FindVariableHandleByName(name);
        nVariable* v = obj->GetRenderContext().GetVariable(h);
        return v ? v->GetFloat() : -1.0f;
    }
    void WriteMesh(const char* name)
    {
        this->meshDir.Write(name, TwoSquares().N3d2());
    }

    CaptureLog log;
    TempDir meshDir;
    std::unique_ptr<nKernelServer> ks;
    nSceneServer* scene = nullptr;
    nRoot* model = nullptr;
};

TEST_F(GameObjectTest, SphereFromPrototype)
{
    nRoot* proto = this->Proto("ball", "sphere");
    this->Var(proto, "radius")->SetF(0.25f);
    nGameObject* obj = this->Object("ball", "/usr/lib/objects/ball");

    EXPECT_EQ(obj->GetProto(), proto);
    EXPECT_EQ(static_cast<nRoot*>(obj->GetRenderContext().GetRootNode()), this->model);
    EXPECT_EQ(this->Var(obj, "time"), 0.0f);
    EXPECT_EQ(this->Var(obj, "one"), 1.0f);
    const int wind = nVariableServer::Instance()->FindVariableHandleByName("wind");
    const nFloat4& w = obj->GetRenderContext().GetVariable(wind)->GetFloat4();
    EXPECT_EQ(w.x, 1.0f);
    EXPECT_EQ(w.y, 0.0f);
    EXPECT_EQ(w.z, 0.0f);
    EXPECT_EQ(w.w, 0.5f);

    ASSERT_TRUE(obj->HasGeom());
    EXPECT_EQ(static_cast<nRoot*>(obj->GetGeom()), obj->Find("physgeom"));
    EXPECT_FLOAT_EQ(static_cast<nOpendeSphereGeom*>(obj->GetGeom())->GetRadius(), 0.25f);
    EXPECT_EQ(obj->GetGeomID(), nString("sphere"));
}

TEST_F(GameObjectTest, BoxFromPrototypeTakesThreeLengths)
{
    nRoot* proto = this->Proto("post", "box");
    this->Var(proto, "box_lengths")->SetF4(nFloat4{1.0f, 2.0f, 3.0f, 9.0f});
    nGameObject* obj = this->Object("post", "/usr/lib/objects/post");
    ASSERT_TRUE(obj->HasGeom());
    ASSERT_TRUE(obj->GetGeom()->IsA("nopendeboxgeom"));
    const vector3 l = static_cast<nOpendeBoxGeom*>(obj->GetGeom())->GetLengths();
    EXPECT_FLOAT_EQ(l.x, 1.0f);
    EXPECT_FLOAT_EQ(l.y, 2.0f);
    EXPECT_FLOAT_EQ(l.z, 3.0f);
}

TEST_F(GameObjectTest, TwoObjectsShareOneTriangleMesh)
{
    this->WriteMesh("ring.n3d2");
    this->Proto("ringA", "ring.n3d2");
    this->Proto("ringB", "ring.n3d2");
    nGameObject* a = this->Object("a", "/usr/lib/objects/ringA");
    nGameObject* b = this->Object("b", "/usr/lib/objects/ringB");
    ASSERT_TRUE(a->HasGeom());
    ASSERT_TRUE(b->HasGeom());
    EXPECT_TRUE(a->GetGeom()->IsA("nopendetrimeshgeom"));
    nOpendeTriMesh* mesh = nOpendeServer::opendeServer->FindTriMesh("ring.n3d2");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetRef(), 2);
    a->Release();
    EXPECT_EQ(mesh->GetRef(), 1);
}

TEST_F(GameObjectTest, MeshThatDoesNotLoadLeavesNoGeom)
{
    this->Proto("ghost", "missing.n3d2");
    nGameObject* obj = this->Object("ghost", "/usr/lib/objects/ghost");
    EXPECT_FALSE(obj->HasGeom());
    EXPECT_EQ(obj->Find("physgeom"), nullptr);
    EXPECT_NE(this->log.text.find("missing.n3d2"), std::string::npos);
    float dt = 0.1f;
    obj->Trigger(&dt);
}

TEST_F(GameObjectTest, WithoutGeomTriggerOnlyAdvancesTheRenderVariables)
{
    this->Proto("rope");
    nGameObject* obj = this->Object("rope", "/usr/lib/objects/rope");
    EXPECT_FALSE(obj->HasGeom());
    obj->GetTransform().settranslation(vector3(1.0f, 2.0f, 3.0f));
    float total = 0.0f;
    for (float dt : {0.016f, 0.5f, 0.0f, 0.25f})
    {
        obj->Trigger(&dt);
        total += dt;
    }
    EXPECT_FLOAT_EQ(this->Var(obj, "time"), total);
    EXPECT_EQ(obj->GetRenderContext().GetFrameId(), 4u);
    EXPECT_EQ(obj->GetTransform().gettranslation().x, 1.0f);
}

TEST_F(GameObjectTest, FollowsItsParentKeepingOffsetAndOwnRotation)
{
    nRoot* proto = this->Proto("fist", "sphere");
    this->Var(proto, "radius")->SetF(0.1f);
    this->Proto("body");
    nGameObject* parent = this->Object("body", "/usr/lib/objects/body");
    nGameObject* child = this->Object("fist", "/usr/lib/objects/fist");
    parent->GetTransform().settranslation(vector3(1.0f, 1.0f, 1.0f));
    parent->GetTransform().seteuler(vector3(0.0f, 1.0f, 0.0f));
    child->GetTransform().settranslation(vector3(1.5f, 2.0f, 0.0f));
    child->GetTransform().seteuler(vector3(0.3f, 0.0f, 0.0f));
    child->SetParent(parent);

    // the first frame moves nothing
    float dt = 0.02f;
    child->Trigger(&dt);
    vector3 p = child->GetTransform().gettranslation();
    EXPECT_FLOAT_EQ(p.x, 1.5f);
    EXPECT_FLOAT_EQ(p.y, 2.0f);
    EXPECT_FLOAT_EQ(p.z, 0.0f);
    vector3 g = child->GetGeom()->GetPosition();
    EXPECT_FLOAT_EQ(g.x, 1.5f);
    EXPECT_FLOAT_EQ(g.y, 2.0f);

    parent->GetTransform().settranslation(vector3(4.0f, 0.0f, -2.0f));
    parent->GetTransform().seteuler(vector3(0.0f, 2.0f, 0.0f));
    child->Trigger(&dt);
    p = child->GetTransform().gettranslation();
    EXPECT_FLOAT_EQ(p.x, 4.5f);
    EXPECT_FLOAT_EQ(p.y, 1.0f);
    EXPECT_FLOAT_EQ(p.z, -3.0f);
    EXPECT_FLOAT_EQ(child->GetTransform().geteuler().x, 0.3f);
    EXPECT_FLOAT_EQ(child->GetTransform().geteuler().y, 0.0f);
    g = child->GetGeom()->GetPosition();
    EXPECT_FLOAT_EQ(g.x, 4.5f);
    EXPECT_FLOAT_EQ(g.z, -3.0f);
}

TEST_F(GameObjectTest, RenderAttachesTheContextAtTheTransform)
{
    this->OpenScene();
    this->Proto("rope");
    nGameObject* obj = this->Object("rope", "/usr/lib/objects/rope");
    obj->GetTransform().settranslation(vector3(0.0f, 3.0f, 0.0f));
    ASSERT_TRUE(this->scene->BeginScene(matrix44()));
    obj->Render();
    EXPECT_EQ(this->scene->GetNumGroups(), 1);
    EXPECT_EQ(this->scene->GetGroupAt(0).renderContext, &obj->GetRenderContext());
    EXPECT_EQ(obj->GetRenderContext().GetTransform().pos_component().y, 3.0f);
    this->scene->EndScene();
}

TEST_F(GameObjectTest, PrototypeVariablesReadByName)
{
    nRoot* proto = this->Proto("stats");
    this->Var(proto, "speed")->SetF(2.5f);
    this->Var(proto, "name")->SetS("blue");
    nGameObject* obj = this->Object("stats", "/usr/lib/objects/stats");
    float f = 0.0f;
    nString s;
    nObject* o = nullptr;
    nFloat4 f4{};
    EXPECT_TRUE(obj->ReadVarF("speed", f));
    EXPECT_EQ(f, 2.5f);
    EXPECT_TRUE(obj->ReadVarS("name", s));
    EXPECT_EQ(s, nString("blue"));
    EXPECT_TRUE(obj->ReadVarO("model", o));
    EXPECT_EQ(o, this->model);
    EXPECT_FALSE(obj->ReadVarF("nothing", f));
    EXPECT_FALSE(obj->ReadVarF4("nothing", f4));
    EXPECT_FALSE(obj->ReadVarS("nothing", s));
    EXPECT_EQ(obj->FindVar("nothing"), nullptr);
}

TEST_F(GameObjectTest, BrokenPrototypesStopTheProgram)
{
    nGameObject* obj = static_cast<nGameObject*>(this->ks->New("ngameobject", "/usr/scene/x"));
    EXPECT_ASSERT_DEATH(obj->Init(""), "nString(proto).IsEmpty() == false");
    EXPECT_ASSERT_DEATH(obj->Init("/usr/lib/objects/none"), "m_refProto.isvalid()");
    this->ks->New("nroot", "/usr/lib/objects/nomodel");
    EXPECT_ASSERT_DEATH(obj->Init("/usr/lib/objects/nomodel"), "ReadVarO( \"model\", pModelVar)");
    this->Proto("noradius", "sphere");
    EXPECT_ASSERT_DEATH(obj->Init("/usr/lib/objects/noradius"), "ReadVarF( \"radius\", fRadius )");
    this->Proto("nolengths", "box");
    EXPECT_ASSERT_DEATH(obj->Init("/usr/lib/objects/nolengths"), "ReadVarF4( \"box_lengths\", f4Box )");
    EXPECT_ASSERT_DEATH(obj->GetGeom(), "m_refPhysGeom.isvalid()");
}
