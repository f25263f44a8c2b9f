//------------------------------------------------------------------------------
//  The DDS reader: formats, mip chains and cube maps it finds, and the
//  files it refuses (truncated, corrupt, out of range).
//------------------------------------------------------------------------------
#include "gfx2/nddsreader.h"
#include "textureimages.h"

#include <gtest/gtest.h>

using teximg::MakeDDS;
using teximg::Put32;
using TF = nGfxTexFormat;

namespace
{

bool Parse(nDDSReader& r, const std::string& bytes, std::string& error)
{
    return r.Parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), error);
}

}  // namespace

TEST(DDSReaderTest, ReadsEveryFormatOfTheTextureClass)
{
    for (int f = int(TF::X8R8G8B8); f <= int(TF::A8); f++)
    {
        SCOPED_TRACE(nGfxTexFormatName(TF(f)));
        const std::string file = MakeDDS(TF(f), 8, 4, 0, false);
        nDDSReader r;
        std::string error;
        ASSERT_TRUE(Parse(r, file, error)) << error;
        EXPECT_EQ(int(r.GetFormat()), f);
        EXPECT_EQ(r.GetType(), nTexture2::TEXTURE_2D);
        EXPECT_EQ(r.GetWidth(), 8);
        EXPECT_EQ(r.GetHeight(), 4);
        EXPECT_EQ(r.GetNumMipLevels(), 1);
        ASSERT_EQ(r.GetImages().size(), 1u);
        EXPECT_EQ(r.GetImages()[0].size, file.size() - 128);
    }
}

TEST(DDSReaderTest, MipChainLevelsHaveHalvedSizesDownToOneBlock)
{
    const std::string file = MakeDDS(TF::DXT5, 16, 8, 5, false);
    nDDSReader r;
    std::string error;
    ASSERT_TRUE(Parse(r, file, error)) << error;
    EXPECT_EQ(r.GetNumMipLevels(), 5);
    const size_t sizes[] = {8 * 16, 2 * 16, 16, 16, 16};
    const int widths[] = {16, 8, 4, 2, 1};
    const int heights[] = {8, 4, 2, 1, 1};
    for (int l = 0; l < 5; l++)
    {
        const nDDSReader::Image* img = r.GetImage(0, l);
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->size, sizes[l]);
        EXPECT_EQ(img->width, widths[l]);
        EXPECT_EQ(img->height, heights[l]);
        EXPECT_EQ(img->data[0], l + 1);
    }
}

TEST(DDSReaderTest, CubeMapsHoldSixFacesEachWithItsChain)
{
    const std::string file = MakeDDS(TF::A8R8G8B8, 4, 4, 3, true);
    nDDSReader r;
    std::string error;
    ASSERT_TRUE(Parse(r, file, error)) << error;
    EXPECT_EQ(r.GetType(), nTexture2::TEXTURE_CUBE);
    EXPECT_EQ(r.GetNumFaces(), 6);
    ASSERT_EQ(r.GetImages().size(), 18u);
    EXPECT_EQ(r.GetImage(5, 2)->data[0], 5 * 16 + 3);
    EXPECT_EQ(r.GetImage(5, 2)->data + 4, reinterpret_cast<const unsigned char*>(file.data()) + file.size());
}

struct BadCase
{
    const char* what;
    std::function<void(std::string&)> damage;
    const char* error;
};

TEST(DDSReaderTest, RefusesFilesThatDoNotFit)
{
    const BadCase cases[] = {
        {"empty", [](std::string& s) { s.clear(); }, "too short"},
        {"header cut", [](std::string& s) { s.resize(100); }, "too short"},
        {"bad magic", [](std::string& s) { s[0] = 'X'; }, "not a DDS file"},
        {"header size", [](std::string& s) { Put32(s, 4, 100); }, "header size"},
        {"pixel format size", [](std::string& s) { Put32(s, 76, 31); }, "pixel format size"},
        {"zero width", [](std::string& s) { Put32(s, 16, 0); }, "bad image size"},
        {"huge height", [](std::string& s) { Put32(s, 12, 0x80000000u); }, "bad image size"},
        {"too many mips", [](std::string& s) { Put32(s, 28, 6); }, "mip count"},
        {"mips past the data", [](std::string& s) { Put32(s, 28, 5); s.resize(s.size() - 1); }, "data ends"},
        {"data cut", [](std::string& s) { s.resize(s.size() - 20); }, "data ends"},
        {"no data", [](std::string& s) { s.resize(128); }, "data ends"},
        {"unknown code", [](std::string& s) { s[84] = 'Q'; }, "four-character code"},
        {"volume", [](std::string& s) { Put32(s, 112, 0x200000); }, "volume"},
        {"partial cube", [](std::string& s) { Put32(s, 112, 0x200 | 0x400); }, "six faces"},
        {"extended header", [](std::string& s) { s[84] = 'D'; s[85] = 'X'; s[86] = '1'; s[87] = '0'; },
         "four-character code"},
    };
    for (const BadCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::string file = MakeDDS(TF::DXT1, 16, 16, 5, false);
        c.damage(file);
        nDDSReader r;
        std::string error;
        EXPECT_FALSE(Parse(r, file, error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        EXPECT_TRUE(r.GetImages().empty());
    }
}

TEST(DDSReaderTest, CubeMapsMustBeSquareAndUncutOnTheLastFace)
{
    nDDSReader r;
    std::string error;
    std::string notSquare = MakeDDS(TF::A8, 8, 4, 1, true);
    EXPECT_FALSE(Parse(r, notSquare, error));
    std::string cut = MakeDDS(TF::A8, 4, 4, 1, true);
    cut.pop_back();
    EXPECT_FALSE(Parse(r, cut, error));
    EXPECT_NE(error.find("face 5"), std::string::npos) << error;
}

TEST(DDSReaderTest, EveryPrefixOfAValidFileIsRefusedWithoutReadingPastIt)
{
    const std::string file = MakeDDS(TF::A4R4G4B4, 4, 4, 3, true);
    for (size_t n = 0; n < file.size(); n++)
    {
        // a copy of exactly n bytes, so that ASan sees any read past it
        std::vector<unsigned char> prefix(file.begin(), file.begin() + long(n));
        nDDSReader r;
        std::string error;
        EXPECT_FALSE(r.Parse(prefix.data(), prefix.size(), error)) << n;
    }
}
