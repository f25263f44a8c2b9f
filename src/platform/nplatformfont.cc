//------------------------------------------------------------------------------
//  nplatformfont.cc
//------------------------------------------------------------------------------
#include "platform/nplatformfont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{

/// Windows weights from this far above the face's own make it bold
const int EmboldenGap = 200;
/// no glyph bitmap is wider or higher than this (four times the largest face)
const unsigned int MaxBitmapSide = 4 * nPlatformFontFace::MaxPixelHeight;

/// a FreeType library, freed with its faces
struct FtLibrary
{
    FT_Library lib = nullptr;
    FtLibrary()
    {
        if (FT_Init_FreeType(&this->lib))
        {
            this->lib = nullptr;
        }
    }
    ~FtLibrary()
    {
        if (this->lib)
        {
            FT_Done_FreeType(this->lib);
        }
    }
    FtLibrary(const FtLibrary&) = delete;
    FtLibrary& operator=(const FtLibrary&) = delete;
};

/// the face's weight on the Windows scale, from its OS/2 table or style bits
int FaceWeight(FT_Face face)
{
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWeightClass >= 1 && os2->usWeightClass <= 1000)
    {
        return os2->usWeightClass;
    }
    return (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
}

/// how far a face's style is from the request (0 is exact)
int StyleDistance(const nPlatformFontFile::FaceInfo& f, int weight, bool italic)
{
    return std::abs(f.weight - weight) + ((f.italic != italic) ? 1000 : 0);
}

/// the weight a request means (0, "don't care", is regular)
int RequestedWeight(const nPlatformFaceRequest& req)
{
    return (req.weight <= 0) ? 400 : std::clamp(req.weight, 1, 1000);
}

/// the file and face index fontconfig picks for a request; false when none
bool MatchWithFontconfig(FcConfig* config, const nPlatformFaceRequest& req, std::string& file, int& index,
                         std::string& error)
{
    FcPattern* pat = FcPatternCreate();
    if (!pat)
    {
        error = "out of memory";
        return false;
    }
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(req.family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, FcWeightFromOpenType(RequestedWeight(req)));
    FcPatternAddInteger(pat, FC_SLANT, req.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pat, &result);
    FcPatternDestroy(pat);
    bool ok = false;
    if (match)
    {
        FcChar8* path = nullptr;
        if (FcResultMatch == FcPatternGetString(match, FC_FILE, 0, &path) && path)
        {
            file = reinterpret_cast<const char*>(path);
            index = 0;
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            ok = true;
        }
        FcPatternDestroy(match);
    }
    if (!ok)
    {
        error = "fontconfig knows no face for '" + req.family + "'";
    }
    return ok;
}

}  // namespace

//--- registry -----------------------------------------------------------------------

// A configuration of our own rather than fontconfig's process-wide one,
// which is never freed.
struct nPlatformFontRegistry::Fontconfig
{
    FcConfig* config = nullptr;
    ~Fontconfig()
    {
        if (this->config)
        {
            FcConfigDestroy(this->config);
        }
    }
};

nPlatformFontRegistry::nPlatformFontRegistry() = default;

nPlatformFontRegistry::~nPlatformFontRegistry() = default;

/*
 * MatchSystemFace --
 *     Results: false (reason in 'error') when fontconfig cannot be loaded
 *     or finds nothing; the file and face index otherwise.
 *     Side effects: the configuration is loaded at the first call.
 */
bool nPlatformFontRegistry::MatchSystemFace(const nPlatformFaceRequest& req, std::string& file, int& index,
                                            std::string& error)
{
    if (!this->fontconfig)
    {
        auto fc = std::make_unique<Fontconfig>();
        fc->config = FcInitLoadConfigAndFonts();
        if (!fc->config)
        {
            error = "fontconfig could not be loaded";
            return false;
        }
        this->fontconfig = std::move(fc);
    }
    return MatchWithFontconfig(this->fontconfig->config, req, file, index, error);
}

/*
 * Add --
 *     Results: the number of faces in the file; 0 (reason in 'error')
 *     when FreeType reads none.
 *     Side effects: the bytes and the faces' families and styles are
 *     kept under the key; an installed key only counts up.
 */
int nPlatformFontRegistry::Add(const std::string& key, std::vector<unsigned char> bytes, std::string& error)
{
    auto it = this->files.find(key);
    if (it != this->files.end())
    {
        it->second.installCount++;
        return int(it->second.faces.size());
    }
    FtLibrary ft;
    if (!ft.lib)
    {
        error = "FreeType could not be initialised";
        return 0;
    }
    auto shared = std::make_shared<const std::vector<unsigned char>>(std::move(bytes));
    nPlatformFontFile file;
    file.bytes = shared;
    long numFaces = 1;
    for (long i = 0; i < numFaces && i < 64; i++)
    {
        FT_Face face = nullptr;
        if (FT_New_Memory_Face(ft.lib, shared->data(), FT_Long(shared->size()), i, &face))
        {
            break;
        }
        numFaces = face->num_faces;
        nPlatformFontFile::FaceInfo info;
        info.index = int(i);
        info.family = face->family_name ? face->family_name : "";
        info.weight = FaceWeight(face);
        info.italic = 0 != (face->style_flags & FT_STYLE_FLAG_ITALIC);
        FT_Done_Face(face);
        if (!info.family.empty())
        {
            file.faces.push_back(info);
        }
    }
    if (file.faces.empty())
    {
        error = "not a font file FreeType can read";
        return 0;
    }
    file.installCount = 1;
    const int n = int(file.faces.size());
    this->files.emplace(key, std::move(file));
    return n;
}

/*
 * Remove --
 *     Results: false when the key is not installed.
 *     Side effects: one installation less; the last one drops the file
 *     (faces opened from it keep its bytes alive).
 */
bool nPlatformFontRegistry::Remove(const std::string& key)
{
    auto it = this->files.find(key);
    if (it == this->files.end())
    {
        return false;
    }
    if (--it->second.installCount <= 0)
    {
        this->files.erase(it);
    }
    return true;
}

int nPlatformFontRegistry::GetInstallCount(const std::string& key) const
{
    auto it = this->files.find(key);
    return (it == this->files.end()) ? 0 : it->second.installCount;
}

//--- faces --------------------------------------------------------------------------

struct nPlatformFontFace::Impl
{
    FtLibrary ft;
    FT_Face face = nullptr;
    /// the installed file's bytes the face reads from (null for system files)
    std::shared_ptr<const std::vector<unsigned char>> bytes;
    bool embolden = false;
    bool oblique = false;
    bool antiAliased = true;

    ~Impl()
    {
        if (this->face)
        {
            FT_Done_Face(this->face);
        }
    }
};

nPlatformFontFace::nPlatformFontFace(std::unique_ptr<Impl> i) :
    impl(std::move(i))
{
}

nPlatformFontFace::~nPlatformFontFace() = default;

/*
 * Open --
 *     Results: the face, or null with the reason in 'error'.
 *     Side effects: none beyond the face's own FreeType objects.
 */
std::unique_ptr<nPlatformFontFace> nPlatformFontFace::Open(const nPlatformFaceRequest& req,
                                                           nPlatformFontRegistry& registry, std::string& error)
{
    auto impl = std::make_unique<Impl>();
    if (!impl->ft.lib)
    {
        error = "FreeType could not be initialised";
        return nullptr;
    }
    const int weight = RequestedWeight(req);
    std::string source;

    // an installed file of the family wins, the closest style first
    const nPlatformFontFile* bestFile = nullptr;
    const nPlatformFontFile::FaceInfo* bestFace = nullptr;
    std::string bestKey;
    for (const auto& [key, file] : registry.GetFiles())
    {
        for (const auto& f : file.faces)
        {
            if (0 == strcasecmp(f.family.c_str(), req.family.c_str()) &&
                (!bestFace || StyleDistance(f, weight, req.italic) < StyleDistance(*bestFace, weight, req.italic)))
            {
                bestFile = &file;
                bestFace = &f;
                bestKey = key;
            }
        }
    }
    if (bestFace)
    {
        impl->bytes = bestFile->bytes;
        if (FT_New_Memory_Face(impl->ft.lib, impl->bytes->data(), FT_Long(impl->bytes->size()), bestFace->index,
                               &impl->face))
        {
            impl->face = nullptr;
            error = "FreeType could not open the installed font '" + bestKey + "'";
            return nullptr;
        }
        source = "memory:" + bestKey;
    }
    else
    {
        std::string file;
        int index = 0;
        if (!registry.MatchSystemFace(req, file, index, error))
        {
            return nullptr;
        }
        if (FT_New_Face(impl->ft.lib, file.c_str(), index, &impl->face))
        {
            impl->face = nullptr;
            error = "FreeType could not open '" + file + "'";
            return nullptr;
        }
        source = file;
    }

    FT_Face face = impl->face;
    const int height = std::clamp(req.pixelHeight, 1, int(MaxPixelHeight));
    FT_Error err = 1;
    bool fixedSize = false;
    if (FT_IS_SCALABLE(face))
    {
        FT_Size_RequestRec sr = {};
        sr.type = FT_SIZE_REQUEST_TYPE_CELL;
        sr.height = FT_Long(height) * 64;
        err = FT_Request_Size(face, &sr);
    }
    if (err && face->num_fixed_sizes > 0)
    {
        err = FT_Select_Size(face, 0);
        fixedSize = true;
    }
    if (err)
    {
        error = "the face '" + std::string(face->family_name ? face->family_name : "?") + "' has no size " +
                std::to_string(height);
        return nullptr;
    }
    impl->embolden = weight >= FaceWeight(face) + EmboldenGap;
    impl->oblique = req.italic && 0 == (face->style_flags & FT_STYLE_FLAG_ITALIC);
    impl->antiAliased = req.antiAliased;

    std::unique_ptr<nPlatformFontFace> result(new nPlatformFontFace(std::move(impl)));
    // a bitmap face has the height of its strike, a scalable one the height asked for
    const double asc = double(face->size->metrics.ascender);
    const double desc = -double(face->size->metrics.descender);
    const int cell = fixedSize ? int(std::lround((asc + desc) / 64.0)) : height;
    result->lineHeight = std::clamp(cell, 1, int(MaxPixelHeight));
    result->ascent = (asc + desc > 0.0) ? int(std::lround(result->lineHeight * asc / (asc + desc))) : result->lineHeight;
    result->family = face->family_name ? face->family_name : "";
    result->source = source;
    return result;
}

bool nPlatformFontFace::HasGlyph(uint32_t codePoint) const
{
    return 0 != FT_Get_Char_Index(this->impl->face, codePoint);
}

/*
 * GetGlyph --
 *     Results: false when FreeType fails; the glyph's advance, and with
 *     'render' its bitmap, otherwise.
 *     Side effects: FreeType's glyph slot is reused.
 */
bool nPlatformFontFace::GetGlyph(uint32_t codePoint, bool render, nPlatformGlyph& glyph)
{
    glyph = nPlatformGlyph();
    FT_Face face = this->impl->face;
    const FT_Int32 loadFlags = FT_LOAD_DEFAULT | (this->impl->antiAliased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Char(face, codePoint, loadFlags))
    {
        return false;
    }
    FT_GlyphSlot slot = face->glyph;
    if (this->impl->embolden)
    {
        FT_GlyphSlot_Embolden(slot);
    }
    if (this->impl->oblique)
    {
        FT_GlyphSlot_Oblique(slot);
    }
    glyph.advance = int((slot->advance.x + 32) >> 6);
    if (!render)
    {
        return true;
    }
    if (FT_GLYPH_FORMAT_BITMAP != slot->format &&
        FT_Render_Glyph(slot, this->impl->antiAliased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO))
    {
        return false;
    }
    const FT_Bitmap& bm = slot->bitmap;
    const bool gray = FT_PIXEL_MODE_GRAY == bm.pixel_mode;
    const bool mono = FT_PIXEL_MODE_MONO == bm.pixel_mode;
    if ((!gray && !mono) || bm.pitch < 0 || !bm.buffer || bm.width > MaxBitmapSide || bm.rows > MaxBitmapSide)
    {
        // colour bitmaps, other modes, bottom-up rows and bitmaps a broken
        // font makes absent or absurdly large draw nothing but keep the advance
        return true;
    }
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bm.width);
    glyph.height = int(bm.rows);
    glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.height));
    const int levels = std::max(1, int(bm.num_grays) - 1);
    for (int y = 0; y < glyph.height; y++)
    {
        const unsigned char* row = bm.buffer + ptrdiff_t(y) * bm.pitch;
        unsigned char* out = glyph.coverage.data() + size_t(y) * size_t(glyph.width);
        for (int x = 0; x < glyph.width; x++)
        {
            if (mono)
            {
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            }
            else
            {
                out[x] = (unsigned char)(row[x] * 255 / levels);
            }
        }
    }
    return true;
}
