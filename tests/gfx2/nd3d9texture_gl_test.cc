//------------------------------------------------------------------------------
//  Device textures on the OpenGL device, checked by sampling: a shader
//  reads a few texels of each loaded texture (every format, image files,
//  mip levels, cube faces), of a render target drawn into, and of a
//  dynamic texture after Lock and Unlock.
//------------------------------------------------------------------------------
#include "texturefixture.h"
#include "platform/ngfxdeviceprobe.h"

#include <stb_dxt.h>

#include <cstring>

using teximg::EncodePattern;
using teximg::MakeDDS;
using TF = nGfxTexFormat;

namespace
{

class GLTextureTest : public TextureTest
{
protected:
    void SetUp() override { this->Open(nullptr); }

    /// expects the texture to read as the colour at u, v on the face and level
    void ExpectSample(nD3D9Texture* t, float u, float v, const float want[4], float tolerance, int face = 0,
                      float level = 0.0f)
    {
        float got[4] = {-9, -9, -9, -9};
        nGfxDeviceProbe* probe = nGfxDeviceProbe::Of(this->gfx->GetDevice());
        ASSERT_TRUE(probe->SampleTexture(t->GetBaseTexture(), face, u, v, level, got));
        for (int i = 0; i < 4; i++)
        {
            EXPECT_NEAR(got[i], want[i], tolerance) << "channel " << i << " at " << u << "," << v << " face "
                                                    << face << " level " << level;
        }
    }
};

std::string Half(float f)
{
    // the few values used here, as IEEE half floats
    uint16_t h = 0;
    if (0.25f == f) h = 0x3400;
    if (0.5f == f) h = 0x3800;
    if (1.0f == f) h = 0x3C00;
    if (2.0f == f) h = 0x4000;
    return std::string{char(h & 0xff), char(h >> 8)};
}

std::string Float(float f)
{
    std::string s(4, '\0');
    memcpy(&s[0], &f, 4);
    return s;
}

/// one 4x4 block of a solid colour in a DXT format
std::string SolidBlock(TF f, const unsigned char rgba[4])
{
    unsigned char px[64];
    for (int i = 0; i < 16; i++) memcpy(px + 4 * i, rgba, 4);
    unsigned char out[16];
    if (TF::DXT1 == f)
    {
        stb_compress_dxt_block(out, px, 0, STB_DXT_NORMAL);
        return std::string(reinterpret_cast<char*>(out), 8);
    }
    if (TF::DXT5 == f)
    {
        stb_compress_dxt_block(out, px, 1, STB_DXT_NORMAL);
        return std::string(reinterpret_cast<char*>(out), 16);
    }
    // DXT3: explicit 4-bit alpha, then the colour block
    stb_compress_dxt_block(out, px, 0, STB_DXT_NORMAL);
    const char a = char((rgba[3] >> 4) * 0x11);
    return std::string(8, a) + std::string(reinterpret_cast<char*>(out), 8);
}

/// a level made of one texel (or block) repeated
teximg::LevelFunc Repeat(TF f, const std::string& texel)
{
    return [f, texel](int, int, int w, int h) {
        std::string s;
        while (s.size() < nGfxTexLevelSize(f, w, h)) s += texel;
        return s;
    };
}

struct FormatCase
{
    TF format;
    std::string texel;
    float want[4];
    float tolerance;
};

}  // namespace

TEST_F(GLTextureTest, EveryFormatSamplesAsItsTexels)
{
    const unsigned char red[4] = {255, 0, 0, 255};
    const unsigned char halfRed[4] = {255, 0, 0, 136};
    const float t8 = 1.5f / 255.0f;
    const FormatCase cases[] = {
        {TF::A8R8G8B8, "\x20\x40\x80\x40", {128 / 255.0f, 64 / 255.0f, 32 / 255.0f, 64 / 255.0f}, t8},
        {TF::X8R8G8B8, std::string("\x20\x40\x80\x00", 4), {128 / 255.0f, 64 / 255.0f, 32 / 255.0f, 1}, t8},
        {TF::R5G6B5, std::string("\x00\xF8", 2), {1, 0, 0, 1}, t8},
        {TF::A1R5G5B5, "\xE0\x83", {0, 1, 0, 1}, t8},
        {TF::A4R4G4B4, "\xF0\x80", {0, 1, 0, 8 / 15.0f}, t8},
        {TF::A8, "\x80", {0, 0, 0, 128 / 255.0f}, t8},
        {TF::P8, "\x80", {128 / 255.0f, 1, 1, 1}, t8},
        {TF::R16F, Half(0.5f), {0.5f, 1, 1, 1}, 1e-3f},
        {TF::G16R16F, Half(0.5f) + Half(0.25f), {0.5f, 0.25f, 1, 1}, 1e-3f},
        {TF::A16B16G16R16F, Half(0.5f) + Half(0.25f) + Half(2.0f) + Half(1.0f), {0.5f, 0.25f, 2, 1}, 1e-3f},
        {TF::R32F, Float(0.75f), {0.75f, 1, 1, 1}, 1e-5f},
        {TF::G32R32F, Float(0.75f) + Float(-1.5f), {0.75f, -1.5f, 1, 1}, 1e-5f},
        {TF::A32B32G32R32F, Float(1) + Float(2) + Float(3) + Float(4), {1, 2, 3, 4}, 1e-5f},
        {TF::DXT1, SolidBlock(TF::DXT1, red), {1, 0, 0, 1}, 0.05f},
        {TF::DXT3, SolidBlock(TF::DXT3, halfRed), {1, 0, 0, 136 / 255.0f}, 0.05f},
        {TF::DXT5, SolidBlock(TF::DXT5, halfRed), {1, 0, 0, 136 / 255.0f}, 0.05f},
    };
    for (const FormatCase& c : cases)
    {
        SCOPED_TRACE(nGfxTexFormatName(c.format));
        const std::string path =
            this->Write(std::string(nGfxTexFormatName(c.format)) + ".dds",
                        MakeDDS(c.format, 8, 8, 0, false, Repeat(c.format, c.texel)));
        nD3D9Texture* t = this->LoadTexture(path);
        ASSERT_TRUE(t->IsValid());
        EXPECT_EQ(int(t->GetFormat()), int(c.format));
        this->ExpectSample(t, 0.3f, 0.7f, c.want, c.tolerance);
        t->Release();
    }
}

TEST_F(GLTextureTest, ImageFilesSampleTheirQuadrantsRowZeroOnTop)
{
    const struct
    {
        const char* kind;
        int comp;
        float tolerance;
    } cases[] = {{"png", 4, 0.01f}, {"tga", 4, 0.01f}, {"bmp", 3, 0.01f}, {"jpg", 3, 0.08f}};
    const float quadrants[4][2] = {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.25f, 0.75f}, {0.75f, 0.75f}};
    for (const auto& c : cases)
    {
        for (bool inArchive : {false, true})
        {
            SCOPED_TRACE(std::string(c.kind) + (inArchive ? " in npk" : ""));
            const std::string name = std::string("pattern.") + c.kind;
            const std::string bytes = EncodePattern(c.kind, 32, 16, c.comp);
            std::string path = "tst:pack/" + name;
            if (inArchive)
            {
                this->Pack({{name, bytes}});
            }
            else
            {
                path = this->Write(name, bytes);
            }
            nD3D9Texture* t = this->LoadTexture(path);
            EXPECT_EQ(t->GetNumMipLevels(), 6);
            for (const auto& q : quadrants)
            {
                unsigned char rgba[4];
                teximg::QuadrantColor(int(q[0] * 32), int(q[1] * 16), 32, 16, rgba);
                const float want[4] = {rgba[0] / 255.0f, rgba[1] / 255.0f, rgba[2] / 255.0f,
                                       (4 == c.comp) ? rgba[3] / 255.0f : 1.0f};
                this->ExpectSample(t, q[0], q[1], want, c.tolerance);
            }
            // the generated 1x1 level is the mean of the four quadrants
            const float mean[4] = {0.5f, 0.5f, 0.5f, 1.0f};
            float got[4];
            nGfxDeviceProbe* probe = nGfxDeviceProbe::Of(this->gfx->GetDevice());
            ASSERT_TRUE(probe->SampleTexture(t->GetBaseTexture(), 0, 0.5f, 0.5f, 5.0f, got));
            EXPECT_NEAR(got[0], mean[0], 0.1f);
            EXPECT_NEAR(got[2], mean[2], 0.1f);
            t->Release();
        }
    }
}

TEST_F(GLTextureTest, DDSMipLevelsAndCubeFacesSampleTheirOwnData)
{
    // level l of face f: B, G, R, A = f * 40, l * 100, 200, 255; row 0 of
    // level 0 red on every face
    auto fill = [](int face, int level, int w, int h) {
        std::string s;
        for (int y = 0; y < h; y++)
        {
            for (int x = 0; x < w; x++)
            {
                if (0 == level && 0 == y)
                {
                    s += std::string("\x00\x00\xff\xff", 4);
                }
                else
                {
                    s += char(face * 40);
                    s += char(level * 100);
                    s += char(200);
                    s += char(255);
                }
            }
        }
        return s;
    };
    for (bool cube : {false, true})
    {
        SCOPED_TRACE(cube ? "cube" : "2D");
        const std::string path = this->Write("levels.dds", MakeDDS(TF::A8R8G8B8, 8, 8, 3, cube, fill));
        nD3D9Texture* t = this->LoadTexture(path);
        ASSERT_EQ(t->GetType(), cube ? nTexture2::TEXTURE_CUBE : nTexture2::TEXTURE_2D);
        for (int face = 0; face < (cube ? 6 : 1); face++)
        {
            const float top[4] = {1, 0, 0, 1};
            this->ExpectSample(t, 0.5f, 1.0f / 16, top, 0.01f, face, 0.0f);
            for (int level = 0; level < 3; level++)
            {
                const float want[4] = {200 / 255.0f, level * 100 / 255.0f, face * 40 / 255.0f, 1};
                this->ExpectSample(t, 0.5f, 0.75f, want, 0.01f, face, float(level));
            }
        }
        t->Release();
    }
}

TEST_F(GLTextureTest, ARenderTargetDrawnIntoSamplesTheDrawnColour)
{
    nTexture2* rt = this->gfx->NewRenderTarget("rt", 16, 8, nTexture2::A8R8G8B8,
                                              nTexture2::RenderTargetColor | nTexture2::RenderTargetDepth);
    ASSERT_NE(rt, nullptr);
    nTexture2* frt = this->gfx->NewRenderTarget("frt", 4, 4, nTexture2::A16B16G16R16F, nTexture2::RenderTargetColor);
    ASSERT_NE(frt, nullptr);
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0);
    this->gfx->EndScene();
    this->gfx->SetRenderTarget(rt);
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->Clear(nGfxServer2::AllBuffers, 0.2f, 0.4f, 0.6f, 0.8f, 1.0f, 0);
    this->gfx->EndScene();
    this->gfx->SetRenderTarget(frt);
    ASSERT_TRUE(this->gfx->BeginScene());
    this->gfx->Clear(nGfxServer2::ColorBuffer, 3.0f, -1.0f, 0.5f, 1.0f, 1.0f, 0);
    this->gfx->EndScene();
    this->gfx->SetRenderTarget(nullptr);

    const float drawn[4] = {0.2f, 0.4f, 0.6f, 0.8f};
    this->ExpectSample(static_cast<nD3D9Texture*>(rt), 0.9f, 0.1f, drawn, 0.01f);
    const float floats[4] = {3.0f, -1.0f, 0.5f, 1.0f};
    this->ExpectSample(static_cast<nD3D9Texture*>(frt), 0.5f, 0.5f, floats, 1e-3f);
    // the back buffer kept its own colour
    unsigned char rgba[4];
    ASSERT_TRUE(nGfxDeviceProbe::Of(this->gfx->GetDevice())->ReadPixel(1, 1, rgba));
    EXPECT_EQ(rgba[2], 255);
    EXPECT_EQ(rgba[0], 0);
    rt->Release();
    frt->Release();
}

TEST_F(GLTextureTest, CompressedAndPalettedRenderTargetsStopWithTheFormatMessage)
{
    // Mesa's and SDL's threads are running: a forked child could inherit a
    // lock one of them held, so the child starts the program anew
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (nTexture2::Format f : {nTexture2::DXT1, nTexture2::DXT5, nTexture2::P8})
    {
        EXPECT_DEATH(this->gfx->NewRenderTarget("bad", 16, 16, f, nTexture2::RenderTargetColor),
                     "nD3D9Texture: invalid render target pixel format!");
    }
}

TEST_F(GLTextureTest, LockAndUnlockChangeWhatADynamicTextureSamples)
{
    nD3D9Texture* t = this->NewTexture("dyn");
    t->SetUsage(nTexture2::CreateEmpty | nTexture2::Dynamic);
    t->SetType(nTexture2::TEXTURE_2D);
    t->SetFormat(nTexture2::A8R8G8B8);
    t->SetWidth(4);
    t->SetHeight(4);
    ASSERT_TRUE(t->Load());
    const unsigned char colours[2][4] = {{0, 255, 0, 255}, {255, 0, 0, 128}};
    for (const auto& bgra : colours)
    {
        nTexture2::LockInfo info;
        ASSERT_TRUE(t->Lock(nTexture2::WriteOnly, 0, info));
        ASSERT_EQ(info.surfPitch, 16);
        for (int i = 0; i < 16; i++)
        {
            memcpy(static_cast<unsigned char*>(info.surfPointer) + 4 * i, bgra, 4);
        }
        t->Unlock(0);
        const float want[4] = {bgra[2] / 255.0f, bgra[1] / 255.0f, bgra[0] / 255.0f, bgra[3] / 255.0f};
        this->ExpectSample(t, 0.5f, 0.5f, want, 0.01f);
    }
    // a read-only lock sees the last write and changes nothing
    nTexture2::LockInfo info;
    ASSERT_TRUE(t->Lock(nTexture2::ReadOnly, 0, info));
    EXPECT_EQ(static_cast<unsigned char*>(info.surfPointer)[0], 255);
    static_cast<unsigned char*>(info.surfPointer)[0] = 0;
    t->Unlock(0);
    const float still[4] = {0, 0, 1, 128 / 255.0f};
    this->ExpectSample(t, 0.5f, 0.5f, still, 0.01f);
    t->Release();
}
