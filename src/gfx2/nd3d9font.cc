//------------------------------------------------------------------------------
//  nd3d9font.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9font.h"
#include "gfx2/nd3d9server.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"
#include "platform/nplatformfont.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

/// the atlas starts this wide and high, and doubles up to the limit
const int FirstAtlasSize = 256;
const int MaxAtlasSize = 2048;
/// empty texels around each glyph, so that neighbours never bleed in
const int GlyphPadding = 1;

/// the Windows weights of nFontDesc's five weights
const int windowsWeights[] = {100, 300, 400, 700, 800};

/// the whole file through the file server (archives included); false when it cannot be read
bool ReadFontFile(const char* name, std::vector<unsigned char>& bytes)
{
    nFile* file = nFileServer2::Instance()->NewFileObject();
    bool ok = file->Open(name, "rb");
    if (ok)
    {
        const int size = file->GetSize();
        bytes.resize(size > 0 ? size_t(size) : 0);
        ok = size > 0 && file->Read(bytes.data(), size) == size;
        file->Close();
    }
    file->Release();
    return ok;
}

}  // namespace

nD3D9Font::nD3D9Font() :
    refGfxServer("/sys/servers/gfx", "ngfxserver2")
{
}

nD3D9Font::~nD3D9Font()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

/*
 * Server --
 *     Results: the running Direct3D 9 server, null when there is none.
 */
nD3D9Server* nD3D9Font::Server()
{
    return this->refGfxServer.isvalid() ? dynamic_cast<nD3D9Server*>(this->refGfxServer.get()) : nullptr;
}

/*
 * PixelHeight --
 *     Results: trunc(fontScale x height), raised to fontMinHeight, within
 *     1..the face's limit (a scale that is no number gives the minimum).
 */
int nD3D9Font::PixelHeight(int descHeight, float fontScale, int fontMinHeight)
{
    const double h = double(fontScale) * double(descHeight);
    int height = std::isfinite(h) ? int(std::clamp(std::trunc(h), -1e9, 1e9)) : fontMinHeight;
    height = std::max(height, fontMinHeight);
    return std::clamp(height, 1, int(nPlatformFontFace::MaxPixelHeight));
}

int nD3D9Font::WindowsWeight(int weight)
{
    return (weight >= nFontDesc::WeightThin && weight <= nFontDesc::WeightExtraBold) ? windowsWeights[weight] : 0;
}

//--- loading --------------------------------------------------------------------------

/*
 * InstallFontFile --
 *     Results: false (reported) when the file cannot be read or holds no
 *     font, or no Direct3D 9 server keeps installed fonts.
 *     Side effects: the file's bytes are installed under its mangled path
 *     in the server's registry (counted once more when already there).
 */
bool nD3D9Font::InstallFontFile()
{
    const nString& fileName = this->GetFontDesc().fileName;
    nD3D9Server* server = this->Server();
    if (!server)
    {
        n_printf("nD3D9Font: no graphics server to install the font file '%s'\n", fileName.Get());
        return false;
    }
    const nString mangled = nFileServer2::Instance()->ManglePath(fileName.Get());
    std::string error;
    std::vector<unsigned char> bytes;
    if (0 == server->GetFontRegistry().GetInstallCount(mangled.Get()) && !ReadFontFile(fileName.Get(), bytes))
    {
        n_printf("nD3D9Font: could not read the font file '%s'\n", fileName.Get());
        return false;
    }
    const int numFonts = server->GetFontRegistry().Add(mangled.Get(), std::move(bytes), error);
    if (numFonts <= 0)
    {
        n_printf("nD3D9Font: could not install the font file '%s': %s\n", fileName.Get(), error.c_str());
        return false;
    }
    this->installedKey = mangled.Get();
    return true;
}

void nD3D9Font::RemoveFontFile()
{
    if (this->installedKey.empty())
    {
        return;
    }
    // the installation lives in the server's registry: gone with the server
    nD3D9Server* server = this->Server();
    if (server)
    {
        const bool removed = server->GetFontRegistry().Remove(this->installedKey);
        n_assert(removed);
    }
    this->installedKey.clear();
}

/*
 * LoadResource --
 *     Results: true when the face opened; false (reported) when the font
 *     file or the face cannot be had.
 *     Side effects: the font file is installed first when the description
 *     names one; state Valid on success.
 */
bool nD3D9Font::LoadResource()
{
    n_assert(Unloaded == this->GetState());
    n_assert(!this->face);
    const nFontDesc& desc = this->GetFontDesc();
    if (!desc.fileName.IsEmpty() && !this->InstallFontFile())
    {
        return false;
    }
    nGfxServer2* gfx = this->refGfxServer.isvalid() ? this->refGfxServer.get() : nullptr;
    nPlatformFaceRequest req;
    req.family = desc.typeFace.IsEmpty() ? "" : desc.typeFace.Get();
    req.pixelHeight = PixelHeight(desc.height, gfx ? gfx->GetFontScale() : 1.0f, gfx ? gfx->GetFontMinHeight() : 12);
    req.weight = WindowsWeight(desc.weight);
    req.italic = desc.italic;
    req.antiAliased = desc.antiAliased;
    // without a Direct3D 9 server, fontconfig alone resolves the name
    nD3D9Server* server = this->Server();
    nPlatformFontRegistry ownRegistry;
    std::string error;
    this->face = nPlatformFontFace::Open(req, server ? server->GetFontRegistry() : ownRegistry, error);
    if (!this->face)
    {
        n_printf("nD3D9Font: D3DXCreateFont() failed! (%s: %s)\n", req.family.c_str(), error.c_str());
        this->RemoveFontFile();
        return false;
    }
    this->SetState(Valid);
    return true;
}

/*
 * UnloadResource --
 *     Side effects: a current font of the server is unset there; the
 *     face, glyphs and atlas go; an installed font file is removed once.
 */
void nD3D9Font::UnloadResource()
{
    n_assert(Unloaded != this->GetState());
    n_assert(this->face);
    nGfxServer2* gfx = this->refGfxServer.isvalid() ? this->refGfxServer.get() : nullptr;
    if (gfx && gfx->GetFont() == this)
    {
        gfx->SetFont(nullptr);
    }
    this->ReleaseAtlasTexture();
    this->glyphs.clear();
    this->atlas.clear();
    this->atlasSize = 0;
    this->face.reset();
    this->RemoveFontFile();
    this->SetState(Unloaded);
}

/*
 * OnLost, OnRestored --
 *     Side effects: the atlas texture is given up with the device and
 *     made and filled again at the next draw; the face stays.
 */
void nD3D9Font::OnLost()
{
    if (!this->face)
    {
        return;
    }
    n_assert(Lost != this->GetState());
    this->ReleaseAtlasTexture();
    this->SetState(Lost);
}

void nD3D9Font::OnRestored()
{
    if (!this->face)
    {
        return;
    }
    n_assert(Lost == this->GetState());
    this->atlasDirty = true;
    this->SetState(Valid);
}

//--- measuring ----------------------------------------------------------------------------

int nD3D9Font::GetLineHeight() const
{
    return this->face ? this->face->GetLineHeight() : 0;
}

/*
 * GetGlyph --
 *     Results: the cached glyph of a code point, its metrics read on
 *     first use.
 */
nD3D9Font::Glyph& nD3D9Font::GetGlyph(uint32_t codePoint)
{
    auto it = this->glyphs.find(codePoint);
    if (it != this->glyphs.end())
    {
        return it->second;
    }
    Glyph g;
    nPlatformGlyph pg;
    if (this->face && this->face->GetGlyph(codePoint, false, pg))
    {
        g.advance = pg.advance;
    }
    return this->glyphs.emplace(codePoint, g).first->second;
}

int nD3D9Font::GetAdvance(uint32_t codePoint)
{
    return this->GetGlyph(codePoint).advance;
}

/*
 * DrawText --
 *     Results: the height of the text in pixels (0 while unloaded).
 *     Side effects: with CalcRect, rect becomes the text's bounds and
 *     nothing is drawn; otherwise each glyph with ink goes to the sink as
 *     a quad, cut to rect unless NoClip; new glyphs are rendered into the
 *     atlas.
 */
int nD3D9Font::DrawText(nTextQuadSink* sink, const std::vector<uint32_t>& text, nTextRect& rect, int format,
                        uint32_t argb)
{
    if (!this->face)
    {
        return 0;
    }
    std::vector<nTextLayout::Placed> placed;
    const int height = nTextLayout::Layout(text, rect, format, this->GetLineHeight(),
                                           [this](uint32_t c) { return this->GetAdvance(c); }, placed);
    if ((format & nTextLayout::CalcRect) || !sink || placed.empty())
    {
        return height;
    }
    if (!this->RenderGlyphs(placed, sink) || !this->UploadAtlas())
    {
        return height;
    }
    sink->SetTexture(this->refAtlas.get());
    const bool clip = 0 == (format & nTextLayout::NoClip);
    const int ascent = this->face->GetAscent();
    for (const nTextLayout::Placed& p : placed)
    {
        const Glyph& g = this->GetGlyph(p.codePoint);
        if (g.width <= 0 || g.height <= 0)
        {
            continue;
        }
        float pos[4] = {float(p.x + g.left), float(p.lineTop + ascent - g.top), 0.0f, 0.0f};
        pos[2] = pos[0] + float(g.width);
        pos[3] = pos[1] + float(g.height);
        float tex[4] = {float(g.atlasX), float(g.atlasY), float(g.atlasX + g.width), float(g.atlasY + g.height)};
        if (clip)
        {
            const float cut[4] = {std::max(0.0f, float(rect.left) - pos[0]), std::max(0.0f, float(rect.top) - pos[1]),
                                  std::max(0.0f, pos[2] - float(rect.right)), std::max(0.0f, pos[3] - float(rect.bottom))};
            pos[0] += cut[0];
            tex[0] += cut[0];
            pos[1] += cut[1];
            tex[1] += cut[1];
            pos[2] -= cut[2];
            tex[2] -= cut[2];
            pos[3] -= cut[3];
            tex[3] -= cut[3];
            if (pos[2] <= pos[0] || pos[3] <= pos[1])
            {
                continue;
            }
        }
        sink->AddQuad(pos, tex, argb);
    }
    return height;
}

//--- the atlas ----------------------------------------------------------------------------

/*
 * RenderGlyphs --
 *     Results: false when the glyphs cannot all be placed even in an
 *     atlas started over (nothing is drawn then).
 *     Side effects: bitmaps of glyphs not yet rendered go into the atlas;
 *     when it is full it grows, and at its limit it starts over, after
 *     the sink drew what it holds (those quads point at the old places).
 */
bool nD3D9Font::RenderGlyphs(const std::vector<nTextLayout::Placed>& placed, nTextQuadSink* sink)
{
    if (this->PlaceGlyphs(placed))
    {
        return true;
    }
    sink->Flush();
    this->ResetAtlas();
    this->atlasRestarts++;
    return this->PlaceGlyphs(placed);
}

/*
 * PlaceGlyphs --
 *     Results: false when the atlas, grown to its limit, is full.
 *     Side effects: the bitmaps of the characters' glyphs not yet
 *     rendered are copied into the atlas; a glyph wider or higher than any
 *     atlas keeps its advance and draws nothing.
 */
bool nD3D9Font::PlaceGlyphs(const std::vector<nTextLayout::Placed>& placed)
{
    for (const nTextLayout::Placed& p : placed)
    {
        Glyph& g = this->GetGlyph(p.codePoint);
        if (g.rendered)
        {
            continue;
        }
        nPlatformGlyph pg;
        this->face->GetGlyph(p.codePoint, true, pg);
        const int limit = this->AtlasLimit();
        const bool fits = pg.width <= limit - 2 * GlyphPadding && pg.height <= limit - 2 * GlyphPadding;
        int x = 0, y = 0;
        if (fits && pg.width > 0 && pg.height > 0)
        {
            while (!this->Allocate(pg.width, pg.height, x, y))
            {
                if (!this->GrowAtlas())
                {
                    return false;
                }
            }
            for (int row = 0; row < pg.height; row++)
            {
                memcpy(&this->atlas[size_t(y + row) * size_t(this->atlasSize) + size_t(x)],
                       &pg.coverage[size_t(row) * size_t(pg.width)], size_t(pg.width));
            }
            g.left = pg.left;
            g.top = pg.top;
            g.width = pg.width;
            g.height = pg.height;
            g.atlasX = x;
            g.atlasY = y;
            this->atlasDirty = true;
        }
        g.rendered = true;
    }
    return true;
}

/*
 * Allocate --
 *     Results: false when the bitmap (with padding) fits nowhere.
 *     Side effects: the shelf packer moves on.
 */
bool nD3D9Font::Allocate(int w, int h, int& x, int& y)
{
    if (0 == this->atlasSize)
    {
        this->ResetAtlas();
    }
    const int pw = w + 2 * GlyphPadding;
    const int ph = h + 2 * GlyphPadding;
    if (this->shelfX + pw > this->atlasSize)
    {
        this->shelfY += this->shelfHeight;
        this->shelfX = 0;
        this->shelfHeight = 0;
    }
    if (pw > this->atlasSize || this->shelfY + ph > this->atlasSize)
    {
        return false;
    }
    x = this->shelfX + GlyphPadding;
    y = this->shelfY + GlyphPadding;
    this->shelfX += pw;
    this->shelfHeight = std::max(this->shelfHeight, ph);
    return true;
}

/*
 * AtlasLimit --
 *     Results: the largest atlas side: 2048, or less when the device
 *     makes no larger textures.
 */
int nD3D9Font::AtlasLimit()
{
    nD3D9Server* server = this->Server();
    const int devMax = (server && server->IsDeviceOpen()) ? server->GetDevice()->GetMaxTextureSize() : MaxAtlasSize;
    return std::clamp(devMax, 16, MaxAtlasSize);
}

bool nD3D9Font::GrowAtlas()
{
    if (this->atlasSize * 2 > this->AtlasLimit())
    {
        return false;
    }
    const int newSize = this->atlasSize * 2;
    std::vector<unsigned char> grown(size_t(newSize) * size_t(newSize), 0);
    for (int row = 0; row < this->atlasSize; row++)
    {
        memcpy(&grown[size_t(row) * size_t(newSize)], &this->atlas[size_t(row) * size_t(this->atlasSize)],
               size_t(this->atlasSize));
    }
    this->atlas.swap(grown);
    this->atlasSize = newSize;
    this->atlasDirty = true;
    return true;
}

void nD3D9Font::ResetAtlas()
{
    for (auto& [cp, g] : this->glyphs)
    {
        g.rendered = false;
        g.width = g.height = 0;
    }
    this->atlasSize = std::min(FirstAtlasSize, this->AtlasLimit());
    this->atlas.assign(size_t(this->atlasSize) * size_t(this->atlasSize), 0);
    this->shelfX = this->shelfY = this->shelfHeight = 0;
    this->atlasDirty = true;
}

/*
 * UploadAtlas --
 *     Results: false when no atlas texture can be made (no server, no
 *     device); the glyphs then draw nothing.
 *     Side effects: a changed image goes to the texture (white with the
 *     coverage as alpha), made or resized first when needed.
 */
bool nD3D9Font::UploadAtlas()
{
    // an empty texture stays Empty once filled; only Unloaded or Lost
    // means it has to be made again
    const auto holdsImage = [](const nTexture2* t) { return t->IsValid() || nResource::Empty == t->GetState(); };
    if (!this->atlasDirty && this->refAtlas.isvalid() && holdsImage(this->refAtlas.get()))
    {
        return true;
    }
    nD3D9Server* server = this->Server();
    if (!server || !server->IsDeviceOpen() || 0 == this->atlasSize)
    {
        return false;
    }
    if (!this->refAtlas.isvalid())
    {
        this->refAtlas.adopt(server->NewTexture(nullptr));
    }
    nTexture2* tex = this->refAtlas.get();
    if (tex->IsLoaded() && tex->GetWidth() != this->atlasSize)
    {
        tex->Unload();
    }
    if (!holdsImage(tex))
    {
        if (tex->IsLoaded())
        {
            tex->Unload();
        }
        tex->SetType(nTexture2::TEXTURE_2D);
        tex->SetFormat(nTexture2::A8R8G8B8);
        tex->SetUsage(nTexture2::CreateEmpty);
        tex->SetWidth(this->atlasSize);
        tex->SetHeight(this->atlasSize);
        tex->SetDepth(1);
        tex->SetNumMipLevels(1);
        if (!tex->Load())
        {
            n_printf("nD3D9Font: could not make the glyph atlas texture\n");
            return false;
        }
    }
    nTexture2::LockInfo info;
    if (!tex->Lock(nTexture2::WriteOnly, 0, info))
    {
        return false;
    }
    for (int y = 0; y < this->atlasSize; y++)
    {
        uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<unsigned char*>(info.surfPointer) +
                                                    size_t(y) * size_t(info.surfPitch));
        const unsigned char* src = &this->atlas[size_t(y) * size_t(this->atlasSize)];
        for (int x = 0; x < this->atlasSize; x++)
        {
            row[x] = (uint32_t(src[x]) << 24) | 0x00FFFFFFu;
        }
    }
    tex->Unlock(0);
    this->atlasDirty = false;
    return true;
}

void nD3D9Font::ReleaseAtlasTexture()
{
    this->refAtlas.reset();
    this->atlasDirty = true;
}
