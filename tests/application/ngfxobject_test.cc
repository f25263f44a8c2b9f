//------------------------------------------------------------------------------
//  nGfxObject: objects of one file share one node below "/res", the node
//  lives while any of them holds it, Render attaches the object at its
//  transform, and the box's clip status against a view-projection matrix.
//------------------------------------------------------------------------------
#include "application/ngfxobject.h"
#include "capturelog.h"
#include "usertempdir.h"
#include "file/nfilepackage.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nkernelserver.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "scene/nsceneserver.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "util/assertdeath.h"
#include "variable/nvariablepackage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace
{

const char* const RingFile = "# ---\n# $parser:ntclserver$ $class:ntransformnode$\n# ---\n"
                             ".setlocalbox 0 0 0 1 1 1\n";

class GfxObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->dir = MakeTempDir("gfxobject");
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nfile_package, nsignals_package, nscript_package, nvariable_package, nresource_package, ngfx2_package,
            nscene_package});
        this->ks->SetLogHandler(&this->log);
        this->ks->New("ntclserver", "/sys/servers/script");
        this->ks->New("nvariableserver", "/sys/servers/variable");
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->ks->New("ngfxserver2", "/sys/servers/gfx");
        this->scene = static_cast<nSceneServer*>(this->ks->New("nsceneserver", "/sys/servers/scene"));
        std::ofstream(this->dir + "/ring.n2") << RingFile;
        std::ofstream(this->dir + "/notanode.n2") << "# ---\n# $parser:ntclserver$ $class:nroot$\n# ---\n";
    }
    void TearDown() override
    {
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }
    std::string File(const char* name) const { return this->dir + "/" + name; }

    CaptureLog log;
    std::string dir;
    std::unique_ptr<nKernelServer> ks;
    nSceneServer* scene = nullptr;
};

}  // namespace

TEST_F(GfxObjectTest, TwoObjectsOfOneFileLoadItOnceUnderRes)
{
    auto a = std::make_unique<nGfxObject>();
    auto b = std::make_unique<nGfxObject>();
    a->SetResourceName(File("ring.n2").c_str());
    b->SetResourceName(File("ring.n2").c_str());
    ASSERT_TRUE(a->Load()) << log.text;
    ASSERT_TRUE(b->Load()) << log.text;
    nRoot* node = ks->Lookup("/res/ring");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->GetRefCount(), 2);
    EXPECT_EQ(a->GetRenderContext().GetRootNode(), node);
    EXPECT_EQ(b->GetRenderContext().GetRootNode(), node);
    // the node lives while either object holds it
    a.reset();
    EXPECT_EQ(ks->Lookup("/res/ring"), node);
    b.reset();
    EXPECT_EQ(ks->Lookup("/res/ring"), nullptr);
}

TEST_F(GfxObjectTest, RenderAttachesTheObjectAtItsTransform)
{
    nGfxObject obj;
    obj.SetResourceName(File("ring.n2").c_str());
    ASSERT_TRUE(obj.Load());
    obj.Transform().settranslation(vector3(3.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(obj.GetBox().vmax.x, 4.0f);
    // an open scene server with a path of one empty pass: look at the group
    std::ofstream(File("rp.xml")) << R"(<RenderPath name="t" shaderpath="s"><Pass name="p"/></RenderPath>)";
    scene->SetRenderPathFilename(File("rp.xml").c_str());
    ASSERT_TRUE(scene->Open()) << log.text;
    ASSERT_TRUE(scene->BeginScene(matrix44()));
    obj.Render();
    scene->EndScene();
    ASSERT_EQ(scene->GetNumGroups(), 1);
    EXPECT_FLOAT_EQ(scene->GetGroupAt(0).modelTransform.pos_component().x, 3.0f);
    scene->Close();
}

TEST_F(GfxObjectTest, AFileWithoutTransformNodeIsReportedNotFatal)
{
    nGfxObject missing;
    missing.SetResourceName(File("nosuch.n2").c_str());
    EXPECT_FALSE(missing.Load());
    EXPECT_FALSE(missing.IsValid());
    nGfxObject wrong;
    wrong.SetResourceName(File("notanode.n2").c_str());
    EXPECT_FALSE(wrong.Load());
    EXPECT_NE(log.text.find("holds no transform node"), std::string::npos);
    EXPECT_EQ(ks->Lookup("/res/notanode"), nullptr);
}

TEST_F(GfxObjectTest, LoadingTwiceOrWithoutNameStops)
{
    nGfxObject unnamed;
    EXPECT_ASSERT_DEATH(unnamed.Load(), "!this->resourceName.IsEmpty()");
    nGfxObject obj;
    obj.SetResourceName(File("ring.n2").c_str());
    ASSERT_TRUE(obj.Load());
    EXPECT_ASSERT_DEATH(obj.Load(), "!this->IsValid()");
}

TEST(GfxObjectClipStatus, InsideOutsideAndClipped)
{
    // the identity as view-projection: the clip volume is the cube -1..1
    struct Case
    {
        vector3 vmin, vmax;
        nGfxObject::ClipStatus status;
    } const cases[] = {
        {{-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, nGfxObject::Inside},
        {{-3.0f, -0.5f, -0.5f}, {-2.0f, 0.5f, 0.5f}, nGfxObject::Outside},  // beyond the left boundary
        {{-0.5f, -0.5f, 2.0f}, {0.5f, 0.5f, 3.0f}, nGfxObject::Outside},    // beyond the far one
        {{-1.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f}, nGfxObject::Clipped},   // across the left one
        {{-3.0f, -3.0f, -3.0f}, {3.0f, 3.0f, 3.0f}, nGfxObject::Clipped},   // around the whole volume
        {{2.0f, -3.0f, -0.5f}, {3.0f, -2.0f, 0.5f}, nGfxObject::Outside},   // right and below
    };
    for (const Case& c : cases)
    {
        bbox3 box;
        box.vmin = c.vmin;
        box.vmax = c.vmax;
        EXPECT_EQ(nGfxObject::GetClipStatus(box, matrix44()), c.status) << c.vmin.x << " " << c.vmin.z;
    }
}
