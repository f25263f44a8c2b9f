#ifndef N_D3D9FONT_H
#define N_D3D9FONT_H
//------------------------------------------------------------------------------
/**
    @class nD3D9Font
    @ingroup Gfx2

    A font of the Direct3D 9 server: a FreeType face found by its type
    face through fontconfig (or in a font file the font installs from the
    file server's bytes), with the glyphs it has drawn kept in an atlas
    texture. Text is measured and laid out by nTextLayout; drawing hands
    one textured quad per glyph to a quad sink, the server's text batch.

    The face and the glyph metrics need no device, so a font loads and
    measures before the display opens; the atlas texture is made at the
    first draw and filled again after the device comes back.
*/
#include "gfx2/nfont2.h"
#include "gfx2/ntextlayout.h"
#include "kernel/nautoref.h"
#include "kernel/nstrongref.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class nD3D9Server;
class nGfxServer2;
class nPlatformFontFace;
class nTexture2;

/// where a font puts its glyph quads
class nTextQuadSink
{
public:
    virtual ~nTextQuadSink() = default;
    /// the texture of the quads that follow (a change draws what is pending)
    virtual void SetTexture(nTexture2* texture) = 0;
    /// one quad: pixel corners (x0, y0, x1, y1), texel corners, ARGB colour
    virtual void AddQuad(const float pos[4], const float texels[4], uint32_t argb) = 0;
    /// draw what is pending
    virtual void Flush() = 0;
};

class nD3D9Font : public nFont2
{
public:
    nD3D9Font();

    /// measure (CalcRect) or draw a decoded text into a pixel rectangle
    /// with nTextLayout format bits; the height of the text. Drawing needs
    /// a sink and a loaded font; text outside rect is cut off unless NoClip.
    int DrawText(nTextQuadSink* sink, const std::vector<uint32_t>& text, nTextRect& rect, int format, uint32_t argb);
    /// the pen advance of a code point in pixels
    int GetAdvance(uint32_t codePoint);
    /// the line height in pixels (the font's pixel height)
    int GetLineHeight() const;
    /// the face (the device font of the Direct3D design), null while unloaded
    nPlatformFontFace* GetFace() const { return this->face.get(); }
    /// the atlas texture, null until the first draw
    nTexture2* GetAtlasTexture() const { return this->refAtlas.get_unsafe(); }
    /// the side of the atlas image in pixels (0 until a glyph was drawn)
    int GetAtlasSize() const { return this->atlasSize; }
    /// how often the atlas was full at its limit and started over
    int GetAtlasRestarts() const { return this->atlasRestarts; }
    /// the pixel height a description gives on the graphics server
    static int PixelHeight(int descHeight, float fontScale, int fontMinHeight);
    /// the Windows weight of a description's weight value (0 for unknown ones)
    static int WindowsWeight(int weight);

    void OnLost() override;
    void OnRestored() override;

protected:
    ~nD3D9Font() override;
    bool LoadResource() override;
    void UnloadResource() override;

private:
    /// one glyph's metrics and place in the atlas
    struct Glyph
    {
        int advance = 0;
        bool rendered = false;
        /// the bitmap's offset from the pen on the baseline (y up) and size
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        /// top-left texel of the bitmap in the atlas
        int atlasX = 0;
        int atlasY = 0;
    };

    nD3D9Server* Server();
    Glyph& GetGlyph(uint32_t codePoint);
    /// render the glyphs of placed characters into the atlas; false when
    /// the atlas had to start over (earlier glyphs moved)
    bool RenderGlyphs(const std::vector<nTextLayout::Placed>& placed, nTextQuadSink* sink);
    /// render the glyphs not yet in the atlas; false when it is full at its limit
    bool PlaceGlyphs(const std::vector<nTextLayout::Placed>& placed);
    /// a free place for a bitmap; false when the atlas is full
    bool Allocate(int w, int h, int& x, int& y);
    /// the largest atlas side the device allows
    int AtlasLimit();
    /// grow the atlas image (keeping its glyphs where they are); false at the limit
    bool GrowAtlas();
    /// forget every rendered glyph and empty the atlas
    void ResetAtlas();
    /// make or refill the atlas texture when the image changed; false when none can be made
    bool UploadAtlas();
    void ReleaseAtlasTexture();
    /// install the font file of the description; false (reported) when that fails
    bool InstallFontFile();
    void RemoveFontFile();

    nAutoRef<nGfxServer2> refGfxServer;
    std::unique_ptr<nPlatformFontFace> face;
    /// the registry key of the installed font file, empty when none
    std::string installedKey;
    std::unordered_map<uint32_t, Glyph> glyphs;
    /// the atlas image: one coverage byte per texel, atlasSize x atlasSize
    std::vector<unsigned char> atlas;
    int atlasSize = 0;
    /// the shelf packer: the current row's top, height and next free x
    int shelfY = 0;
    int shelfHeight = 0;
    int shelfX = 0;
    bool atlasDirty = false;
    int atlasRestarts = 0;
    nStrongRef<nTexture2> refAtlas;
};
#endif
