//------------------------------------------------------------------------------
//  Device textures on the null device: the loading paths (image files
//  plain and inside an npk archive, DDS files, compound-file data, empty
//  textures, render targets), the load failures, Lock and Unlock, and
//  what a device loss and reset do to each kind of texture.
//------------------------------------------------------------------------------
#include "texturefixture.h"

#include "kernel/nfile.h"
#include "platform/nnulldevice.h"
#include "util/assertdeath.h"

#include <algorithm>
#include <chrono>
#include <thread>

using teximg::EncodePattern;
using teximg::MakeDDS;
using TF = nGfxTexFormat;

namespace
{

/// a bad texture file, the reason its one line must give, and whether it is written at all
struct BadFile
{
    const char* file;
    std::string bytes;
    const char* reason;
    bool written;
};

class NullTextureTest : public TextureTest
{
protected:
    void SetUp() override
    {
        auto dev = std::make_unique<nNullDevice>();
        this->dev = dev.get();
        this->Open(std::move(dev));
    }

    /// the bytes of a level of the texture as the device holds them
    std::vector<unsigned char> LevelBytes(nD3D9Texture* t, int face, int level)
    {
        const int w = std::max(1, t->GetWidth() >> level);
        const int h = std::max(1, t->GetHeight() >> level);
        std::vector<unsigned char> bytes(nGfxTexLevelSize(TF(t->GetFormat()), w, h));
        EXPECT_TRUE(this->dev->ReadTexture(t->GetBaseTexture(), face, level, bytes.data(), bytes.size()));
        return bytes;
    }
    /// a new texture of the bad file, written unless it is to be missing; the log cleared
    nD3D9Texture* BadTexture(const BadFile& c)
    {
        const std::string path = c.written ? this->Write(c.file, c.bytes) : "tst:" + std::string(c.file);
        nD3D9Texture* t = this->NewTexture(path);
        t->SetFilename(path.c_str());
        this->log.text.clear();
        return t;
    }
    /// whether a call starting with the text was recorded since the last look
    bool Called(const std::string& prefix)
    {
        const bool found = std::any_of(this->dev->calls.begin(), this->dev->calls.end(),
                                       [&](const std::string& c) { return 0 == c.rfind(prefix, 0); });
        return found;
    }

    nNullDevice* dev = nullptr;
};

struct ImageCase
{
    const char* kind;
    int comp;
    nTexture2::Format format;
    int tolerance;
};

const ImageCase imageCases[] = {
    {"png", 3, nTexture2::X8R8G8B8, 0}, {"png", 4, nTexture2::A8R8G8B8, 0},
    {"tga", 3, nTexture2::X8R8G8B8, 0}, {"tga", 4, nTexture2::A8R8G8B8, 0},
    {"bmp", 3, nTexture2::X8R8G8B8, 0}, {"jpg", 3, nTexture2::X8R8G8B8, 12},
};

/// whether below holds the 2x2 averages of above (w x h, BGRA), an odd edge averaged with itself
void ExpectHalfOf(const std::vector<unsigned char>& above, int w, int h, const std::vector<unsigned char>& below)
{
    const int bw = std::max(1, w / 2);
    const int bh = std::max(1, h / 2);
    ASSERT_EQ(below.size(), size_t(bw * bh * 4));
    for (int y = 0; y < bh; y++)
    {
        for (int x = 0; x < bw; x++)
        {
            for (int c = 0; c < 4; c++)
            {
                auto at = [&](int ax, int ay) { return int(above[(std::min(ay, h - 1) * w + std::min(ax, w - 1)) * 4 + c]); };
                const int sum = at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1);
                ASSERT_NEAR(int(below[(y * bw + x) * 4 + c]), sum / 4, 1) << "at " << x << "," << y << " channel " << c;
            }
        }
    }
}

}  // namespace

TEST_F(NullTextureTest, ImageFilesLoadWithTheirSizeAFullMipChainAndTheirPixels)
{
    for (const ImageCase& c : imageCases)
    {
        for (bool inArchive : {false, true})
        {
            SCOPED_TRACE(std::string(c.kind) + " comp " + std::to_string(c.comp) + (inArchive ? " in npk" : ""));
            const std::string name = "img" + std::to_string(c.comp) + (inArchive ? "a." : ".") + c.kind;
            const std::string bytes = EncodePattern(c.kind, 24, 16, c.comp);
            std::string path;
            if (inArchive)
            {
                this->Pack({{name, bytes}});
                path = "tst:pack/" + name;
            }
            else
            {
                path = this->Write(name, bytes);
            }
            this->dev->calls.clear();
            nD3D9Texture* t = this->LoadTexture(path);
            EXPECT_TRUE(t->IsValid());
            EXPECT_EQ(t->GetType(), nTexture2::TEXTURE_2D);
            EXPECT_EQ(t->GetFormat(), c.format);
            EXPECT_EQ(t->GetWidth(), 24);
            EXPECT_EQ(t->GetHeight(), 16);
            EXPECT_EQ(t->GetNumMipLevels(), 5);
            EXPECT_EQ(t->GetByteSize(), (384 + 128) * 4);
            // each level is the box-filtered half of the one above, made without the driver
            EXPECT_FALSE(this->Called("GenerateTextureMipMaps"));
            for (int level = 1; level < t->GetNumMipLevels(); level++)
            {
                ExpectHalfOf(this->LevelBytes(t, 0, level - 1), std::max(1, 24 >> (level - 1)),
                             std::max(1, 16 >> (level - 1)), this->LevelBytes(t, 0, level));
            }
            // top-left red, bottom-right white, in the memory order B, G, R, A
            const std::vector<unsigned char> px = this->LevelBytes(t, 0, 0);
            const size_t bottomRight = (15 * 24 + 23) * 4;
            EXPECT_NEAR(px[2], 255, c.tolerance);
            EXPECT_NEAR(px[1], 0, c.tolerance);
            EXPECT_NEAR(px[bottomRight], 255, c.tolerance);
            EXPECT_NEAR(px[bottomRight + 1], 255, c.tolerance);
            t->Release();
        }
    }
}

TEST_F(NullTextureTest, DDSFilesKeepTheirOwnMipLevelsAndFaces)
{
    const struct
    {
        const char* what;
        TF format;
        int w, h, mips;
        bool cube;
        int levels;
    } cases[] = {
        {"DXT1 with mips", TF::DXT1, 16, 8, 5, false, 5},
        {"DXT5 without mips", TF::DXT5, 16, 16, 0, false, 1},
        {"A8R8G8B8 cube with mips", TF::A8R8G8B8, 8, 8, 4, true, 4},
        {"R5G6B5", TF::R5G6B5, 4, 4, 1, false, 1},
        {"A16B16G16R16F cube", TF::A16B16G16R16F, 2, 2, 0, true, 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const std::string bytes = MakeDDS(c.format, c.w, c.h, c.mips, c.cube);
        for (const std::string& path : {this->Write("t.dds", bytes), std::string("tst:pack/t.dds")})
        {
            if (0 == path.rfind("tst:pack", 0))
            {
                this->Pack({{"t.dds", bytes}});
            }
            this->dev->calls.clear();
            nD3D9Texture* t = this->LoadTexture(path);
            EXPECT_EQ(t->GetType(), c.cube ? nTexture2::TEXTURE_CUBE : nTexture2::TEXTURE_2D);
            EXPECT_EQ(int(t->GetFormat()), int(c.format));
            EXPECT_EQ(t->GetNumMipLevels(), c.levels);
            EXPECT_FALSE(this->Called("GenerateTextureMipMaps"));
            const int lastFace = c.cube ? 5 : 0;
            EXPECT_EQ(this->LevelBytes(t, lastFace, c.levels - 1)[0], lastFace * 16 + c.levels);
            t->Release();
        }
    }
}

TEST_F(NullTextureTest, AnImageNamedOtherThanDDSGetsItsMipChainGenerated)
{
    const std::string path = this->Write("dxt.tex", MakeDDS(TF::A8R8G8B8, 8, 8, 0, false));
    nD3D9Texture* t = this->LoadTexture(path);
    EXPECT_EQ(t->GetNumMipLevels(), 1);
    t->Release();
    const std::string png = this->Write("flat.dds", EncodePattern("png", 8, 8, 4));
    t = this->LoadTexture(png);
    EXPECT_EQ(t->GetNumMipLevels(), 1);
    EXPECT_FALSE(this->Called("GenerateTextureMipMaps"));
    t->Release();
}

namespace
{

/// the files a texture must refuse, on a device that takes up to 16 pixels a side
std::vector<BadFile> BadFiles()
{
    std::string bigDDS = MakeDDS(TF::DXT1, 32, 32, 1, false);
    std::string cutDDS = MakeDDS(TF::DXT1, 16, 16, 5, false);
    cutDDS.resize(cutDDS.size() - 3);
    const std::string png = EncodePattern("png", 8, 8, 3);
    // a TGA header claiming 16384 x 16384 pixels, and nothing after it
    const std::string hugeTGA("\0\0\2\0\0\0\0\0\0\0\0\0\0\x40\0\x40\x18\0", 18);
    return {
        {"missing.png", "", "does not exist", false},
        {"empty.png", "", "it is empty", true},
        {"cut.png", png.substr(0, 20), "is no image", true},
        {"pixels.png", png.substr(0, png.size() / 2), "its pixels do not decode", true},
        {"text.png", "# a script, not a picture\nputs hello\n", "is no image", true},
        {"noise.png", "\x89PNG but nothing after it", "is no image", true},
        {"cut.dds", cutDDS, "", true},
        {"big.png", EncodePattern("png", 32, 8, 3), "the image is 32x8, the device takes up to 16", true},
        {"big.dds", bigDDS, "the image is 32x32, the device takes up to 16", true},
        {"huge.tga", hugeTGA, "16384x16384", true},
    };
}

size_t Occurrences(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) n++;
    return n;
}

}  // namespace

TEST_F(NullTextureTest, FilesThatCannotBeLoadedAreReportedOnceAndLeaveTheTextureUnloaded)
{
    this->dev->maxTextureSize = 16;
    for (const BadFile& c : BadFiles())
    {
        SCOPED_TRACE(c.file);
        nD3D9Texture* t = this->BadTexture(c);
        const std::string path = t->GetFilename().Get();
        EXPECT_FALSE(t->Load());
        EXPECT_FALSE(t->IsLoaded());
        EXPECT_FALSE(t->IsValid());
        EXPECT_FALSE(t->GetDeviceTexture().IsValid());
        EXPECT_EQ(this->dev->GetNumTextures(), 0u);
        const std::string line = "could not load texture file '" + path + "': ";
        EXPECT_EQ(Occurrences(this->log.text, line), 1u) << this->log.text;
        EXPECT_NE(this->log.text.find(c.reason, this->log.text.find(line)), std::string::npos) << this->log.text;
        // mended, the same resource loads
        this->Write(c.file, EncodePattern("png", 8, 4, 3));
        EXPECT_TRUE(t->Load());
        EXPECT_TRUE(t->IsValid());
        EXPECT_EQ(t->GetWidth(), 8);
        t->Release();
    }
}

TEST_F(NullTextureTest, ABackgroundLoadOfABadFileIsReportedAtItsUploadAndLeavesItUnloaded)
{
    this->dev->maxTextureSize = 16;
    for (const BadFile& c : BadFiles())
    {
        SCOPED_TRACE(c.file);
        nD3D9Texture* t = this->BadTexture(c);
        const std::string path = t->GetFilename().Get();
        t->SetAsyncEnabled(true);
        ASSERT_TRUE(t->Load());
        for (int i = 0; i < 10000 && t->IsPending(); i++)
        {
            this->rs->UploadLoadedResources();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(t->IsPending());
        EXPECT_FALSE(t->IsLoaded());
        EXPECT_EQ(this->dev->GetNumTextures(), 0u);
        EXPECT_EQ(Occurrences(this->log.text, "could not load texture file '" + path + "': "), 1u) << this->log.text;
        t->Release();
    }
}

TEST_F(NullTextureTest, HeadersClaimingMorePixelsThanTheirFilesHoldAreRefused)
{
    // headers of 18 to 54 bytes that claim 16384 x 16384, on a device that
    // takes that size: each would make the decoder fill a gigabyte
    this->dev->maxTextureSize = 16384;
    auto bytes = [](std::initializer_list<int> values) {
        std::string s;
        for (int v : values) s += char(v);
        return s;
    };
    std::string bmp(54, '\0');
    bmp[0] = 'B'; bmp[1] = 'M'; bmp[10] = 54; bmp[14] = 40;
    bmp[19] = 0x40; bmp[23] = 0x40; bmp[26] = 1; bmp[28] = 24;
    const struct
    {
        const char* file;
        std::string bytes;
    } cases[] = {
        {"huge.tga", bytes({0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0x40, 24, 0})},
        {"huge.bmp", bmp},
        {"huge.png", bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x40, 0, 0, 0,
                            0x40, 0, 8, 2, 0, 0, 0, 0, 0, 0, 0})},
        {"huge.jpg", bytes({0xff, 0xd8, 0xff, 0xc0, 0, 17, 8, 0x40, 0, 0x40, 0, 3, 1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1})},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        nD3D9Texture::Image image;
        bool readable = false;
        std::string error;
        EXPECT_FALSE(nD3D9Texture::DecodeImage(std::vector<unsigned char>(c.bytes.begin(), c.bytes.end()), 16384,
                                               image, readable, error));
        EXPECT_TRUE(readable);
        EXPECT_NE(error.find("claims 16384x16384 pixels"), std::string::npos) << error;
        const std::string path = this->Write(c.file, c.bytes);
        nD3D9Texture* t = this->NewTexture(path);
        t->SetFilename(path.c_str());
        this->log.text.clear();
        EXPECT_FALSE(t->Load());
        EXPECT_FALSE(t->IsLoaded());
        EXPECT_NE(this->log.text.find("could not load texture file '" + path + "': the header claims 16384x16384"),
                  std::string::npos)
            << this->log.text;
        t->Release();
    }
    // the same kinds at their true size still load
    for (const char* kind : {"tga", "bmp", "png", "jpg"})
    {
        SCOPED_TRACE(kind);
        const std::string path = this->Write(std::string("small.") + kind, EncodePattern(kind, 8, 4, 3));
        nD3D9Texture* t = this->LoadTexture(path);
        EXPECT_EQ(t->GetWidth(), 8);
        t->Release();
    }
}

TEST_F(NullTextureTest, ImagesOfMorePixelsThanATextureMayHaveAreRefusedBeforeDecoding)
{
    // PNG headers followed by zeros: enough bytes for the size they claim,
    // on a device that takes 16384 a side; only the pixel count stops them
    this->dev->maxTextureSize = 16384;
    auto png = [](int w, int h, size_t fileSize) {
        std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
        for (int v : {w, h}) s += {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        s += std::string("\x08\x02\0\0\0\0\0\0\0", 9);
        s.resize(fileSize, '\0');
        return s;
    };
    const struct
    {
        int w, h;
        size_t fileSize;
        const char* reason;
    } cases[] = {
        {16384, 16384, 40000, "the image is 16384x16384, more than the 4096x4096 (16777216) pixels"},
        {4097, 4096, 4000, "the image is 4097x4096, more than the 4096x4096"},
        // as many pixels as allowed: past the bound, the missing pixel data is what fails
        {8192, 2048, 4000, "its pixels do not decode"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.reason);
        const std::string bytes = png(c.w, c.h, c.fileSize);
        nD3D9Texture::Image image;
        bool readable = false;
        std::string error;
        EXPECT_FALSE(nD3D9Texture::DecodeImage(std::vector<unsigned char>(bytes.begin(), bytes.end()), 16384, image,
                                               readable, error));
        EXPECT_TRUE(readable);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        const std::string path = this->Write("zeros.png", bytes);
        nD3D9Texture* t = this->NewTexture(path);
        t->SetFilename(path.c_str());
        this->log.text.clear();
        EXPECT_FALSE(t->Load());
        EXPECT_FALSE(t->IsLoaded());
        EXPECT_NE(this->log.text.find("could not load texture file '" + path + "': " + c.reason), std::string::npos)
            << this->log.text;
        t->Release();
    }
}

TEST_F(NullTextureTest, WithoutAnOpenDisplayNothingLoads)
{
    const std::string path = this->Write("a.png", EncodePattern("png", 4, 4, 3));
    this->gfx->CloseDisplay();
    nD3D9Texture* t = this->NewTexture(path);
    t->SetFilename(path.c_str());
    EXPECT_FALSE(t->Load());
    EXPECT_FALSE(t->IsLoaded());
    EXPECT_NE(this->log.text.find("no open graphics device"), std::string::npos);
    t->Release();
}

TEST_F(NullTextureTest, EmptyTexturesAreEmptyWithOneLevelOfTheirFormat)
{
    for (int f = nTexture2::X8R8G8B8; f <= nTexture2::A8; f++)
    {
        for (nTexture2::Type type : {nTexture2::TEXTURE_2D, nTexture2::TEXTURE_CUBE})
        {
            nD3D9Texture* t = this->NewTexture("empty");
            t->SetUsage(nTexture2::CreateEmpty);
            t->SetType(type);
            t->SetFormat(nTexture2::Format(f));
            t->SetWidth(16);
            t->SetHeight(16);
            ASSERT_TRUE(t->Load()) << nTexture2::FormatToString(nTexture2::Format(f));
            EXPECT_EQ(t->GetState(), nResource::Empty);
            EXPECT_EQ(t->GetNumMipLevels(), 1);
            EXPECT_EQ(t->GetByteSize(), 0);
            EXPECT_TRUE(t->GetBaseTexture().IsValid());
            t->Release();
        }
    }
    EXPECT_EQ(this->dev->GetNumTextures(), 0u);
}

TEST_F(NullTextureTest, EmptyTexturesRefuseBadShapes)
{
    nD3D9Texture* t = this->NewTexture("cube");
    t->SetUsage(nTexture2::CreateEmpty);
    t->SetType(nTexture2::TEXTURE_CUBE);
    t->SetFormat(nTexture2::A8R8G8B8);
    t->SetWidth(64);
    t->SetHeight(32);
    EXPECT_ASSERT_DEATH(t->Load(), "this->GetWidth() == this->GetHeight()");
    t->SetType(nTexture2::TEXTURE_3D);
    EXPECT_FATAL(t->Load(), "Unsupported texture type \\(cube texture\\?!");
    t->SetType(nTexture2::TEXTURE_2D);
    this->dev->RefuseTexFormat(TF::A8R8G8B8);
    EXPECT_FATAL(t->Load(), "nD3D9Texture::CreateEmptyTexture\\(\\): Failed to create 2D texture!");
    t->Release();
}

TEST_F(NullTextureTest, RenderTargetsOfDrawableFormatsAreMadeAndOthersAreFatal)
{
    const nTexture2::Format good[] = {nTexture2::X8R8G8B8, nTexture2::A8R8G8B8, nTexture2::R16F,
                                      nTexture2::G16R16F,  nTexture2::A16B16G16R16F, nTexture2::R32F,
                                      nTexture2::G32R32F,  nTexture2::A32B32G32R32F};
    for (nTexture2::Format f : good)
    {
        nTexture2* rt = this->gfx->NewRenderTarget("rt", 32, 16, f, nTexture2::RenderTargetColor |
                                                                       nTexture2::RenderTargetDepth);
        ASSERT_NE(rt, nullptr) << nTexture2::FormatToString(f);
        EXPECT_TRUE(rt->IsValid());
        EXPECT_EQ(rt->GetType(), nTexture2::TEXTURE_2D);
        EXPECT_TRUE(static_cast<nD3D9Texture*>(rt)->GetRenderTargetSurface().IsValid());
        EXPECT_TRUE(static_cast<nD3D9Texture*>(rt)->GetDepthStencilSurface().IsValid());
        EXPECT_EQ(this->gfx->NewRenderTarget("rt", 1, 1, nTexture2::DXT1, 0), rt);
        rt->Release();
        rt->Release();
    }
    EXPECT_EQ(this->dev->GetNumDepthSurfaces(), 0u);
    for (nTexture2::Format f : {nTexture2::DXT1, nTexture2::P8, nTexture2::R5G6B5, nTexture2::A8})
    {
        EXPECT_FATAL(this->gfx->NewRenderTarget("bad", 32, 32, f, nTexture2::RenderTargetColor),
                     "nD3D9Texture: invalid render target pixel format!");
    }
    this->dev->RefuseTexFormat(TF::R32F);
    EXPECT_FATAL(this->gfx->NewRenderTarget("bad", 32, 32, nTexture2::R32F, nTexture2::RenderTargetColor),
                 "nD3D9Texture: Could not create render target surface!");
}

TEST_F(NullTextureTest, StencilOnlyTargetsMakeNothingAndDepthOnlyTargetsADepthSurface)
{
    nTexture2* s = this->gfx->NewRenderTarget("s", 8, 8, nTexture2::NOFORMAT, nTexture2::RenderTargetStencil);
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(static_cast<nD3D9Texture*>(s)->GetBaseTexture().IsValid());
    nTexture2* d = this->gfx->NewRenderTarget("d", 8, 8, nTexture2::NOFORMAT, nTexture2::RenderTargetDepth);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(static_cast<nD3D9Texture*>(d)->GetDepthStencilSurface().IsValid());
    EXPECT_EQ(this->dev->GetNumTextures(), 0u);
    s->Release();
    d->Release();
}

TEST_F(NullTextureTest, UnloadingDropsTheTextureFromTheServersStagesAndTarget)
{
    nTexture2* rt = this->gfx->NewRenderTarget("rt", 8, 8, nTexture2::A8R8G8B8, nTexture2::RenderTargetColor);
    this->gfx->SetRenderTarget(rt);
    this->gfx->SetTexture(2, rt);
    rt->Unload();
    EXPECT_EQ(this->gfx->GetRenderTarget(), nullptr);
    EXPECT_EQ(this->gfx->GetTexture(2), nullptr);
    EXPECT_EQ(this->dev->GetNumTextures(), 0u);
    rt->Release();
}

TEST_F(NullTextureTest, LockHandsOutTheLevelAndUnlockWritesItBack)
{
    nD3D9Texture* t = this->NewTexture("dyn");
    t->SetUsage(nTexture2::CreateEmpty | nTexture2::Dynamic);
    t->SetType(nTexture2::TEXTURE_2D);
    t->SetFormat(nTexture2::A4R4G4B4);
    t->SetWidth(8);
    t->SetHeight(4);
    ASSERT_TRUE(t->Load());
    nTexture2::LockInfo info;
    ASSERT_TRUE(t->Lock(nTexture2::WriteOnly, 0, info));
    EXPECT_EQ(info.surfPitch, 16);
    nTexture2::LockInfo again;
    EXPECT_FALSE(t->Lock(nTexture2::WriteOnly, 0, again));
    EXPECT_FALSE(t->Lock(nTexture2::ReadOnly, 1, again));
    std::fill_n(static_cast<unsigned char*>(info.surfPointer), 64, 0xab);
    t->Unlock(0);
    EXPECT_EQ(this->LevelBytes(t, 0, 0), std::vector<unsigned char>(64, 0xab));
    ASSERT_TRUE(t->Lock(nTexture2::ReadOnly, 0, info));
    EXPECT_EQ(static_cast<unsigned char*>(info.surfPointer)[63], 0xab);
    static_cast<unsigned char*>(info.surfPointer)[0] = 0;
    t->Unlock(0);
    EXPECT_EQ(this->LevelBytes(t, 0, 0)[0], 0xab);
    t->Unlock(0);
    EXPECT_NE(this->log.text.find("UnlockRect() on 2d texture failed"), std::string::npos);
    EXPECT_ASSERT_DEATH(t->LockCubeFace(nTexture2::ReadOnly, 0, 0, info), "this->GetType() == TEXTURE_CUBE");
    t->Release();
}

TEST_F(NullTextureTest, CubeFacesLockOneAtATime)
{
    const std::string path = this->Write("cube.dds", MakeDDS(TF::X8R8G8B8, 4, 4, 0, true));
    nD3D9Texture* t = this->LoadTexture(path);
    nTexture2::LockInfo info;
    ASSERT_TRUE(t->LockCubeFace(nTexture2::WriteOnly, nTexture2::NegZ, 0, info));
    EXPECT_EQ(static_cast<unsigned char*>(info.surfPointer)[0], 5 * 16 + 1);
    static_cast<unsigned char*>(info.surfPointer)[0] = 7;
    t->UnlockCubeFace(nTexture2::NegZ, 0);
    EXPECT_EQ(this->LevelBytes(t, 5, 0)[0], 7);
    EXPECT_FALSE(t->LockCubeFace(nTexture2::ReadOnly, 6, 0, info));
    t->Release();
}

TEST_F(NullTextureTest, CompoundFilesGiveRawPixelsAndDDSData)
{
    const std::string dds = MakeDDS(TF::DXT3, 8, 8, 2, false);
    const std::string raw = std::string(16 * 4 * 2, '\x5a');
    const std::string path = this->Write("compound.bin", "head" + raw + dds);
    nFile* file = nFileServer2::Instance()->NewFileObject();
    ASSERT_TRUE(file->Open(path.c_str(), "rb"));

    nD3D9Texture* r = this->NewTexture("raw");
    r->SetUsage(nTexture2::CreateFromRawCompoundFile);
    r->SetType(nTexture2::TEXTURE_2D);
    r->SetFormat(nTexture2::R5G6B5);
    r->SetWidth(16);
    r->SetHeight(4);
    r->SetCompoundFile(file);
    r->SetCompoundFileData(4, int(raw.size()));
    ASSERT_TRUE(r->Load());
    EXPECT_TRUE(r->IsValid());
    EXPECT_EQ(this->LevelBytes(r, 0, 0), std::vector<unsigned char>(raw.begin(), raw.end()));

    nD3D9Texture* d = this->NewTexture("dds");
    d->SetUsage(nTexture2::CreateFromDDSCompoundFile);
    d->SetCompoundFile(file);
    d->SetCompoundFileData(int(4 + raw.size()), int(dds.size()));
    ASSERT_TRUE(d->Load());
    EXPECT_EQ(d->GetFormat(), nTexture2::DXT3);
    EXPECT_EQ(d->GetNumMipLevels(), 2);
    EXPECT_EQ(this->LevelBytes(d, 0, 1)[0], 2);
    d->Unload();
    // data cut short or beyond the file's end is the file's fault: reported, nothing made
    const size_t before = this->dev->GetNumTextures();
    d->SetCompoundFileData(int(4 + raw.size()), int(dds.size()) + 1);
    this->log.text.clear();
    EXPECT_FALSE(d->Load());
    EXPECT_FALSE(d->IsLoaded());
    EXPECT_NE(this->log.text.find("could not load texture file 'dds': the compound file does not hold"),
              std::string::npos)
        << this->log.text;
    d->SetCompoundFileData(int(4 + raw.size()), int(dds.size()) - 3);
    EXPECT_FALSE(d->Load());
    r->Unload();
    r->SetCompoundFileData(int(4 + raw.size() + dds.size()) - 8, int(raw.size()));
    this->log.text.clear();
    EXPECT_FALSE(r->Load());
    EXPECT_FALSE(r->IsLoaded());
    EXPECT_NE(this->log.text.find("could not load texture file 'raw': the compound file does not hold its 128 bytes"),
              std::string::npos)
        << this->log.text;
    EXPECT_EQ(this->dev->GetNumTextures(), before - 1);
    r->Release();
    d->Release();
    file->Close();
    file->Release();
}

TEST_F(NullTextureTest, AResetRecreatesTargetsAndDynamicTexturesOnly)
{
    nTexture2* rt = this->gfx->NewRenderTarget("rt", 16, 16, nTexture2::A8R8G8B8,
                                              nTexture2::RenderTargetColor | nTexture2::RenderTargetDepth);
    nD3D9Texture* dyn = this->NewTexture("dyn");
    dyn->SetUsage(nTexture2::CreateEmpty | nTexture2::Dynamic);
    dyn->SetType(nTexture2::TEXTURE_2D);
    dyn->SetFormat(nTexture2::X8R8G8B8);
    dyn->SetWidth(4);
    dyn->SetHeight(4);
    ASSERT_TRUE(dyn->Load());
    nD3D9Texture* file = this->LoadTexture(this->Write("keep.png", EncodePattern("png", 4, 4, 3)));
    const nGfxTextureHandle fileTexture = file->GetBaseTexture();
    const nGfxTextureHandle oldTarget = static_cast<nD3D9Texture*>(rt)->GetBaseTexture();

    this->dev->ScriptStates({nGfxDeviceState::NotReset});
    this->dev->calls.clear();
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->EndScene();
    EXPECT_TRUE(rt->IsValid());
    EXPECT_NE(static_cast<nD3D9Texture*>(rt)->GetBaseTexture(), oldTarget);
    EXPECT_TRUE(static_cast<nD3D9Texture*>(rt)->GetDepthStencilSurface().IsValid());
    EXPECT_EQ(dyn->GetState(), nResource::Empty);
    EXPECT_TRUE(file->IsValid());
    EXPECT_EQ(file->GetBaseTexture(), fileTexture);
    EXPECT_EQ(std::count(this->dev->calls.begin(), this->dev->calls.end(), "ReleaseTexture"), 2);
    rt->Release();
    dyn->Release();
    file->Release();
}
