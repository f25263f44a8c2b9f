//------------------------------------------------------------------------------
//  ntexture2.cc
//------------------------------------------------------------------------------
#include "gfx2/ntexture2.h"

#include <cstring>

nTexture2::~nTexture2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

namespace
{

const char* const FormatNames[] = {"NOFORMAT", "X8R8G8B8", "A8R8G8B8", "R5G6B5", "A1R5G5B5", "A4R4G4B4", "P8",
                                   "DXT1", "DXT2", "DXT3", "DXT4", "DXT5", "R16F", "G16R16F", "A16B16G16R16F",
                                   "R32F", "G32R32F", "A32B32G32R32F", "A8"};

}  // namespace

/*
 * StringToFormat --
 *     Results: the format whose name equals the text (case-sensitive) with
 *     ok true; NOFORMAT with ok false when no name does. Callers report an
 *     unknown name with the text "nTexture2::StringToFormat(): invalid
 *     string '%s'" and the context they read it in.
 *     Side effects: none.
 */
nTexture2::Format nTexture2::StringToFormat(const char* str, bool& ok)
{
    n_assert(str);
    for (int i = 0; i < int(sizeof(FormatNames) / sizeof(FormatNames[0])); i++)
    {
        if (0 == strcmp(str, FormatNames[i]))
        {
            ok = true;
            return Format(i);
        }
    }
    ok = false;
    return NOFORMAT;
}
