//------------------------------------------------------------------------------
//  Typefaces: font files installed from bytes (counted, searched by family
//  before fontconfig), a bitmap face at its own size, scalable faces at
//  the asked cell height, and bytes that hold no font.
//------------------------------------------------------------------------------
#include "platform/nplatformfont.h"
#include "usertempdir.h"

#include <gtest/gtest.h>

namespace
{

/// a two-glyph bitmap font ("Tiny", 8 pixels, "A" and the space)
std::vector<unsigned char> TinyFont()
{
    const std::string s = ReadWholeFile(ENGINE_FONT_CORPUS "/tiny.bdf");
    EXPECT_FALSE(s.empty());
    return std::vector<unsigned char>(s.begin(), s.end());
}

}  // namespace

TEST(PlatformFont, InstalledFilesAreCountedPerKey)
{
    nPlatformFontRegistry reg;
    std::string error;
    EXPECT_EQ(reg.Add("tiny", TinyFont(), error), 1) << error;
    EXPECT_EQ(reg.Add("tiny", {}, error), 1);
    EXPECT_EQ(reg.GetInstallCount("tiny"), 2);
    EXPECT_EQ(reg.GetFiles().at("tiny").faces.front().family, "Tiny");
    EXPECT_TRUE(reg.Remove("tiny"));
    EXPECT_EQ(reg.GetInstallCount("tiny"), 1);
    EXPECT_TRUE(reg.Remove("tiny"));
    EXPECT_EQ(reg.GetInstallCount("tiny"), 0);
    EXPECT_FALSE(reg.Remove("tiny"));
}

TEST(PlatformFont, BytesWithoutAFontInstallNothing)
{
    nPlatformFontRegistry reg;
    for (const std::string& bytes : {std::string(), std::string("OTTO\0\0\0\0", 8), std::string(500, '\xff')})
    {
        std::string error;
        EXPECT_EQ(reg.Add("bad", std::vector<unsigned char>(bytes.begin(), bytes.end()), error), 0);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(reg.GetInstallCount("bad"), 0);
    }
}

TEST(PlatformFont, AnInstalledFamilyIsFoundByNameInAnyCaseAndKeepsItsBitmapSize)
{
    nPlatformFontRegistry reg;
    std::string error;
    ASSERT_EQ(reg.Add("tiny", TinyFont(), error), 1);
    nPlatformFaceRequest req;
    req.family = "tINY";
    req.pixelHeight = 30;
    std::unique_ptr<nPlatformFontFace> face = nPlatformFontFace::Open(req, reg, error);
    ASSERT_TRUE(face) << error;
    EXPECT_EQ(face->GetSource(), "memory:tiny");
    EXPECT_EQ(face->GetLineHeight(), 8);
    EXPECT_EQ(face->GetAscent(), 7);
    // the face outlives the installation it came from
    reg.Remove("tiny");
    nPlatformGlyph g;
    ASSERT_TRUE(face->GetGlyph('A', true, g));
    EXPECT_EQ(g.advance, 4);
    EXPECT_EQ(g.width, 4);
    EXPECT_EQ(g.coverage.size(), size_t(g.width * g.height));
    EXPECT_EQ(g.coverage[1], 255);  // the top row is .##.
    EXPECT_EQ(g.coverage[0], 0);
}

TEST(PlatformFont, OtherFamiliesComeFromFontconfigAtTheAskedHeight)
{
    nPlatformFontRegistry reg;
    std::string error;
    ASSERT_EQ(reg.Add("tiny", TinyFont(), error), 1);
    for (const char* family : {"DejaVu Sans", "Arial", "No Such Face At All"})
    {
        SCOPED_TRACE(family);
        nPlatformFaceRequest req;
        req.family = family;
        req.pixelHeight = 21;
        std::unique_ptr<nPlatformFontFace> face = nPlatformFontFace::Open(req, reg, error);
        ASSERT_TRUE(face) << error;
        EXPECT_EQ(face->GetSource().rfind("memory:", 0), std::string::npos);
        EXPECT_EQ(face->GetLineHeight(), 21);
        EXPECT_GT(face->GetAscent(), 10);
        EXPECT_LT(face->GetAscent(), 21);
        nPlatformGlyph g;
        ASSERT_TRUE(face->GetGlyph(0xE9, true, g));
        EXPECT_GT(g.advance, 0);
        EXPECT_GT(g.coverage.size(), 0u);
    }
}

TEST(PlatformFont, UnantialiasedGlyphsAreSolid)
{
    nPlatformFontRegistry reg;
    std::string error;
    nPlatformFaceRequest req;
    req.family = "DejaVu Sans";
    req.pixelHeight = 24;
    req.antiAliased = false;
    std::unique_ptr<nPlatformFontFace> face = nPlatformFontFace::Open(req, reg, error);
    ASSERT_TRUE(face) << error;
    nPlatformGlyph g;
    ASSERT_TRUE(face->GetGlyph('O', true, g));
    for (unsigned char c : g.coverage)
    {
        EXPECT_TRUE(c == 0 || c == 255);
    }
}
