//------------------------------------------------------------------------------
//  Fonts of the Direct3D 9 server on the null device: faces by name,
//  height, weight and style (through fontconfig, which substitutes faces
//  the machine lacks); text extents and the glyph quads a font hands out;
//  the server's DrawText with its flags, word wrap and UTF-8; queued text
//  with its shadow; font files installed from the file server (also out
//  of an npk archive), counted, and removed with the last font using them.
//------------------------------------------------------------------------------
#include "texturefixture.h"

#include "gfx2/nd3d9font.h"
#include "platform/nnulldevice.h"
#include "platform/nplatformfont.h"

#include <algorithm>
#include <cstring>

namespace
{

/// the system font file the font-file tests install
const char* const MonoFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

/// a quad sink that keeps what it is given
struct RecordingSink : nTextQuadSink
{
    struct Quad
    {
        float pos[4];
        float tex[4];
        uint32_t argb;
    };
    void SetTexture(nTexture2* t) override { this->texture = t; }
    void AddQuad(const float pos[4], const float texels[4], uint32_t argb) override
    {
        Quad q;
        memcpy(q.pos, pos, sizeof(q.pos));
        memcpy(q.tex, texels, sizeof(q.tex));
        q.argb = argb;
        this->quads.push_back(q);
    }
    void Flush() override { this->flushes++; }

    /// the union of the quads (left, top, right, bottom)
    nTextRect Bounds() const
    {
        nTextRect r = {1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
        for (const Quad& q : this->quads)
        {
            r.left = std::min(r.left, int(q.pos[0]));
            r.top = std::min(r.top, int(q.pos[1]));
            r.right = std::max(r.right, int(q.pos[2]));
            r.bottom = std::max(r.bottom, int(q.pos[3]));
        }
        return r;
    }

    nTexture2* texture = nullptr;
    std::vector<Quad> quads;
    int flushes = 0;
};

std::vector<uint32_t> Cps(const char* s)
{
    std::vector<uint32_t> out;
    nTextLayout::Decode(s, strlen(s), out);
    return out;
}

class FontTest : public TextureTest
{
protected:
    void SetUp() override
    {
        auto dev = std::make_unique<nNullDevice>();
        this->dev = dev.get();
        this->Open(std::move(dev), 640, 480);
        ASSERT_TRUE(this->gfx->BeginScene());
    }
    void TearDown() override
    {
        if (this->gfx && this->gfx->InBeginScene())
        {
            this->gfx->EndScene();
        }
        TextureTest::TearDown();
    }

    /// a loaded font of the description (which must load)
    nD3D9Font* LoadFont(const char* name, const nFontDesc& desc)
    {
        auto* font = static_cast<nD3D9Font*>(this->gfx->NewFont(name, desc));
        EXPECT_TRUE(font->Load()) << name;
        return font;
    }
    static nFontDesc Desc(const char* face, int height, int weight = nFontDesc::WeightNormal, bool italic = false)
    {
        nFontDesc d;
        d.typeFace = face;
        d.height = height;
        d.weight = weight;
        d.italic = italic;
        return d;
    }
    /// the text's extent in pixels in the current font
    vector2 Extent(const char* text)
    {
        const vector2 e = this->gfx->GetTextExtent(nString(text));
        return vector2(e.x * 640.0f, e.y * 480.0f);
    }
    int CountCalls(const char* prefix) const
    {
        return int(std::count_if(this->dev->calls.begin(), this->dev->calls.end(),
                                 [prefix](const std::string& c) { return 0 == c.rfind(prefix, 0); }));
    }
    /// the bytes of the system font file
    static std::string MonoFontBytes() { return ReadWholeFile(MonoFontPath); }

    nNullDevice* dev = nullptr;
};

struct FaceCase
{
    const char* face;
    int height;
    int weight;
    bool italic;
    int lineHeight;
};

const FaceCase faceCases[] = {
    {"Arial", 10, nFontDesc::WeightNormal, false, 12},
    {"Arial", 16, nFontDesc::WeightBold, false, 16},
    {"Arial", 24, nFontDesc::WeightLight, true, 24},
    {"Times New Roman", 20, nFontDesc::WeightExtraBold, true, 20},
    {"A Face Nobody Has", 14, nFontDesc::WeightNormal, false, 14},
    {"Arial", 5000, nFontDesc::WeightNormal, false, nPlatformFontFace::MaxPixelHeight},
    {"Arial", -3, 17, false, 12},
};

}  // namespace

TEST_F(FontTest, FontsOpenByNameHeightWeightAndStyle)
{
    for (const FaceCase& c : faceCases)
    {
        SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
        nD3D9Font* font = this->LoadFont("f", Desc(c.face, c.height, c.weight, c.italic));
        ASSERT_NE(font->GetFace(), nullptr);
        EXPECT_EQ(font->GetLineHeight(), c.lineHeight);
        EXPECT_FALSE(font->GetFace()->GetFamily().empty());
        EXPECT_GT(font->GetAdvance('W'), 0);
        font->Release();
    }
}

TEST_F(FontTest, BoldIsWiderThanRegular)
{
    nD3D9Font* regular = this->LoadFont("r", Desc("Arial", 32));
    nD3D9Font* bold = this->LoadFont("b", Desc("Arial", 32, nFontDesc::WeightBold));
    int wr = 0, wb = 0;
    for (const char* p = "Headline"; *p; p++)
    {
        wr += regular->GetAdvance(uint32_t(*p));
        wb += bold->GetAdvance(uint32_t(*p));
    }
    EXPECT_GT(wb, wr);
    regular->Release();
    bold->Release();
}

TEST_F(FontTest, TheDefaultFontIsMadeWithTheDeviceAndIsCurrent)
{
    nFont2* def = this->gfx->GetDefaultFont();
    ASSERT_NE(def, nullptr);
    EXPECT_TRUE(def->IsValid());
    EXPECT_EQ(this->gfx->GetFont(), def);
    EXPECT_EQ(def->GetFontDesc().height, 16);
    EXPECT_EQ(def->GetFontDesc().weight, int(nFontDesc::WeightBold));
    EXPECT_STREQ(def->GetFontDesc().typeFace.Get(), "Arial");
    EXPECT_STREQ(def->GetName(), "Default");
}

TEST_F(FontTest, ExtentsMeasureBlanksWidestLinesAndAllLines)
{
    nD3D9Font* font = this->LoadFont("f", Desc("Arial", 20));
    this->gfx->SetFont(font);
    const vector2 a = this->Extent("abc");
    EXPECT_GT(a.x, 0.0f);
    EXPECT_FLOAT_EQ(a.y, 20.0f);
    EXPECT_GT(this->Extent("abc ").x, a.x);
    const vector2 two = this->Extent("abcdef\nab");
    EXPECT_FLOAT_EQ(two.x, this->Extent("abcdef").x);
    EXPECT_FLOAT_EQ(two.y, 40.0f);
    EXPECT_FLOAT_EQ(this->Extent("").x, 0.0f);
    this->gfx->SetFont(nullptr);
    EXPECT_FLOAT_EQ(this->Extent("abc").x, 0.0f);
    EXPECT_FLOAT_EQ(this->Extent("abc").y, 0.0f);
    font->Release();
}

TEST_F(FontTest, AnUnloadedCurrentFontIsLoadedToMeasure)
{
    auto* font = static_cast<nD3D9Font*>(this->gfx->NewFont("lazy", Desc("Arial", 18)));
    this->gfx->SetFont(font);
    EXPECT_FALSE(font->IsLoaded());
    EXPECT_FLOAT_EQ(this->Extent("x").y, 18.0f);
    EXPECT_TRUE(font->IsValid());
    font->Release();
}

TEST_F(FontTest, UnloadingTheCurrentFontUnsetsIt)
{
    nD3D9Font* font = this->LoadFont("f", Desc("Arial", 20));
    this->gfx->SetFont(font);
    font->Unload();
    EXPECT_EQ(this->gfx->GetFont(), nullptr);
    font->Release();
}

TEST_F(FontTest, TheDrawnGlyphsLieInsideTheMeasuredExtent)
{
    nD3D9Font* font = this->LoadFont("f", Desc("Arial", 24));
    this->gfx->SetFont(font);
    for (const char* text : {"Hello", "Text, agreed", "two\nlines here", "W"})
    {
        SCOPED_TRACE(text);
        const vector2 ext = this->Extent(text);
        RecordingSink sink;
        nTextRect rect = {100, 100, 600, 400};
        font->DrawText(&sink, Cps(text), rect, nTextLayout::NoClip, 0xFFFFFFFF);
        ASSERT_FALSE(sink.quads.empty());
        EXPECT_NE(sink.texture, nullptr);
        const nTextRect b = sink.Bounds();
        // ink may overhang the pen by a pixel; it never leaves the extent by more
        EXPECT_GE(b.left, 100 - 1);
        EXPECT_GE(b.top, 100);
        EXPECT_LE(b.right, 100 + int(ext.x) + 1);
        EXPECT_LE(b.bottom, 100 + int(ext.y));
        // and it fills the extent: the last glyph ends near its right edge
        EXPECT_GE(b.right, 100 + int(ext.x) - 4);
    }
    font->Release();
}

TEST_F(FontTest, TextIsCutAtTheRectangleUnlessNoClip)
{
    nD3D9Font* font = this->LoadFont("f", Desc("Arial", 24));
    const std::vector<uint32_t> text = Cps("A rather long line of text");
    RecordingSink clipped;
    nTextRect rect = {10, 10, 60, 20};
    font->DrawText(&clipped, text, rect, 0, 0xFFFFFFFF);
    ASSERT_FALSE(clipped.quads.empty());
    const nTextRect c = clipped.Bounds();
    EXPECT_GE(c.left, 10);
    EXPECT_GE(c.top, 10);
    EXPECT_LE(c.right, 60);
    EXPECT_LE(c.bottom, 20);
    for (const RecordingSink::Quad& q : clipped.quads)
    {
        // the texels are cut with the corners, one texel per pixel
        EXPECT_FLOAT_EQ(q.tex[2] - q.tex[0], q.pos[2] - q.pos[0]);
        EXPECT_FLOAT_EQ(q.tex[3] - q.tex[1], q.pos[3] - q.pos[1]);
    }
    RecordingSink free;
    rect = {10, 10, 60, 20};
    font->DrawText(&free, text, rect, nTextLayout::NoClip, 0xFFFFFFFF);
    EXPECT_GT(free.Bounds().right, 60);
    EXPECT_GT(free.quads.size(), clipped.quads.size());
    font->Release();
}

TEST_F(FontTest, CalcRectMeasuresAndDrawsNothing)
{
    nD3D9Font* font = this->LoadFont("f", Desc("Arial", 20));
    RecordingSink sink;
    nTextRect rect = {5, 6, 5, 6};
    EXPECT_EQ(font->DrawText(&sink, Cps("ab\ncdef"), rect, nTextLayout::CalcRect, 0xFFFFFFFF), 40);
    EXPECT_TRUE(sink.quads.empty());
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.bottom, 46);
    EXPECT_EQ(rect.right - rect.left,
              font->GetAdvance('c') + font->GetAdvance('d') + font->GetAdvance('e') + font->GetAdvance('f'));
    font->Release();
}

TEST_F(FontTest, CentredTextIsCentredInThePixelRectangle)
{
    nD3D9Font* font = this->LoadFont("f", Desc("Arial", 20));
    RecordingSink sink;
    nTextRect rect = {0, 0, 640, 480};
    font->DrawText(&sink, Cps("HHHH"), rect, nTextLayout::Center | nTextLayout::VCenter, 0xFFFFFFFF);
    const nTextRect b = sink.Bounds();
    EXPECT_NEAR((b.left + b.right) / 2.0, 320.0, 3.0);
    // capitals sit above the middle of the line; the line itself is centred
    EXPECT_GT(b.top, 230 - 20);
    EXPECT_LT(b.bottom, 250);
    font->Release();
}

//--- the server's DrawText --------------------------------------------------------

struct ServerDrawCase
{
    const char* what;
    const char* text;
    uint flags;
    rectangle rect;
};

const ServerDrawCase serverDrawCases[] = {
    {"top left", "text", nFont2::Top | nFont2::Left, rectangle(vector2(0.1f, 0.1f), vector2(0.9f, 0.9f))},
    {"bottom right", "text", nFont2::Bottom | nFont2::Right, rectangle(vector2(0.1f, 0.1f), vector2(0.9f, 0.9f))},
    {"centred", "text", nFont2::Center | nFont2::VCenter, rectangle(vector2(0.1f, 0.1f), vector2(0.9f, 0.9f))},
    {"no clip", "text", nFont2::NoClip, rectangle(vector2(0.0f, 0.0f), vector2(0.01f, 0.01f))},
    {"tabs", "a\tb", nFont2::ExpandTabs, rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f))},
    {"word break", "several words that wrap", nFont2::WordBreak, rectangle(vector2(0.0f, 0.0f), vector2(0.1f, 1.0f))},
    {"two-byte UTF-8", "caf\xC3\xA9", 0, rectangle(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f))},
};

TEST_F(FontTest, TheServerDrawsTextInOneBatchPerCall)
{
    for (const ServerDrawCase& c : serverDrawCases)
    {
        SCOPED_TRACE(c.what);
        this->dev->calls.clear();
        this->gfx->DrawText(nString(c.text), vector4(1, 1, 1, 1), c.rect, c.flags);
        EXPECT_EQ(this->CountCalls("DrawIndexed "), 1);
    }
}

TEST_F(FontTest, KnownGlyphsDrawAgainWithoutTouchingTheAtlasTexture)
{
    const rectangle all(vector2(0.0f, 0.0f), vector2(1.0f, 1.0f));
    this->gfx->DrawText(nString("text"), vector4(1, 1, 1, 1), all, 0);
    auto* font = static_cast<nD3D9Font*>(this->gfx->GetFont());
    nTexture2* atlas = font->GetAtlasTexture();
    ASSERT_NE(atlas, nullptr);
    this->dev->calls.clear();
    for (const char* t : {"text", "tex", "ttt"})
    {
        this->gfx->DrawText(nString(t), vector4(1, 1, 1, 1), all, 0);
    }
    EXPECT_EQ(this->CountCalls("DrawIndexed "), 3);
    EXPECT_EQ(this->CountCalls("CreateTexture"), 0);
    EXPECT_EQ(this->CountCalls("ReleaseTexture"), 0);
    EXPECT_EQ(this->CountCalls("UploadTexture"), 0);
    // a new glyph goes into the same texture
    this->gfx->DrawText(nString("z"), vector4(1, 1, 1, 1), all, 0);
    EXPECT_EQ(this->CountCalls("CreateTexture"), 0);
    EXPECT_EQ(this->CountCalls("UploadTexture"), 1);
    EXPECT_EQ(font->GetAtlasTexture(), atlas);
}

TEST_F(FontTest, NothingIsDrawnWithoutFontOrText)
{
    this->dev->calls.clear();
    this->gfx->DrawText(nString(""), vector4(1, 1, 1, 1), rectangle(vector2(0, 0), vector2(1, 1)), nFont2::WordBreak);
    this->gfx->SetFont(nullptr);
    this->gfx->DrawText(nString("abc"), vector4(1, 1, 1, 1), rectangle(vector2(0, 0), vector2(1, 1)), 0);
    EXPECT_EQ(this->CountCalls("DrawIndexed "), 0);
}

TEST_F(FontTest, OutlandishRectanglesAndColoursAreHarmless)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    this->gfx->DrawText(nString("abc"), vector4(nan, inf, -inf, 2.0f), rectangle(vector2(nan, -inf), vector2(inf, 1e30f)),
                        nFont2::Center | nFont2::VCenter);
    this->gfx->AddText(nString("abc"), vector4(nan, 1, 1, inf), nan, inf);
    this->gfx->DrawTextBuffer();
    EXPECT_EQ(this->gfx->GetNumTextNodes(), 0);
}

TEST_F(FontTest, WordBreakWrapsAtSpacesBeforeDrawing)
{
    nString out;
    this->gfx->BreakLines(nString("several words that wrap"), rectangle(vector2(0, 0), vector2(0.15f, 1.0f)), out);
    EXPECT_NE(strchr(out.Get(), '\n'), nullptr);
    EXPECT_EQ(strlen(out.Get()), strlen("several words that wrap"));
    const vector2 e = this->gfx->GetTextExtent(out);
    EXPECT_GT(e.y * 480.0f, 16.0f);
}

struct Utf8ExtentCase
{
    const char* what;
    const char* text;
    const char* same;
};

const Utf8ExtentCase utf8Cases[] = {
    {"three-byte character dropped", "a\xE2\x82\xAC" "b", "ab"},
    {"lead byte at the end dropped", "ab\xC3", "ab"},
    {"lead byte before a character keeps it", "\xC3" "ab", "ab"},
    {"stray continuation dropped", "a\xA9" "b", "ab"},
};

TEST_F(FontTest, TwoByteUtf8IsOneCharacterAndBrokenSequencesVanish)
{
    nD3D9Font* font = this->LoadFont("f", Desc("Arial", 20));
    this->gfx->SetFont(font);
    EXPECT_FLOAT_EQ(this->Extent("\xC3\xA9").x, float(font->GetAdvance(0xE9)));
    EXPECT_TRUE(font->GetFace()->HasGlyph(0xE9));
    for (const Utf8ExtentCase& c : utf8Cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_FLOAT_EQ(this->Extent(c.text).x, this->Extent(c.same).x);
    }
    font->Release();
}

//--- queued text ------------------------------------------------------------------

TEST_F(FontTest, QueuedTextDrawsWithItsShadowAndEmptiesTheQueue)
{
    this->gfx->AddText(nString("one"), vector4(1, 0, 0, 0.5f), -1.0f, -1.0f);
    this->gfx->AddText(nString("two"), vector4(0, 1, 0, 1), 0.0f, 0.0f);
    EXPECT_EQ(this->gfx->GetNumTextNodes(), 2);
    this->dev->calls.clear();
    this->gfx->DrawTextBuffer();
    EXPECT_EQ(this->gfx->GetNumTextNodes(), 0);
    EXPECT_EQ(this->CountCalls("DrawIndexed "), 1);
    // nothing queued: nothing drawn
    this->dev->calls.clear();
    this->gfx->DrawTextBuffer();
    EXPECT_EQ(this->CountCalls("DrawIndexed "), 0);
}

TEST_F(FontTest, TheShadowIsOnePixelRightAndDownOfTheText)
{
    // the queue draws through the default font; the same glyphs from the
    // same font at the text's place show the offsets
    auto* font = static_cast<nD3D9Font*>(this->gfx->GetDefaultFont());
    RecordingSink shadow, text;
    nTextRect r = {1, 1, 640, 480};
    font->DrawText(&shadow, Cps("Hi"), r, nTextLayout::NoClip | nTextLayout::SingleLine, 0x80000000);
    r = {0, 0, 640, 480};
    font->DrawText(&text, Cps("Hi"), r, nTextLayout::NoClip | nTextLayout::SingleLine, 0x80FF0000);
    ASSERT_EQ(shadow.quads.size(), text.quads.size());
    EXPECT_EQ(shadow.Bounds().left, text.Bounds().left + 1);
    EXPECT_EQ(shadow.Bounds().top, text.Bounds().top + 1);
}

TEST_F(FontTest, DeviceLossDropsQueuedText)
{
    this->gfx->AddText(nString("lost"), vector4(1, 1, 1, 1), 0.0f, 0.0f);
    this->gfx->EndScene();
    this->dev->ScriptStates({nGfxDeviceState::NotReset});
    ASSERT_TRUE(this->gfx->BeginScene());
    EXPECT_EQ(this->gfx->GetNumTextNodes(), 0);
    // fonts come back with the device and draw again
    nFont2* def = this->gfx->GetDefaultFont();
    EXPECT_TRUE(def->IsValid());
    this->dev->calls.clear();
    this->gfx->DrawText(nString("back"), vector4(1, 1, 1, 1), rectangle(vector2(0, 0), vector2(1, 1)), 0);
    EXPECT_EQ(this->CountCalls("DrawIndexed "), 1);
    EXPECT_GE(this->CountCalls("UploadTexture"), 1);
}

TEST_F(FontTest, TextOutsideASceneIsNotDrawn)
{
    this->gfx->EndScene();
    this->dev->calls.clear();
    this->gfx->DrawText(nString("abc"), vector4(1, 1, 1, 1), rectangle(vector2(0, 0), vector2(1, 1)), 0);
    EXPECT_EQ(this->CountCalls("Draw"), 0);
    // measuring needs no scene
    EXPECT_GT(this->gfx->GetTextExtent(nString("abc")).x, 0.0f);
}

//--- font files ---------------------------------------------------------------------

TEST_F(FontTest, AFontFileIsInstalledUsedByNameAndRemovedWithItsLastFont)
{
    const std::string file = this->Write("mono.ttf", MonoFontBytes());
    const std::string key = this->ks->GetFileServer()->ManglePath(file.c_str()).Get();
    nFontDesc desc = Desc("DejaVu Sans Mono", 20);
    desc.fileName = file.c_str();
    nD3D9Font* a = this->LoadFont("a", desc);
    nD3D9Font* b = this->LoadFont("b", desc);
    ASSERT_NE(a->GetFace(), nullptr);
    EXPECT_EQ(a->GetFace()->GetSource(), "memory:" + key);
    EXPECT_EQ(a->GetFace()->GetFamily(), "DejaVu Sans Mono");
    EXPECT_EQ(this->gfx->GetFontRegistry().GetInstallCount(key), 2);
    a->Release();
    EXPECT_EQ(this->gfx->GetFontRegistry().GetInstallCount(key), 1);
    b->Release();
    EXPECT_EQ(this->gfx->GetFontRegistry().GetInstallCount(key), 0);
}

TEST_F(FontTest, AFontFileInsideAnArchiveLoads)
{
    this->Pack({{"mono.ttf", MonoFontBytes()}});
    nFontDesc desc = Desc("DejaVu Sans Mono", 16);
    desc.fileName = "tst:pack/mono.ttf";
    nD3D9Font* font = this->LoadFont("f", desc);
    ASSERT_NE(font->GetFace(), nullptr);
    EXPECT_EQ(font->GetFace()->GetSource().rfind("memory:", 0), 0u);
    // a monospaced face: every glyph advances alike
    EXPECT_EQ(font->GetAdvance('i'), font->GetAdvance('W'));
    font->Release();
}

TEST_F(FontTest, BadFontFilesFailToLoadWithAMessage)
{
    const std::string bytes = MonoFontBytes();
    const std::string files[] = {
        this->Write("garbage.ttf", std::string(4096, 'x')),
        this->Write("truncated.ttf", bytes.substr(0, 1000)),
        this->Write("empty.ttf", ""),
        "tst:missing.ttf",
    };
    for (const std::string& file : files)
    {
        SCOPED_TRACE(file);
        nFontDesc desc = Desc("DejaVu Sans Mono", 16);
        desc.fileName = file.c_str();
        auto* font = static_cast<nD3D9Font*>(this->gfx->NewFont("bad", desc));
        EXPECT_FALSE(font->Load());
        EXPECT_FALSE(font->IsLoaded());
        const std::string key = this->ks->GetFileServer()->ManglePath(file.c_str()).Get();
        EXPECT_EQ(this->gfx->GetFontRegistry().GetInstallCount(key), 0);
        font->Release();
    }
    EXPECT_NE(this->log.text.find("nD3D9Font: could not"), std::string::npos);
}

//--- the glyph atlas -----------------------------------------------------------------

TEST_F(FontTest, TheAtlasGrowsAndStartsOverWhenFull)
{
    // a device of small textures keeps the atlas small
    this->dev->maxTextureSize = 512;
    nD3D9Font* font = this->LoadFont("big", Desc("DejaVu Sans", 100));
    std::vector<uint32_t> all;
    for (uint32_t c = 0x21; c < 0x7F; c++) all.push_back(c);
    for (uint32_t c = 0xC0; c < 0x180; c++) all.push_back(c);
    int drawn = 0;
    for (size_t i = 0; i < all.size(); i += 10)
    {
        const std::vector<uint32_t> chunk(all.begin() + long(i), all.begin() + long(std::min(all.size(), i + 10)));
        RecordingSink sink;
        nTextRect rect = {0, 0, 640, 480};
        font->DrawText(&sink, chunk, rect, nTextLayout::NoClip | nTextLayout::SingleLine, 0xFFFFFFFF);
        ASSERT_EQ(sink.quads.size(), chunk.size());
        for (const RecordingSink::Quad& q : sink.quads)
        {
            EXPECT_GE(q.tex[0], 0.0f);
            EXPECT_GE(q.tex[1], 0.0f);
            EXPECT_LE(q.tex[2], float(font->GetAtlasSize()));
            EXPECT_LE(q.tex[3], float(font->GetAtlasSize()));
        }
        drawn += int(sink.quads.size());
    }
    EXPECT_EQ(drawn, int(all.size()));
    EXPECT_EQ(font->GetAtlasSize(), 512);
    EXPECT_GE(font->GetAtlasRestarts(), 1);
    // more glyphs than any atlas holds in one text: nothing is drawn, nothing breaks
    RecordingSink sink;
    nTextRect rect = {0, 0, 640, 480};
    font->DrawText(&sink, all, rect, nTextLayout::NoClip, 0xFFFFFFFF);
    EXPECT_TRUE(sink.quads.empty());
    EXPECT_GE(sink.flushes, 1);
    font->Release();
}

TEST_F(FontTest, AFontFromAFileMayOutliveTheServer)
{
    const std::string file = this->Write("mono.ttf", MonoFontBytes());
    nFontDesc desc = Desc("DejaVu Sans Mono", 20);
    desc.fileName = file.c_str();
    nD3D9Font* font = this->LoadFont("kept", desc);
    this->gfx->EndScene();
    this->gfx->CloseDisplay();
    EXPECT_FALSE(font->IsLoaded());
    // fonts load and measure without a display
    ASSERT_TRUE(font->Load());
    EXPECT_EQ(font->GetLineHeight(), 20);
    this->gfx->Release();
    this->gfx = nullptr;
    font->Release();
}
