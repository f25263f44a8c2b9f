#ifndef N_PLATFORMFONT_H
#define N_PLATFORMFONT_H
//------------------------------------------------------------------------------
/**
    Typefaces on FreeType and fontconfig, in place of the font calls of
    the Windows graphics interface.

    nPlatformFontRegistry holds the font files a program installs for
    itself (their bytes, so that files read out of archives work), counted
    per key as the system counted installations: a file installed twice
    must be removed twice. nPlatformFontFace is one typeface at one pixel
    height: installed files are searched for the family name first, then
    fontconfig resolves the name, substituting a face the machine has for
    one it lacks. A face too light or upright for the request is made bold
    or slanted by FreeType.

    Nothing here knows the engine.
*/
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

/// what a face is asked for
struct nPlatformFaceRequest
{
    std::string family = "Arial";
    /// cell height in pixels (ascent plus descent), 1..MaxPixelHeight
    int pixelHeight = 16;
    /// the Windows weight scale: 400 regular, 700 bold; 0 means regular
    int weight = 400;
    bool italic = false;
    bool antiAliased = true;
};

/// one glyph at the face's size
struct nPlatformGlyph
{
    /// pen advance in whole pixels
    int advance = 0;
    /// the bitmap's offset from the pen position on the baseline (y up)
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    /// coverage 0..255, width * height bytes, row 0 on top (empty when not rendered)
    std::vector<unsigned char> coverage;
};

/// one installed font file: its bytes and the faces inside
struct nPlatformFontFile
{
    std::shared_ptr<const std::vector<unsigned char>> bytes;
    struct FaceInfo
    {
        int index = 0;
        std::string family;
        int weight = 400;
        bool italic = false;
    };
    std::vector<FaceInfo> faces;
    /// how many times the file was installed and not yet removed
    int installCount = 0;
};

class nPlatformFontRegistry
{
public:
    nPlatformFontRegistry();
    ~nPlatformFontRegistry();
    nPlatformFontRegistry(const nPlatformFontRegistry&) = delete;
    nPlatformFontRegistry& operator=(const nPlatformFontRegistry&) = delete;

    /// install a font file under a key (its path); the number of faces it
    /// holds, 0 with the reason in 'error' when FreeType reads none (then
    /// nothing is installed). A key already installed is counted once more.
    int Add(const std::string& key, std::vector<unsigned char> bytes, std::string& error);
    /// remove one installation; false when the key is not installed
    bool Remove(const std::string& key);
    /// how many installations of the key are in place
    int GetInstallCount(const std::string& key) const;
    const std::map<std::string, nPlatformFontFile>& GetFiles() const { return this->files; }
    /// the file and face index fontconfig resolves a request to; false
    /// with the reason in 'error' when it finds none
    bool MatchSystemFace(const nPlatformFaceRequest& req, std::string& file, int& index, std::string& error);

private:
    /// fontconfig's configuration, loaded at the first match and freed with the registry
    struct Fontconfig;
    std::unique_ptr<Fontconfig> fontconfig;
    std::map<std::string, nPlatformFontFile> files;
};

class nPlatformFontFace
{
public:
    enum
    {
        MaxPixelHeight = 1024,
    };

    /// the face for a request: from a file installed in the registry for
    /// that family, else through the registry's fontconfig; null with the
    /// reason in 'error' when no face can be opened
    static std::unique_ptr<nPlatformFontFace> Open(const nPlatformFaceRequest& req, nPlatformFontRegistry& registry,
                                                   std::string& error);
    ~nPlatformFontFace();
    nPlatformFontFace(const nPlatformFontFace&) = delete;
    nPlatformFontFace& operator=(const nPlatformFontFace&) = delete;

    /// the glyph of a code point (the face's missing-glyph shape when it
    /// has none); the bitmap only when 'render' is set; false when
    /// FreeType fails (the glyph is then empty)
    bool GetGlyph(uint32_t codePoint, bool render, nPlatformGlyph& glyph);
    /// whether the face has a glyph of its own for the code point
    bool HasGlyph(uint32_t codePoint) const;
    /// line height in pixels: the requested cell height
    int GetLineHeight() const { return this->lineHeight; }
    /// pixels from the top of a line to the baseline
    int GetAscent() const { return this->ascent; }
    /// the family FreeType reports for the opened face
    const std::string& GetFamily() const { return this->family; }
    /// the file path, or "memory:" and the registry key of an installed file
    const std::string& GetSource() const { return this->source; }

private:
    struct Impl;
    explicit nPlatformFontFace(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl;
    int lineHeight = 0;
    int ascent = 0;
    std::string family;
    std::string source;
};
#endif
