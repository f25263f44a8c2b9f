//------------------------------------------------------------------------------
//  The GUI server: windows, input dispatch, listeners, commands, tooltip,
//  the system GUI, and the brush batches it draws.
//------------------------------------------------------------------------------
#include "guifixture.h"
#include "util/assertdeath.h"
#include "gui/nguibutton.h"
#include "gui/nguicolorlabel.h"
#include "gui/nguiresource.h"
#include "gui/nguiskin.h"
#include "gui/nguitooltip.h"
#include "gfx2/ncamera2.h"
#include "input/ninputevent.h"
#include "mathlib/matrix44.h"

namespace
{

TEST_F(GuiTest, NewWindowsAreNumberedAndTheNewestTakesTheFocus)
{
    nGuiWindow* w1 = this->gui->NewWindow("nguiwindow", true);
    nGuiWindow* w2 = this->gui->NewWindow("nguiwindow", true);
    EXPECT_STREQ(w1->GetName(), "window1");
    EXPECT_STREQ(w2->GetName(), "window2");
    EXPECT_EQ(w1->GetParent(), this->root);
    EXPECT_FALSE(w1->HasFocus());
    EXPECT_TRUE(w2->HasFocus());
    EXPECT_EQ(this->root->GetTopMostWindow(), w2);
    EXPECT_EQ(this->Ok("/sys/servers/gui.newwindow nguiwindow false"), "/gui/window0/window3");
    EXPECT_FALSE(static_cast<nGuiWindow*>(this->ks->Lookup("/gui/window0/window3"))->IsShown());
    // a class that is no window makes no object under the root
    this->Fails("/sys/servers/gui.newwindow nguibutton true");
    this->Fails("/sys/servers/gui.newwindow nosuchclass true");
    EXPECT_EQ(this->ks->Lookup("/gui/window0/window4"), nullptr);
    // a script's own child of the next name is left alone
    nRoot* own = static_cast<nRoot*>(this->ks->New("nroot", "/gui/window0/window4"));
    nGuiWindow* w5 = this->gui->NewWindow("nguiwindow", true);
    ASSERT_NE(w5, nullptr);
    EXPECT_STREQ(w5->GetName(), "window5");
    EXPECT_EQ(this->ks->Lookup("/gui/window0/window4"), own);
    EXPECT_EQ(this->root->GetTopMostWindow(), w5);
}

TEST_F(GuiTest, OpenBuildsTheSystemRootWindowAndLeavesNoRoot)
{
    // the fixture's gui was opened already: the system window exists, hidden
    nRoot* sys = this->ks->Lookup("/gui/SystemRootWindow");
    ASSERT_NE(sys, nullptr);
    EXPECT_FALSE(static_cast<nGuiWindow*>(sys)->IsShown());
    EXPECT_NE(this->ks->Lookup("/sys/share/rsrc/skins"), nullptr);
    EXPECT_EQ(this->Ok("/sys/servers/gui.getrootwindow"), "window0");
    this->gui->Close();
    EXPECT_EQ(this->ks->Lookup("/gui/SystemRootWindow"), nullptr);
    EXPECT_EQ(this->ks->Lookup("/sys/share/rsrc/skins"), nullptr);
    EXPECT_EQ(this->gfx->GetShader(), nullptr);
}

TEST_F(GuiTest, AFailingOpenHookIsFatal)
{
    this->gui->Close();
    this->Ok("proc OnGuiServerOpen {} { error boom }");
    this->script->SetFailOnError(false);
    EXPECT_FATAL(this->gui->Open(), "OnGuiServerOpenFailed: boom");
}

TEST_F(GuiTest, AnEmptyRootWindowNameClearsTheRootAndStopsFramesAndDrawing)
{
    MakeSkin();
    this->root->SetDefaultBrush("b1");
    this->Ok("/sys/servers/gui.setrootwindow {}");
    EXPECT_EQ(this->gui->GetRootWindowPointer(), nullptr);
    this->Render();
    EXPECT_TRUE(this->gfx->calls.empty());
    this->MouseMove(0.3f, 0.4f);
    this->Frame();
    EXPECT_FLOAT_EQ(this->gui->GetMousePos().x, 0.0f);
    this->Fails("/sys/servers/gui.setrootwindow nosuchwindow");
    this->Fails("/sys/servers/gui.setrootwindow ..");
    this->Ok("/sys/servers/gui.setrootwindow window0");
    EXPECT_EQ(this->gui->GetRootWindowPointer(), this->root);
}

TEST_F(GuiTest, OnlyEventsOfTheFirstMouseMoveTheMouse)
{
    this->MouseMove(0.25f, 0.75f);
    this->Key(N_INPUT_KEY_DOWN, 20);
    this->Key(N_INPUT_KEY_CHAR, 'a');
    this->Frame();
    EXPECT_FLOAT_EQ(this->gui->GetMousePos().x, 0.25f);
    EXPECT_FLOAT_EQ(this->gui->GetMousePos().y, 0.75f);
    this->MouseMove(0.9f, 0.9f, 0x20001);
    this->Frame();
    EXPECT_FLOAT_EQ(this->gui->GetMousePos().x, 0.25f);
}

TEST_F(GuiTest, EventsOfOtherDevicesDoNotReachTheWidgets)
{
    auto* l = New<GuiListener>("nguitestlistener", "l");
    this->gui->RegisterEventListener(l);
    this->ButtonDown(0.5f, 0.5f, 0, 0x20001);
    this->Key(N_INPUT_KEY_DOWN, 20, 0x10001);
    this->Frame();
    EXPECT_TRUE(l->heard.empty());
    this->ButtonDown(0.5f, 0.5f);
    this->Key(N_INPUT_KEY_DOWN, 20);
    this->Frame();
    EXPECT_EQ(l->heard, (std::vector<std::string>{"ButtonDown l", "ButtonDown window0", "KeyDown window0", "KeyDown l"}));
}

TEST_F(GuiTest, ListenersAreKeptOnceAndDeadOnesDisappear)
{
    auto* a = New<GuiListener>("nguitestlistener", "a");
    auto* b = New<GuiListener>("nguitestlistener", "b");
    this->gui->RegisterEventListener(a);
    this->gui->RegisterEventListener(a);
    this->gui->RegisterEventListener(b);
    this->Ok("/sys/servers/gui.putevent /gui/window0/b Action");
    EXPECT_EQ(a->heard, (std::vector<std::string>{"Action b"}));
    b->Release();
    this->Frame();
    this->Ok("/sys/servers/gui.putevent /gui/window0/a NoSuchEvent");
    EXPECT_EQ(a->heard.back(), " a");
    this->gui->UnregisterEventListener(a);
    this->Ok("/sys/servers/gui.putevent /gui/window0/a Show");
    EXPECT_EQ(a->heard.size(), 2u);
}

TEST_F(GuiTest, EventCommandsRejectMissingAndForeignObjects)
{
    this->ks->New("nroot", "/foreign");
    this->Fails("/sys/servers/gui.putevent :null: Action");
    this->Fails("/sys/servers/gui.putevent /foreign Action");
    this->Fails("/sys/servers/gui.runcommand /foreign {set x 1}");
    this->Fails("/sys/servers/gui.setskin /foreign");
    this->Fails("/sys/servers/gui.setdragbox /foreign");
    EXPECT_EQ(this->gui->GetDragBox(), nullptr);
}

TEST_F(GuiTest, ListenersRegisteredDuringDeliveryMissThatEvent)
{
    auto* a = New<GuiListener>("nguitestlistener", "a");
    auto* late = New<GuiListener>("nguitestlistener", "late");
    this->gui->RegisterEventListener(a);
    a->hook = [this, late](const nGuiEvent&) { this->gui->RegisterEventListener(late); };
    this->gui->PutEvent(nGuiEvent(a, nGuiEvent::Action));
    EXPECT_TRUE(late->heard.empty());
    a->hook = nullptr;
    this->gui->PutEvent(nGuiEvent(a, nGuiEvent::Show));
    EXPECT_EQ(late->heard, (std::vector<std::string>{"Show a"}));
}

TEST_F(GuiTest, AListenerMayDeleteItselfOtherListenersAndTheEmitter)
{
    auto* a = New<GuiListener>("nguitestlistener", "a");
    auto* b = New<GuiListener>("nguitestlistener", "b");
    auto* c = New<GuiListener>("nguitestlistener", "c");
    auto* button = New<nGuiWidget>("nguiwidget", "w");
    for (GuiListener* l : {a, b, c}) this->gui->RegisterEventListener(l);
    a->onEvent = "delete /gui/window0/b; delete /gui/window0/w; delete /gui/window0/a";
    button->SetCommand("set x 1");
    nRef<nGuiWidget> refButton(button);
    button->OnAction();
    EXPECT_FALSE(refButton.isvalid());
    EXPECT_EQ(c->heard, (std::vector<std::string>{"Action null"}));
    this->Frame();
}

TEST_F(GuiTest, RunCommandMakesTheWidgetTheCurrentObjectAndRestoresIt)
{
    auto* w = New<nGuiWidget>("nguiwidget", "w");
    this->ks->SetCwd(this->ks->GetRoot());
    EXPECT_TRUE(this->gui->RunCommand(w, "set ::seen [psel]"));
    EXPECT_EQ(this->Ok("set ::seen"), "/gui/window0/w");
    EXPECT_EQ(this->ks->GetCwd(), this->ks->GetRoot());
    EXPECT_FALSE(this->gui->RunCommand(w, ""));
    EXPECT_EQ(this->Ok("/sys/servers/gui.runcommand /gui/window0/w {}"), "false");
}

TEST_F(GuiTest, TheTooltipShowsFromTheSecondRequestAndGoesWhenNobodyAsks)
{
    MakeSkin();
    auto* tip = New<nGuiToolTip>("nguitooltip", "/gui/Tooltip");
    tip->SetDefaultBrush("b1");
    this->gui->ShowToolTip("hello", vector4(0, 0, 0, 1));
    EXPECT_FALSE(tip->IsShown());
    this->Render();
    this->gui->ShowToolTip("hello", vector4(0, 0, 0, 1));
    EXPECT_TRUE(tip->IsShown());
    EXPECT_STREQ(tip->GetText(), "hello");
    this->Render();
    EXPECT_TRUE(tip->IsShown());
    this->Render();
    EXPECT_FALSE(tip->IsShown());
}

TEST_F(GuiTest, AMissingOrForeignTooltipIsNoTooltip)
{
    this->gui->ShowToolTip("x", vector4(0, 0, 0, 1));
    this->gui->ShowToolTip("x", vector4(0, 0, 0, 1));
    EXPECT_FALSE(this->gui->IsToolTipShown());
    this->ks->New("nroot", "/gui/Tooltip");
    this->gui->ShowToolTip("x", vector4(0, 0, 0, 1));
    this->gui->ShowToolTip("x", vector4(0, 0, 0, 1));
    EXPECT_FALSE(this->gui->IsToolTipShown());
    this->Render();
}

TEST_F(GuiTest, TheSystemGuiTogglesBackToAnEmptyUserSkin)
{
    nGuiSkin* sys = this->gui->NewSkin("sys");
    this->gui->SetSystemSkin(sys);
    EXPECT_EQ(this->gui->GetSkin(), nullptr);
    this->Ok("/sys/servers/gui.togglesystemgui");
    EXPECT_EQ(this->gui->GetSkin(), sys);
    EXPECT_STREQ(this->gui->GetRootWindow(), "SystemRootWindow");
    this->Ok("/sys/servers/gui.togglesystemgui");
    EXPECT_EQ(this->gui->GetSkin(), nullptr);
    EXPECT_EQ(this->gui->GetRootWindowPointer(), this->root);
}

TEST_F(GuiTest, SkinNamesAreUniqueAndNeedAnOpenServer)
{
    EXPECT_EQ(this->Ok("/sys/servers/gui.newskin s1"), "/sys/share/rsrc/skins/s1");
    this->Fails("/sys/servers/gui.newskin s1");
    this->Fails("/sys/servers/gui.newskin {}");
    this->Ok("/sys/servers/gui.setskin /sys/share/rsrc/skins/s1");
    EXPECT_EQ(this->Ok("/sys/servers/gui.getskin"), "/sys/share/rsrc/skins/s1");
    this->gui->Close();
    this->Fails("/sys/servers/gui.newskin s2");
    this->Fails("/sys/servers/gui.newwindow nguiwindow true");
}

TEST_F(GuiTest, TheGuiTransformPutsTheUnitQuadJustBeforeTheNearPlane)
{
    nCamera2 camera;
    const matrix44 m = nGuiServer::ComputeGuiTransform(camera.GetProjection(), camera.GetNearPlane());
    EXPECT_NEAR(m.m[0][0], 0.1694f, 1e-4f);
    EXPECT_NEAR(m.m[1][1], 0.1270f, 1e-4f);
    EXPECT_NEAR(m.m[2][2], 0.0f, 1e-6f);
    EXPECT_NEAR(m.m[3][0], 0.0f, 1e-6f);
    EXPECT_NEAR(m.m[3][1], 0.0f, 1e-6f);
    EXPECT_NEAR(m.m[3][2], -0.11f, 1e-5f);
    const vector3 topLeft = m.transform_coord(vector3(-0.5f, 0.5f, 0.0f));
    EXPECT_NEAR(topLeft.x, -0.0847f, 1e-4f);
    EXPECT_NEAR(topLeft.y, 0.0635f, 1e-4f);
    EXPECT_NEAR(topLeft.z, -0.11f, 1e-5f);
}

TEST_F(GuiTest, RenderDrawsThroughTheGuiEffectWithTheGuiTransformAndRestoresIt)
{
    MakeSkin();
    this->root->SetDefaultBrush("b1");
    const matrix44 model = this->gfx->GetTransform(nGfxServer2::Model);
    this->Render();
    EXPECT_EQ(this->gfx->Count("Shader shaders:gui.fx Begin 0"), 1);
    EXPECT_EQ(this->gfx->Count("DrawNS 3"), 1);
    EXPECT_TRUE(this->gfx->GetTransform(nGfxServer2::Model).isequal(model, 1e-6f));
    EXPECT_EQ(this->gfx->GetMesh(), nullptr);
}

TEST_F(GuiTest, ARunOfBrushesOfOneTextureIsOneDrawCall)
{
    MakeSkin();
    // a run on texture "a", then one on "b", then "a" again
    const char* const brushes[] = {"b1", "b2", "b1", "b2", "b1", "b3", "b3", "b1"};
    int i = 0;
    for (const char* b : brushes)
    {
        auto* l = New<nGuiWidget>("nguilabel", "l" + std::to_string(i++));
        l->SetDefaultBrush(b);
        l->SetRect(rectangle(vector2(0.1f, 0.1f), vector2(0.2f, 0.2f)));
    }
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 3u);
    EXPECT_EQ(this->gfx->batches[0].vertices.size(), 5u * 6 * 8);
    EXPECT_EQ(this->gfx->batches[1].vertices.size(), 2u * 6 * 8);
    EXPECT_EQ(this->gfx->batches[2].vertices.size(), 1u * 6 * 8);
    EXPECT_EQ(this->gfx->batches[0].texture, this->gfx->batches[2].texture);
    EXPECT_NE(this->gfx->batches[0].texture, this->gfx->batches[1].texture);
    EXPECT_EQ(this->gfx->Count("DrawNS 3"), 3);
}

TEST_F(GuiTest, ColoursWithinTheToleranceShareABatch)
{
    MakeSkin();
    struct Case
    {
        float delta;
        size_t batches;
    };
    for (const Case& c : {Case{0.0005f, 1u}, Case{0.002f, 2u}})
    {
        auto* a = New<nGuiColorLabel>("nguicolorlabel", "a");
        auto* b = New<nGuiColorLabel>("nguicolorlabel", "b");
        a->SetColor(vector4(0.5f, 0.5f, 0.5f, 1.0f));
        b->SetColor(vector4(0.5f, 0.5f + c.delta, 0.5f, 1.0f));
        this->Render();
        EXPECT_EQ(this->gfx->batches.size(), c.batches) << c.delta;
        EXPECT_NEAR(this->gfx->batches[0].color.y, 0.5f, 1e-6f);
        a->Release();
        b->Release();
    }
}

TEST_F(GuiTest, ABrushOf16PixelsHasTheUvsOfItsTexels)
{
    MakeSkin();
    auto* l = New<nGuiWidget>("nguilabel", "l");
    l->SetDefaultBrush("b1");
    l->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.5f, 0.25f)));
    nGuiResource* res = this->gui->GetSkin()->FindBrush("b1");
    const rectangle& uv = res->GetUvRect();
    EXPECT_FLOAT_EQ(uv.v0.x, 0.5f / 256);
    EXPECT_FLOAT_EQ(uv.v0.y, 1.0f - 16.0f / 256);
    EXPECT_FLOAT_EQ(uv.v1.x, 16.0f / 256);
    EXPECT_FLOAT_EQ(uv.v1.y, 1.0f - 0.5f / 256);
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 1u);
    const std::vector<float>& v = this->gfx->batches[0].vertices;
    ASSERT_EQ(v.size(), 48u);
    // vertex 0: top-left; vertex 2: bottom-right (x, y, z, normal, u, v)
    const float topLeft[] = {-0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 1.0f, 0.5f / 256, 0.5f / 256};
    const float bottomRight[] = {0.0f, 0.25f, 0.0f, 0.0f, 0.0f, 1.0f, 16.0f / 256, 16.0f / 256};
    for (int k = 0; k < 8; k++)
    {
        EXPECT_FLOAT_EQ(v[k], topLeft[k]) << k;
        EXPECT_FLOAT_EQ(v[16 + k], bottomRight[k]) << k;
    }
    EXPECT_FLOAT_EQ(v[40], -0.5f);
    EXPECT_FLOAT_EQ(v[41], 0.25f);
}

TEST_F(GuiTest, ClippedQuadsCutTheirUvsAndEmptyOnesAreSkipped)
{
    MakeSkin();
    auto* l = New<nGuiWidget>("nguilabel", "l");
    l->SetDefaultBrush("b1");
    l->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.5f, 0.5f)));
    this->gui->PushClipRect(rectangle(vector2(0.25f, 0.0f), vector2(1.0f, 1.0f)));
    rectangle clip;
    ASSERT_TRUE(this->gui->GetClipRect(clip));
    this->Render();
    ASSERT_EQ(this->gfx->batches.size(), 1u);
    const std::vector<float>& v = this->gfx->batches[0].vertices;
    EXPECT_FLOAT_EQ(v[0], -0.25f);
    EXPECT_NEAR(v[6], 0.5f / 256 + (16.0f - 0.5f) / 256 / 2, 1e-6f);
    l->SetRect(rectangle(vector2(0.0f, 0.0f), vector2(0.2f, 0.2f)));
    this->Render();
    EXPECT_TRUE(this->gfx->batches.empty());
}

TEST_F(GuiTest, RectanglesAreMovedOntoTheScreenKeepingTheirSize)
{
    struct Case
    {
        rectangle in, out;
    };
    const Case cases[] = {
        {{{-0.1f, 0.2f}, {0.1f, 0.3f}}, {{0.0f, 0.2f}, {0.2f, 0.3f}}},
        {{{0.9f, 0.95f}, {1.1f, 1.05f}}, {{0.8f, 0.9f}, {1.0f, 1.0f}}},
        {{{0.2f, -0.5f}, {0.3f, -0.4f}}, {{0.2f, 0.0f}, {0.3f, 0.1f}}},
        {{{0.2f, 0.2f}, {0.3f, 0.3f}}, {{0.2f, 0.2f}, {0.3f, 0.3f}}},
    };
    for (const Case& c : cases)
    {
        rectangle r = c.in;
        nGuiServer::MoveRectToVisibleArea(r);
        EXPECT_NEAR(r.v0.x, c.out.v0.x, 1e-6f);
        EXPECT_NEAR(r.v0.y, c.out.v0.y, 1e-6f);
        EXPECT_NEAR(r.v1.x, c.out.v1.x, 1e-6f);
        EXPECT_NEAR(r.v1.y, c.out.v1.y, 1e-6f);
    }
}

TEST_F(GuiTest, ScreenSpaceBrushSizeIsTheTexelSizeOverTheDisplay)
{
    MakeSkin();
    const std::string out = this->Ok("/sys/servers/gui.computescreenspacebrushsize b1");
    float w = 0, h = 0;
    ASSERT_EQ(sscanf(out.c_str(), "%f %f", &w, &h), 2);
    EXPECT_NEAR(w, 15.5f / 800, 1e-5f);
    EXPECT_NEAR(h, 15.5f / 600, 1e-5f);
    this->Fails("/sys/servers/gui.computescreenspacebrushsize nosuchbrush");
    this->Fails("/sys/servers/gui.setdisplaysize 0 600");
}

}  // namespace
