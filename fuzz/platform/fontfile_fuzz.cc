//------------------------------------------------------------------------------
//  fontfile_fuzz.cc
//
//  Arbitrary bytes installed as a font file: when FreeType finds faces,
//  the first is opened by its family as a font would, a few glyphs are
//  measured and rendered, and the file is removed again.
//------------------------------------------------------------------------------
#include "platform/nplatformfont.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    nPlatformFontRegistry registry;
    std::string error;
    const int numFaces = registry.Add("fuzz", std::vector<unsigned char>(data, data + size), error);
    if (numFaces <= 0)
    {
        return 0;
    }
    const nPlatformFontFile& file = registry.GetFiles().at("fuzz");
    nPlatformFaceRequest req;
    req.family = file.faces.front().family;
    req.pixelHeight = 16;
    std::unique_ptr<nPlatformFontFace> face = nPlatformFontFace::Open(req, registry, error);
    if (face)
    {
        if (face->GetSource() != "memory:fuzz")
        {
            abort();
        }
        for (uint32_t cp : {uint32_t('A'), uint32_t(' '), uint32_t(0xE9), uint32_t(0x20AC)})
        {
            nPlatformGlyph g;
            if (face->GetGlyph(cp, true, g) && g.coverage.size() != size_t(g.width) * size_t(g.height))
            {
                abort();
            }
        }
    }
    if (!registry.Remove("fuzz") || 0 != registry.GetInstallCount("fuzz"))
    {
        abort();
    }
    return 0;
}
