//------------------------------------------------------------------------------
//  The graphics server interface: value types, transforms, frame state,
//  bindings, BreakLines and the mouse cursor.
//------------------------------------------------------------------------------
#include "gfxfixture.h"
#include "util/assertdeath.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace
{

typedef nGfxServer2 G;

bool Near(const matrix44& a, const matrix44& b)
{
    return a.isequal(b, 0.0001f);
}

matrix44 Translation(float x, float y, float z)
{
    matrix44 m;
    m.translate(vector3(x, y, z));
    return m;
}

matrix44 RotationY(float a)
{
    matrix44 m;
    m.rotate_y(a);
    return m;
}

TEST(DisplayMode, DefaultsAndConstructor)
{
    const nDisplayMode2 d;
    EXPECT_STREQ(d.GetWindowTitle(), "Quelor2 Viewer");
    EXPECT_STREQ(d.GetIcon(), "");
    EXPECT_EQ(d.GetType(), nDisplayMode2::Windowed);
    EXPECT_EQ(d.GetXPos(), 0);
    EXPECT_EQ(d.GetWidth(), 640);
    EXPECT_EQ(d.GetHeight(), 480);
    EXPECT_EQ(d.GetBpp(), 1);
    EXPECT_TRUE(d.GetVerticalSync());
    EXPECT_FALSE(d.GetDialogBoxMode());
    const nDisplayMode2 m("T", nDisplayMode2::ChildWindow, 1, 2, 800, 600, false);
    EXPECT_STREQ(m.GetWindowTitle(), "T");
    EXPECT_EQ(m.GetType(), nDisplayMode2::ChildWindow);
    EXPECT_EQ(m.GetYPos(), 2);
    EXPECT_EQ(m.GetBpp(), 1);
    EXPECT_FALSE(m.GetVerticalSync());
}

TEST(DisplayMode, TypeNames)
{
    const struct
    {
        const char* name;
        int type;
        const char* back;
    } cases[] = {
        {"windowed", 0, "windowed"}, {"fullscreen", 1, "fullscreen"}, {"alwaysontop", 2, "alwaysontop"},
        {"childwindow", 3, "childwindow"}, {"Windowed", 1, "fullscreen"}, {"", 1, "fullscreen"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(nDisplayMode2::StringToType(c.name), c.type) << c.name;
        EXPECT_STREQ(nDisplayMode2::TypeToString(c.type), c.back);
    }
    EXPECT_STREQ(nDisplayMode2::TypeToString(7), "fullscreen");
    EXPECT_STREQ(nDisplayMode2::TypeToString(-1), "fullscreen");
}

TEST(Camera, DefaultPerspectiveProjection)
{
    const nCamera2 cam;
    EXPECT_FLOAT_EQ(cam.GetAngleOfView(), 1.0471976f);
    EXPECT_FLOAT_EQ(cam.GetAspectRatio(), 4.0f / 3.0f);
    const matrix44& p = cam.GetProjection();
    const float yScale = 1.0f / tanf(1.0471976f / 2.0f);
    EXPECT_FLOAT_EQ(p.m[1][1], yScale);
    EXPECT_FLOAT_EQ(p.m[0][0], yScale / (4.0f / 3.0f));
    EXPECT_FLOAT_EQ(p.m[2][3], -1.0f);
    EXPECT_FLOAT_EQ(p.m[3][2], 0.1f * 5000.0f / (0.1f - 5000.0f));
    EXPECT_FLOAT_EQ(p.m[2][2], 5000.0f / (0.1f - 5000.0f));
    EXPECT_EQ(p.m[3][3], 0.0f);
    EXPECT_TRUE(Near(p * cam.GetInvProjection(), matrix44()));
}

TEST(Camera, OrthogonalProjectionFollowsChanges)
{
    nCamera2 cam;
    cam.SetOrthogonal(4.0f, 2.0f, 1.0f, 11.0f);
    const matrix44& p = cam.GetProjection();
    EXPECT_FLOAT_EQ(p.m[0][0], 0.5f);
    EXPECT_FLOAT_EQ(p.m[1][1], 1.0f);
    EXPECT_FLOAT_EQ(p.m[2][2], -0.1f);
    EXPECT_FLOAT_EQ(p.m[3][2], -0.1f);
    EXPECT_FLOAT_EQ(p.m[3][3], 1.0f);
    cam.SetWidth(8.0f);
    EXPECT_FLOAT_EQ(cam.GetProjection().m[0][0], 0.25f);
    EXPECT_TRUE(Near(cam.GetProjection() * cam.GetInvProjection(), matrix44()));
}

using GfxServerTest = GfxTest;

// A lens that would give NaN or infinite matrices is refused: the server
// keeps the camera it had and says why.
TEST_F(GfxServerTest, UnusableCamerasKeepThePreviousOne)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct
    {
        float aov, aspect, nearp, farp;
    } perspective[] = {
        {1.0f, 0.0f, 0.1f, 100.0f}, {1.0f, nan, 0.1f, 100.0f},  {1.0f, inf, 0.1f, 100.0f},
        {1.0f, -1.0f, 0.1f, 100.0f}, {1.0f, 1.0f, 10.0f, 10.0f}, {1.0f, 1.0f, 20.0f, 10.0f},
        {0.0f, 1.0f, 0.1f, 100.0f}, {nan, 1.0f, 0.1f, 100.0f},  {1.0f, 1.0f, nan, 100.0f},
        {1.0f, 1.0f, 0.1f, inf},    {3.2f, 1.0f, 0.1f, 100.0f},
    };
    nCamera2 good;
    good.SetPerspective(0.8f, 2.0f, 1.0f, 50.0f);
    this->gfx->SetCamera(good);
    for (const auto& c : perspective)
    {
        nCamera2 bad;
        bad.SetPerspective(c.aov, c.aspect, c.nearp, c.farp);
        this->log.text.clear();
        this->gfx->SetCamera(bad);
        EXPECT_FLOAT_EQ(this->gfx->GetCamera().GetAspectRatio(), 2.0f) << c.aov << " " << c.aspect;
        EXPECT_NE(this->log.text.find("keeping the previous one"), std::string::npos);
    }
    nCamera2 flat;
    flat.SetOrthogonal(0.0f, 1.0f, 0.0f, 1.0f);
    this->gfx->SetCamera(flat);
    EXPECT_EQ(this->gfx->GetCamera().GetType(), nCamera2::Perspective);
    flat.SetWidth(2.0f);
    this->gfx->SetCamera(flat);
    EXPECT_EQ(this->gfx->GetCamera().GetType(), nCamera2::Orthogonal);
    for (int r = 0; r < 4; r++)
    {
        for (int col = 0; col < 4; col++)
        {
            EXPECT_TRUE(std::isfinite(this->gfx->GetCamera().GetProjection().m[r][col]));
        }
    }
}

// Setting one transform recomputes exactly the matrices derived from it.
TEST_F(GfxServerTest, SettingATransformUpdatesOnlyItsDerivedMatrices)
{
    const int ModelSet[] = {G::Model, G::InvModel, G::ModelView, G::InvModelView, G::ModelViewProjection,
                            G::ModelLight, G::InvModelLight, G::ModelLightProjection};
    const int ViewSet[] = {G::View, G::InvView, G::ModelView, G::InvModelView, G::ModelViewProjection,
                           G::ViewProjection};
    const int ProjSet[] = {G::Projection, G::ViewProjection, G::ModelViewProjection, G::ModelLightProjection};
    const int LightSet[] = {G::Light, G::ModelLight, G::InvModelLight, G::ModelLightProjection};
    const int TexSet[] = {G::Texture2};
    const struct
    {
        G::TransformType type;
        const int* changed;
        int num;
    } cases[] = {
        {G::Model, ModelSet, 8}, {G::View, ViewSet, 6}, {G::Projection, ProjSet, 4},
        {G::Light, LightSet, 4}, {G::Texture2, TexSet, 1},
    };
    // give every settable matrix a value first, so products are not trivial
    this->gfx->SetTransform(G::Model, Translation(1, 2, 3));
    this->gfx->SetTransform(G::View, RotationY(0.3f) * Translation(0, 0, -5));
    this->gfx->SetTransform(G::Projection, this->gfx->GetCamera().GetProjection());
    this->gfx->SetTransform(G::Light, RotationY(-0.7f));
    for (const auto& c : cases)
    {
        matrix44 before[G::NumTransformTypes];
        for (int i = 0; i < G::NumTransformTypes; i++) before[i] = this->gfx->GetTransform(G::TransformType(i));
        this->gfx->SetTransform(c.type, this->gfx->GetTransform(c.type) * Translation(0.5f, -1.0f, 2.0f));
        for (int i = 0; i < G::NumTransformTypes; i++)
        {
            bool expected = false;
            for (int k = 0; k < c.num; k++) expected |= (c.changed[k] == i);
            EXPECT_EQ(before[i] != this->gfx->GetTransform(G::TransformType(i)), expected)
                << "set " << c.type << " matrix " << i;
        }
    }
    const auto T = [this](int t) { return this->gfx->GetTransform(G::TransformType(t)); };
    EXPECT_TRUE(Near(T(G::ModelView), T(G::Model) * T(G::View)));
    EXPECT_TRUE(Near(T(G::InvModelView), T(G::InvView) * T(G::InvModel)));
    EXPECT_TRUE(Near(T(G::ModelViewProjection), T(G::ModelView) * T(G::Projection)));
    EXPECT_TRUE(Near(T(G::ViewProjection), T(G::View) * T(G::Projection)));
    EXPECT_TRUE(Near(T(G::ModelLight), T(G::Model) * T(G::Light)));
    EXPECT_TRUE(Near(T(G::InvModelLight), T(G::Light) * T(G::InvModel)));
    EXPECT_TRUE(Near(T(G::ModelLightProjection), T(G::ModelLight) * T(G::Projection)));
    EXPECT_TRUE(Near(T(G::Model) * T(G::InvModel), matrix44()));
}

TEST_F(GfxServerTest, PushAndPopRestoreTheMatrixAndItsProducts)
{
    this->gfx->SetTransform(G::View, Translation(0, 0, -10));
    const matrix44 outer = Translation(1, 0, 0);
    this->gfx->SetTransform(G::Model, outer);
    const matrix44 outerMV = this->gfx->GetTransform(G::ModelView);
    for (int i = 0; i < G::MaxTransformStackDepth; i++)
    {
        this->gfx->PushTransform(G::Model, Translation(0, float(i + 1), 0));
    }
    EXPECT_EQ(this->gfx->GetTransform(G::Model), Translation(0, 4, 0));
    for (int i = G::MaxTransformStackDepth - 1; i > 0; i--)
    {
        EXPECT_EQ(this->gfx->PopTransform(G::Model), Translation(0, float(i), 0));
    }
    EXPECT_EQ(this->gfx->PopTransform(G::Model), outer);
    EXPECT_EQ(this->gfx->GetTransform(G::ModelView), outerMV);
}

TEST_F(GfxServerTest, SceneLinesShapesAndLights)
{
    EXPECT_FALSE(this->gfx->BeginScene());
    EXPECT_TRUE(this->gfx->OpenDisplay());
    EXPECT_EQ(this->gfx->AddLight(nLight()), 1);
    EXPECT_TRUE(this->gfx->BeginScene());
    EXPECT_EQ(this->gfx->GetLightArray().Size(), 0);
    nLight light;
    light.type = 2;
    EXPECT_EQ(this->gfx->AddLight(light), 1);
    EXPECT_EQ(this->gfx->AddLight(light), 2);
    EXPECT_EQ(this->gfx->GetLightArray()[1].type, 2);
    EXPECT_EQ(this->gfx->GetLightArray()[0].diffuse, vector4(1, 1, 1, 1));
    this->gfx->BeginShapes();
    this->gfx->DrawShape(G::Sphere, matrix44(), vector4());
    this->gfx->EndShapes();
    this->gfx->EndScene();
    this->gfx->PresentScene();
    this->gfx->CloseDisplay();
    EXPECT_TRUE(this->gfx->Has("DrawShape 2"));
    EXPECT_EQ(this->gfx->Count("BeginScene"), 2);
}

TEST_F(GfxServerTest, RenderTargetIsHeldByOneReference)
{
    nTexture2* rt = this->gfx->NewRenderTarget("rt", 256, 128, nTexture2::A8R8G8B8, nTexture2::RenderTargetColor);
    ASSERT_NE(rt, nullptr);
    EXPECT_TRUE(this->gfx->Has("NewRenderTarget 256x128 2 8"));
    this->gfx->SetRenderTarget(rt);
    EXPECT_EQ(rt->GetRefCount(), 2);
    EXPECT_EQ(this->gfx->GetRenderTarget(), rt);
    this->gfx->SetRenderTarget(rt);
    EXPECT_EQ(rt->GetRefCount(), 2);
    this->gfx->SetRenderTarget(nullptr);
    EXPECT_EQ(rt->GetRefCount(), 1);
    EXPECT_EQ(this->gfx->GetRenderTarget(), nullptr);
    this->gfx->SetRenderTarget(rt);
    rt->Release();
    EXPECT_EQ(rt->GetRefCount(), 1);
}

TEST_F(GfxServerTest, CurrentBindingsClearWhenTheirResourceDies)
{
    nTexture2* tex = this->gfx->NewTexture("a.dds");
    nMesh2* mesh = this->gfx->NewMesh("m.n3d2");
    nShader2* shd = this->gfx->NewShader("s.fx");
    nFontDesc desc;
    desc.height = 20;
    nFont2* font = this->gfx->NewFont("f", desc);
    nInstanceStream* stream = this->gfx->NewInstanceStream("i");
    ASSERT_TRUE(tex && mesh && shd && font && stream);
    EXPECT_EQ(font->GetFontDesc().height, 20);
    this->gfx->SetTexture(3, tex);
    this->gfx->SetMesh(mesh);
    this->gfx->SetShader(shd);
    this->gfx->SetFont(font);
    this->gfx->SetInstanceStream(stream);
    this->gfx->SetVertexRange(3, 9);
    this->gfx->SetIndexRange(6, 12);
    EXPECT_EQ(this->gfx->GetTexture(3), tex);
    EXPECT_EQ(this->gfx->GetTexture(0), nullptr);
    EXPECT_EQ(this->gfx->GetMesh(), mesh);
    EXPECT_EQ(this->gfx->GetShader(), shd);
    EXPECT_EQ(this->gfx->GetFont(), font);
    EXPECT_EQ(this->gfx->GetInstanceStream(), stream);
    EXPECT_EQ(this->gfx->GetVertexRangeNum(), 9);
    EXPECT_EQ(this->gfx->GetIndexRangeFirst(), 6);
    EXPECT_TRUE(this->gfx->Has("SetTexture 3 a_dds"));
    for (nResource* r : {(nResource*)tex, (nResource*)mesh, (nResource*)shd, (nResource*)font, (nResource*)stream})
    {
        r->Release();
    }
    EXPECT_EQ(this->gfx->GetTexture(3), nullptr);
    EXPECT_EQ(this->gfx->GetMesh(), nullptr);
    EXPECT_EQ(this->gfx->GetFont(), nullptr);
    EXPECT_EQ(this->gfx->GetInstanceStream(), nullptr);
}

TEST_F(GfxServerTest, MeshAndMeshArrayOfOneNameAreKeptApart)
{
    nMesh2* mesh = this->gfx->NewMesh("body");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(this->gfx->NewMeshArray("body"), nullptr);
    EXPECT_NE(this->log.text.find("is a 'nrecordingmesh'"), std::string::npos) << this->log.text;
    mesh->Release();
}

// BreakLines with 0.01 per character: a line of width 0.095 holds 9
// characters (the width must be greater than the measured one).
TEST_F(GfxServerTest, BreakLinesWrapsAtSpaces)
{
    const struct
    {
        const char* in;
        const char* out;
        bool warns;
    } cases[] = {
        {"short", "short", false},
        {"fits in 9", "fits in 9", false},
        {"hello world", "hello\nworld", false},
        {"one two three four", "one two\nthree\nfour", false},
        {"waytoolongword a b", "waytoolongword\na b", true},
        {"a b waytoolongword c d e", "a b\nwaytoolongword\nc d e", true},
        {"aa waytoolongword", "aa\nwaytoolongword", true},
        {" leading", " leading", false},
        {"  ", "  ", false},
    };
    nFont2* font = this->gfx->NewFont("f", nFontDesc());
    font->SetFilename("f");
    ASSERT_TRUE(font->Load());
    this->gfx->SetFont(font);
    const rectangle rect(vector2(0.0f, 0.0f), vector2(0.095f, 1.0f));
    for (const auto& c : cases)
    {
        this->log.text.clear();
        nString out;
        this->gfx->BreakLines(c.in, rect, out);
        EXPECT_STREQ(out.Get(), c.out) << c.in;
        EXPECT_EQ(this->log.text.find("don't fit into one line") != std::string::npos, c.warns) << c.in;
    }
    font->Release();
}

// FitText with 0.01 per byte and 0.02 per line: a box of 0.095 by 0.045
// holds two lines of 9 bytes.
TEST_F(GfxServerTest, FitTextBreaksLinesAndShortensWhatTheBoxCannotHold)
{
    const struct
    {
        const char* in;
        const char* out;
        bool whole;
    } cases[] = {
        {"", "", true},
        {"short", "short", true},
        {"hello world", "hello\nworld", true},
        {"waytoolongword", "waytoolon\ngword", true},
        // a character is never cut in two
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\n\xC3\xA9", true},
        // a no-break space holds its words together
        {"abc\xC2\xA0" "def gh", "abc\xC2\xA0" "def\ngh", true},
        {"one two three four", "one two\nthree...", false},
        {"a\nb\nc", "a\nb c...", false},
        {"waytoolongwordsandmore", "waytoolon\ngwords...", false},
    };
    nFont2* font = this->gfx->NewFont("f", nFontDesc());
    font->SetFilename("f");
    ASSERT_TRUE(font->Load());
    this->gfx->SetFont(font);
    for (const auto& c : cases)
    {
        nString out;
        EXPECT_EQ(this->gfx->FitText(nString(c.in), vector2(0.095f, 0.045f), out), c.whole) << c.in;
        EXPECT_STREQ(out.IsEmpty() ? "" : out.Get(), c.out) << c.in;
    }
    // a box of no room still shows a character a line, and a huge one takes everything
    nString out;
    EXPECT_TRUE(this->gfx->FitText(nString("ab cd"), vector2(0.0f, 1.0f), out));
    EXPECT_STREQ(out.Get(), "a\nb\nc\nd");
    EXPECT_TRUE(this->gfx->FitText(nString("one two three four"), vector2(0.095f, FLT_MAX), out));
    EXPECT_STREQ(out.Get(), "one two\nthree\nfour");
    font->Release();
}

TEST_F(GfxServerTest, MouseCursorLoadsThroughTheServerAndSharesItsTexture)
{
    nMouseCursor cursor;
    cursor.SetFilename("cursor.dds");
    cursor.SetHotspotX(3);
    EXPECT_FALSE(cursor.IsLoaded());
    EXPECT_EQ(cursor.GetTexture(), nullptr);
    ASSERT_TRUE(cursor.Load());
    nTexture2* tex = cursor.GetTexture();
    ASSERT_NE(tex, nullptr);
    EXPECT_TRUE(tex->IsValid());
    EXPECT_EQ(tex->GetRefCount(), 1);
    {
        nMouseCursor copy(cursor);
        EXPECT_EQ(copy.GetTexture(), tex);
        EXPECT_EQ(copy.GetHotspotX(), 3);
        EXPECT_EQ(tex->GetRefCount(), 2);
        this->gfx->SetMouseCursor(copy);
        EXPECT_EQ(tex->GetRefCount(), 3);
        EXPECT_TRUE(this->gfx->IsCursorDirty());
    }
    EXPECT_EQ(tex->GetRefCount(), 2);
    this->gfx->SetMouseCursor(nMouseCursor());
    EXPECT_EQ(tex->GetRefCount(), 1);
    cursor.SetFilename("other.dds");
    EXPECT_FALSE(cursor.IsLoaded());
    // a cursor that holds nothing unloads nothing
    cursor.SetFilename("third.dds");
    nMouseCursor empty;
    empty = cursor;
    EXPECT_FALSE(empty.IsLoaded());
}

TEST_F(GfxServerTest, MouseCursorReportsAFailedLoad)
{
    this->gfx->FailLoadsOf("broken.dds");
    nMouseCursor cursor;
    cursor.SetFilename("broken.dds");
    EXPECT_FALSE(cursor.Load());
    EXPECT_TRUE(cursor.IsLoaded());
    EXPECT_FALSE(cursor.GetTexture()->IsValid());
}

TEST_F(GfxServerTest, RecordedResourcesLoadOrFailOnDemand)
{
    nTexture2* ok = this->gfx->NewTexture("ok.dds");
    nTexture2* bad = this->gfx->NewTexture("bad.dds");
    ok->SetFilename("ok.dds");
    bad->SetFilename("bad.dds");
    this->gfx->FailLoadsOf("bad.dds");
    EXPECT_TRUE(ok->Load());
    EXPECT_FALSE(bad->Load());
    this->gfx->FailAllLoads(true);
    ok->Unload();
    EXPECT_FALSE(ok->Load());
    this->gfx->FailAllLoads(false);
    EXPECT_TRUE(ok->Load());
    this->rs->OnLost(nResource::Texture);
    EXPECT_EQ(ok->GetState(), nResource::Lost);
    this->rs->OnRestored(nResource::Texture);
    EXPECT_EQ(ok->GetState(), nResource::Valid);
    EXPECT_EQ(static_cast<nRecordingTexture*>(ok)->loadCount, 3);
    ok->Release();
    bad->Release();
}

TEST_F(GfxServerTest, BaseFactoriesMakeNothing)
{
    nGfxServer2* base = this->gfx;
    EXPECT_EQ(base->nGfxServer2::NewTexture("x"), nullptr);
    EXPECT_EQ(base->nGfxServer2::NewMesh("x"), nullptr);
    EXPECT_EQ(base->nGfxServer2::NewFont("x", nFontDesc()), nullptr);
    EXPECT_EQ(base->nGfxServer2::GetFeatureSet(), 0);
    EXPECT_STREQ(G::FeatureSetToString(4), "dx9");
    EXPECT_STREQ(G::FeatureSetToString(6), "invalid");
    EXPECT_EQ(base->nGfxServer2::GetTextExtent("abc"), vector2(0, 0));
}

using GfxServerDeathTest = GfxTest;

TEST_F(GfxServerDeathTest, BrokenCallingOrdersAndDeviceStubsAreFatal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    nGfxServer2* g = this->gfx;
    EXPECT_DEATH(
        {
            RouteStdoutToStderr();
            g->SetTransform(G::ModelView, matrix44());
        },
        "Trying to set read-only transform type!");
    EXPECT_DEATH(
        {
            RouteStdoutToStderr();
            for (int i = 0; i < 5; i++) g->PushTransform(G::View, matrix44());
        },
        "this->transformTopOfStack\\[type\\] < MaxTransformStackDepth");
    EXPECT_DEATH(
        {
            RouteStdoutToStderr();
            g->nGfxServer2::SetDisplayMode(nDisplayMode2());
        },
        "nGfxServer2: Pure virtual function called!");
    EXPECT_DEATH(
        {
            RouteStdoutToStderr();
            g->nGfxServer2::AreVertexShadersEmulated();
        },
        "nGfxServer2::AreVertexShadersEmulated\\(\\) called!");
    EXPECT_ASSERT_DEATH(g->CloseDisplay(), "this->displayOpen");
    EXPECT_ASSERT_DEATH(g->EndScene(), "this->inBeginScene");
    EXPECT_ASSERT_DEATH(g->SetTexture(4, nullptr), "(stage >= 0) && (stage < MaxTextureStages)");
    EXPECT_ASSERT_DEATH(g->DrawShape(G::Box, matrix44(), vector4()), "this->inBeginShapes");
    EXPECT_ASSERT_DEATH(g->LeaveDialogBoxMode(), "this->inDialogBoxMode");
}

}  // namespace
