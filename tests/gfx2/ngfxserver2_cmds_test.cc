//------------------------------------------------------------------------------
//  The graphics server's script commands, run through the Tcl server the
//  way a start-up script or the console runs them.
//------------------------------------------------------------------------------
#include "gfxfixture.h"
#include "script/nscriptpackage.h"
#include "kernel/nscriptserver.h"
#include "kernel/nclass.h"
#include "kernel/ncmdproto.h"

#include <cmath>
#include <string>

namespace
{

class GfxScriptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nscript_package, nresource_package, ngfx2_package, recordinggfx_package});
        this->ks->SetLogHandler(&this->log);
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->script->SetFailOnError(false);
        this->gfx = static_cast<RecordingGfxServer*>(this->ks->New("nrecordinggfxserver", "/sys/servers/gfx"));
    }
    void TearDown() override { this->ks.reset(); }

    /// runs a command string on the graphics server; true when it succeeded
    bool Run(const std::string& cmd, std::string* result = nullptr)
    {
        nString out;
        const bool ok = this->script->Run(("/sys/servers/gfx." + cmd).c_str(), out);
        if (result) *result = out.Get();
        return ok;
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    RecordingGfxServer* gfx = nullptr;
};

TEST_F(GfxScriptTest, TheClassHasItsEighteenCommands)
{
    const char* protos[] = {
        "v_setdisplaymode_ssiiiib", "ssiiiib_getdisplaymode_v", "b_opendisplay_v", "v_closedisplay_v",
        "s_getfeatureset_v", "v_savescreenshot_s", "v_setcursorvisibility_s", "v_setmousecursor_sii",
        "v_seticon_s", "v_setgamma_f", "f_getgamma_v", "v_setbrightness_f", "f_getbrightness_v",
        "v_setcontrast_f", "f_getcontrast_v", "v_adjustgamma_v", "v_restoregamma_v", "v_setskipmsgloop_b",
    };
    nClass* cl = this->ks->FindClass("ngfxserver2");
    ASSERT_NE(cl, nullptr);
    int num = 0;
    for (nHashNode* n = cl->GetCmdList()->GetHead(); n; n = n->GetSucc()) num++;
    EXPECT_EQ(num, 18);
    for (const char* p : protos)
    {
        const std::string def = p;
        const size_t a = def.find('_');
        const std::string name = def.substr(a + 1, def.rfind('_') - a - 1);
        nCmdProto* proto = cl->FindCmdByName(name.c_str());
        ASSERT_NE(proto, nullptr) << p;
        EXPECT_STREQ(proto->GetProtoDef(), p);
    }
}

TEST_F(GfxScriptTest, DisplayModeRoundTripsWithClampedSizes)
{
    const struct
    {
        const char* args;
        const char* back;
    } cases[] = {
        {"{My Game} windowed 10 20 800 600 true", "{My Game} windowed 10 20 800 600 true"},
        {"T fullscreen 0 0 1024 768 false", "T fullscreen 0 0 1024 768 false"},
        {"T bogus 0 0 1024 768 false", "T fullscreen 0 0 1024 768 false"},
        {"T childwindow -1 -5 -1 0 true", "T childwindow 0 0 1 1 true"},
        {"T alwaysontop 70000 2147483647 70000 2147483647 true", "T alwaysontop 65535 65535 16384 16384 true"},
        {"T windowed 0 0 -2147483648 65535 true", "T windowed 0 0 1 16384 true"},
    };
    for (const auto& c : cases)
    {
        ASSERT_TRUE(this->Run(std::string("setdisplaymode ") + c.args)) << c.args << this->log.text;
        std::string back;
        ASSERT_TRUE(this->Run("getdisplaymode", &back));
        EXPECT_EQ(back, c.back) << c.args;
    }
    this->gfx->calls.clear();
    ASSERT_TRUE(this->Run("seticon myicon"));
    EXPECT_STREQ(this->gfx->GetDisplayMode().GetIcon(), "myicon");
    EXPECT_EQ(this->gfx->GetDisplayMode().GetWidth(), 1);
    EXPECT_TRUE(this->gfx->Has("SetDisplayMode"));
}

TEST_F(GfxScriptTest, BadValuesAreScriptErrors)
{
    const struct
    {
        const char* cmd;
        const char* message;
    } cases[] = {
        {"setcursorvisibility bogus", "invalid string 'bogus'"},
        {"setcursorvisibility :null:", "null visibility argument"},
        {"setdisplaymode :null: windowed 0 0 1 1 true", "null title argument"},
        {"setdisplaymode T :null: 0 0 1 1 true", "null type argument"},
        {"setgamma nan", "gamma"},
        {"setbrightness inf", "brightness"},
        {"setcontrast -inf", "contrast"},
        {"savescreenshot {}", "empty file name argument"},
        {"savescreenshot :null:", "null file name argument"},
        {"setmousecursor :null: 0 0", "null file name argument"},
        {"seticon :null:", "null icon name argument"},
        {"closedisplay", "the display is not open"},
    };
    for (const auto& c : cases)
    {
        this->log.text.clear();
        EXPECT_FALSE(this->Run(c.cmd)) << c.cmd;
        EXPECT_NE(this->log.text.find(c.message), std::string::npos) << c.cmd << ": " << this->log.text;
    }
    EXPECT_EQ(this->gfx->GetCursorVisibility(), nGfxServer2::System);
    EXPECT_FLOAT_EQ(this->gfx->GetGamma(), 1.0f);
    EXPECT_FALSE(this->gfx->IsDisplayOpen());
}

TEST_F(GfxScriptTest, CommandsReachTheServer)
{
    std::string out;
    ASSERT_TRUE(this->Run("setcursorvisibility custom"));
    EXPECT_EQ(this->gfx->GetCursorVisibility(), nGfxServer2::Custom);
    ASSERT_TRUE(this->Run("setcursorvisibility none"));
    EXPECT_EQ(this->gfx->GetCursorVisibility(), nGfxServer2::None);
    ASSERT_TRUE(this->Run("opendisplay", &out));
    EXPECT_EQ(out, "true");
    EXPECT_FALSE(this->Run("opendisplay"));
    ASSERT_TRUE(this->Run("closedisplay"));
    ASSERT_TRUE(this->Run("getfeatureset", &out));
    EXPECT_EQ(out, "invalid");
    ASSERT_TRUE(this->Run("setgamma 1.5"));
    ASSERT_TRUE(this->Run("getgamma", &out));
    EXPECT_FLOAT_EQ(std::stof(out), 1.5f);
    ASSERT_TRUE(this->Run("getbrightness", &out));
    EXPECT_FLOAT_EQ(std::stof(out), 0.4961089f);
    ASSERT_TRUE(this->Run("setcontrast 0.25"));
    ASSERT_TRUE(this->Run("getcontrast", &out));
    EXPECT_FLOAT_EQ(std::stof(out), 0.25f);
    ASSERT_TRUE(this->Run("setmousecursor arrow.dds 4 5"));
    EXPECT_STREQ(this->gfx->GetMouseCursor().GetFilename(), "arrow.dds");
    EXPECT_EQ(this->gfx->GetMouseCursor().GetHotspotY(), 5);
    ASSERT_TRUE(this->Run("savescreenshot shot.png"));
    ASSERT_TRUE(this->Run("adjustgamma"));
    ASSERT_TRUE(this->Run("restoregamma"));
    ASSERT_TRUE(this->Run("setskipmsgloop true"));
    for (const char* call : {"Screenshot shot.png", "AdjustGamma", "RestoreGamma", "SetSkipMsgLoop true",
                             "SetCursorVisibility 2", "SetMouseCursor arrow.dds"})
    {
        EXPECT_TRUE(this->gfx->Has(call)) << call;
    }
}

}  // namespace
