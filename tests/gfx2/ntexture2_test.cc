//------------------------------------------------------------------------------
//  The abstract texture: bytes per pixel, byte sizes, the format names,
//  the compound file reference and the base class's slot operations.
//------------------------------------------------------------------------------
#include "gfxfixture.h"
#include "kernel/nfileserver2.h"
#include "kernel/nfile.h"
#include "util/assertdeath.h"

namespace
{

class Texture2Test : public GfxTest
{
protected:
    nTexture2* NewTexture(const char* name = "t")
    {
        return static_cast<nTexture2*>(this->rs->NewResource("ntexture2", name, nResource::Texture));
    }
};

/// reads the byte size of any texture, valid or not
struct SizePeek : nTexture2
{
    static int Of(const nTexture2* t) { return (t->*(&SizePeek::ComputeByteSize))(); }
};

}  // namespace

TEST_F(Texture2Test, BytesPerPixelFollowTheFormat)
{
    const struct
    {
        nTexture2::Format f;
        int bytes;
    } cases[] = {
        {nTexture2::X8R8G8B8, 4}, {nTexture2::A8R8G8B8, 4}, {nTexture2::G16R16F, 4}, {nTexture2::R32F, 4},
        {nTexture2::R5G6B5, 2},   {nTexture2::A1R5G5B5, 2}, {nTexture2::A4R4G4B4, 2}, {nTexture2::R16F, 2},
        {nTexture2::P8, 1},       {nTexture2::A8, 1},       {nTexture2::A16B16G16R16F, 8},
        {nTexture2::G32R32F, 8},  {nTexture2::A32B32G32R32F, 16},
    };
    nTexture2* t = this->NewTexture();
    for (const auto& c : cases)
    {
        t->SetFormat(c.f);
        EXPECT_EQ(t->GetBytesPerPixel(), c.bytes) << nTexture2::FormatToString(c.f);
    }
    t->Release();
}

TEST_F(Texture2Test, BytesPerPixelOfCompressedOrInvalidFormatsIsFatal)
{
    nTexture2* t = this->NewTexture();
    t->SetFormat(nTexture2::DXT5);
    EXPECT_FATAL(t->GetBytesPerPixel(), "nTexture2::GetBytesPerPixel\\(\\): compressed pixel format!");
    t->SetFormat(nTexture2::NOFORMAT);
    EXPECT_FATAL(t->GetBytesPerPixel(), "nTexture2::GetBytesPerPixel\\(\\): invalid pixel format!");
    t->Release();
}

TEST_F(Texture2Test, ByteSizeCountsFacesMipsAndFormat)
{
    const struct
    {
        nTexture2::Type type;
        nTexture2::Format f;
        int w, h, d, mips;
        int bytes;
    } cases[] = {
        {nTexture2::TEXTURE_2D, nTexture2::X8R8G8B8, 256, 256, 1, 9, 349524},
        {nTexture2::TEXTURE_2D, nTexture2::X8R8G8B8, 256, 256, 1, 1, 262144},
        {nTexture2::TEXTURE_CUBE, nTexture2::A8R8G8B8, 16, 16, 1, 1, 6 * 256 * 4},
        {nTexture2::TEXTURE_3D, nTexture2::R16F, 8, 8, 7, 2, (448 + 64) * 2},
        {nTexture2::TEXTURE_2D, nTexture2::DXT1, 64, 64, 1, 1, 2048},
        {nTexture2::TEXTURE_2D, nTexture2::DXT5, 64, 64, 1, 1, 4096},
        {nTexture2::TEXTURE_2D, nTexture2::A32B32G32R32F, 4, 4, 1, 1, 256},
        {nTexture2::TEXTURE_2D, nTexture2::NOFORMAT, 4, 4, 1, 1, 0},
    };
    for (const auto& c : cases)
    {
        nTexture2* t = this->NewTexture("s");
        t->SetType(c.type);
        t->SetFormat(c.f);
        t->SetWidth(c.w);
        t->SetHeight(c.h);
        t->SetDepth(c.d);
        t->SetNumMipLevels(c.mips);
        EXPECT_EQ(SizePeek::Of(t), c.bytes) << nTexture2::FormatToString(c.f);
        t->Release();
    }
}

TEST_F(Texture2Test, FormatNamesGoBothWays)
{
    for (int f = nTexture2::X8R8G8B8; f <= nTexture2::A8; f++)
    {
        EXPECT_EQ(nTexture2::StringToFormat(nTexture2::FormatToString(nTexture2::Format(f))), f);
    }
    EXPECT_EQ(nTexture2::StringToFormat("RGB"), nTexture2::NOFORMAT);
    EXPECT_EQ(nTexture2::StringToFormat(nullptr), nTexture2::NOFORMAT);
    EXPECT_STREQ(nTexture2::FormatToString(nTexture2::Format(99)), "NOFORMAT");
}

TEST_F(Texture2Test, MembersStartEmptyAndTheBaseCannotLock)
{
    nTexture2* t = this->NewTexture();
    EXPECT_EQ(t->GetType(), nTexture2::TEXTURE_NOTYPE);
    EXPECT_EQ(t->GetFormat(), nTexture2::NOFORMAT);
    EXPECT_EQ(t->GetUsage(), 0);
    EXPECT_EQ(t->GetWidth() + t->GetHeight() + t->GetDepth() + t->GetNumMipLevels(), 0);
    EXPECT_FALSE(t->IsRenderTarget());
    t->SetUsage(nTexture2::RenderTargetStencil);
    EXPECT_TRUE(t->IsRenderTarget());
    t->SetUsage(nTexture2::Dynamic | nTexture2::CreateEmpty);
    EXPECT_FALSE(t->IsRenderTarget());
    nTexture2::LockInfo info;
    EXPECT_FALSE(t->Lock(nTexture2::WriteOnly, 0, info));
    EXPECT_FALSE(t->LockCubeFace(nTexture2::ReadOnly, 0, 0, info));
    EXPECT_EQ(info.surfPointer, nullptr);
    t->Release();
}

TEST_F(Texture2Test, TheCompoundFileIsHeldUntilReplacedOrTheTextureDies)
{
    nFile* file = nFileServer2::Instance()->NewFileObject();
    nTexture2* t = this->NewTexture();
    t->SetCompoundFile(file);
    t->SetCompoundFileData(12, 34);
    EXPECT_EQ(file->GetRefCount(), 1);
    EXPECT_EQ(t->GetCompoundFileDataOffset(), 12);
    EXPECT_EQ(t->GetCompoundFileDataSize(), 34);
    t->Release();
    EXPECT_EQ(file->GetRefCount(), 0);
    file->Release();
}
