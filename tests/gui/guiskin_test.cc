//------------------------------------------------------------------------------
//  Skins: brush tables, texture names, resolution through the current and
//  the system skin, brushes that outlive their table, and the click sound.
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "gui/nguitextlabel.h"
#include "util/assertdeath.h"
#include "gui/nguiresource.h"
#include "gui/nguiskin.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::FloatNear;

namespace
{

TEST_F(GuiTest, TextureNamesTakeTheSkinsPrefixAndPostfix)
{
    this->Ok("/sys/servers/gui.newskin s");
    this->Ok("/sys/share/rsrc/skins/s.settextureprefix gui/; /sys/share/rsrc/skins/s.settexturepostfix .dds");
    this->Ok("/sys/share/rsrc/skins/s.beginbrushes");
    this->Ok("/sys/share/rsrc/skins/s.addbrush b tex 0 0 16 16 1 1 1 1");
    this->Ok("/sys/share/rsrc/skins/s.endbrushes");
    nGuiSkin* skin = static_cast<nGuiSkin*>(this->ks->Lookup("/sys/share/rsrc/skins/s"));
    nGuiResource* res = skin->LookupBrush("b");
    ASSERT_NE(res, nullptr);
    EXPECT_STREQ(res->GetTexName().Get(), "gui/tex.dds");
    EXPECT_FALSE(res->IsValid());
    EXPECT_EQ(skin->FindBrush("b"), res);
    EXPECT_TRUE(res->IsValid());
    EXPECT_STREQ(res->GetTexture()->GetFilename().Get(), "gui/tex.dds");
}

TEST_F(GuiTest, BrushNamesAreUniqueUntilTheTableIsCleared)
{
    nGuiSkin* skin = MakeSkin();
    this->Fails("/sys/share/rsrc/skins/s.addbrush b1 a 0 0 16 16 1 1 1 1");
    this->Fails("/sys/share/rsrc/skins/s.addbrush {} a 0 0 16 16 1 1 1 1");
    this->Fails("/sys/share/rsrc/skins/s.addbrush x a 0 0 NaN 16 1 1 1 1");
    this->Ok("/sys/share/rsrc/skins/s.beginbrushes");
    EXPECT_EQ(skin->GetNumBrushes(), 0);
    this->Ok("/sys/share/rsrc/skins/s.addbrush b1 b 0 0 16 16 1 1 1 1");
    EXPECT_EQ(skin->GetNumBrushes(), 1);
}

TEST_F(GuiTest, ABrushMissingFromTheCurrentSkinComesFromTheSystemSkin)
{
    MakeSkin();
    nGuiSkin* sys = this->gui->NewSkin("sys");
    sys->AddBrush("sysonly", "c", vector2(0, 0), vector2(8, 8), vector4(1, 1, 1, 1));
    this->gui->SetSystemSkin(sys);
    auto* l = New<nGuiWidget>("nguilabel", "l");
    l->SetDefaultBrush("sysonly");
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 1u);
    EXPECT_EQ(this->gfx->batches[0].texture, "c");
    EXPECT_STREQ(this->gui->GetSkin()->GetName(), "s");
    EXPECT_EQ(this->gui->GetRootWindowPointer(), this->root);
    EXPECT_FALSE(this->gui->IsSystemGuiActive());
}

TEST_F(GuiTest, ABrushInNeitherSkinIsReportedOnceAndDrawsNothing)
{
    MakeSkin();
    // every widget of a window may name the same missing brush: one line says it
    for (const char* name : {"l", "l2", "l3"})
    {
        New<nGuiWidget>("nguilabel", name)->SetDefaultBrush("nowhere");
    }
    auto* t = New<nGuiWidget>("nguitextlabel", "t");
    static_cast<nGuiTextLabel*>(t)->SetFont("nosuchfont");
    static_cast<nGuiTextLabel*>(t)->SetText("text");
    this->Render();
    this->Render();
    EXPECT_TRUE(this->gfx->batches.empty());
    const std::string log = this->log.text;
    // in the log, not in boxes that would stop the player
    EXPECT_EQ(this->log.messages, 0);
    for (const char* msg : {"nGuiBrush: could not resolve brush 'nowhere'!", "Unknown font 'nosuchfont'!"})
    {
        const size_t first = log.find(msg);
        EXPECT_NE(first, std::string::npos) << msg << "\n" << log;
        EXPECT_EQ(log.find(msg, first + 1), std::string::npos) << msg << "\n" << log;
    }
}

TEST_F(GuiTest, ABrushWhoseTextureDoesNotLoadIsReportedOnceAndDrawsNothing)
{
    nGuiSkin* skin = MakeSkin();
    this->gfx->FailLoadsOf("b");
    auto* broken = New<nGuiWidget>("nguilabel", "broken");
    broken->SetDefaultBrush("b3");
    auto* fine = New<nGuiWidget>("nguilabel", "fine");
    fine->SetDefaultBrush("b1");
    this->Render();
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 1u);
    EXPECT_EQ(this->gfx->batches[0].texture, "a");
    EXPECT_EQ(skin->FindBrush("b3"), skin->LookupBrush("b3"));
    EXPECT_FALSE(skin->LookupBrush("b3")->IsValid());
    const std::string msg = "nGuiResource: could not load texture b!";
    const size_t first = this->log.text.find(msg);
    EXPECT_NE(first, std::string::npos) << this->log.text;
    EXPECT_EQ(this->log.text.find(msg, first + 1), std::string::npos) << this->log.text;
}

TEST_F(GuiTest, BrushesWipedOnTheLiveSkinDrawNothing)
{
    nGuiSkin* skin = MakeSkin();
    auto* l = New<nGuiWidget>("nguilabel", "l");
    l->SetDefaultBrush("b1");
    this->Render();
    ASSERT_FALSE(this->gfx->batches.empty());
    skin->BeginBrushes();
    skin->EndBrushes();
    this->Render();
    EXPECT_TRUE(this->gfx->batches.empty());
    EXPECT_NE(this->log.text.find("could not resolve brush 'b1'"), std::string::npos);
}

TEST_F(GuiTest, ResolvedBrushesFollowAClearedOrGrownTable)
{
    nGuiSkin* skin = MakeSkin();
    auto* l = New<nGuiWidget>("nguilabel", "l");
    l->SetDefaultBrush("b1");
    this->Render();
    EXPECT_EQ(this->gfx->batches[0].texture, "a");
    // clear the table and make b1 a brush of another texture, then grow it past 256
    skin->BeginBrushes();
    skin->AddBrush("b1", "b", vector2(0, 0), vector2(16, 16), vector4(1, 1, 1, 1));
    for (int i = 0; i < 300; i++)
    {
        skin->AddBrush(("x" + std::to_string(i)).c_str(), "a", vector2(0, 0), vector2(1, 1), vector4(1, 1, 1, 1));
    }
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 1u);
    EXPECT_EQ(this->gfx->batches[0].texture, "b");
    // the skin dies: the brush resolves again in the new current skin
    skin->Release();
    MakeSkin("s2");
    this->Render();
    EXPECT_EQ(this->gfx->batches[0].texture, "a");
}

TEST_F(GuiTest, TheClickSoundIsStoredUnderItsName)
{
    MakeSkin();
    this->Ok("/sys/share/rsrc/skins/s.setsound ButtonClick sounds:click.wav");
    EXPECT_EQ(this->Ok("/sys/share/rsrc/skins/s.getsound ButtonClick"), "sounds:click.wav");
    EXPECT_STREQ(this->gui->GetSkin()->GetSoundFile(nGuiSkin::ButtonClick), "sounds:click.wav");
    this->Fails("/sys/share/rsrc/skins/s.setsound Whoosh sounds:x.wav");
    this->Fails("/sys/share/rsrc/skins/s.getsoundvolume Whoosh");
    // without an audio server there is no sound object and no volume
    EXPECT_EQ(this->Ok("/sys/share/rsrc/skins/s.getsoundvolume ButtonClick"), "0.0");
}

TEST_F(GuiTest, SkinColoursBorderAndFontsAreScriptable)
{
    MakeSkin();
    const std::string s = "/sys/share/rsrc/skins/s.";
    EXPECT_THAT(Floats(this->Ok(s + "getinactivewindowcolor")), ElementsAre(FloatNear(0.8f, 1e-6f), FloatNear(0.8f, 1e-6f), FloatNear(0.8f, 1e-6f), FloatNear(1.0f, 1e-6f)));
    EXPECT_EQ(this->Ok(s + "getactivewindowcolor"), "1.0 1.0 1.0 1.0");
    EXPECT_EQ(this->Ok(s + "gettitletextcolor"), "0.0 0.0 0.0 1.0");
    this->Ok(s + "setwindowborder 0.1 0.2 0.3 0.4");
    EXPECT_THAT(Floats(this->Ok(s + "getwindowborder")), ElementsAre(FloatNear(0.1f, 1e-6f), FloatNear(0.2f, 1e-6f), FloatNear(0.3f, 1e-6f), FloatNear(0.4f, 1e-6f)));
    EXPECT_EQ(this->Ok(s + "getwindowfont"), "GuiDefault");
    EXPECT_EQ(this->Ok(s + "getbuttonfont"), "GuiSmall");
    this->Ok(s + "setlabelfont Big");
    EXPECT_EQ(this->Ok(s + "getlabelfont"), "Big");
    this->Fails(s + "setlabelfont :null:");
}

}  // namespace
