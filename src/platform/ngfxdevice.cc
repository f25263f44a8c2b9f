//------------------------------------------------------------------------------
//  ngfxdevice.cc
//------------------------------------------------------------------------------
#include "platform/ngfxdevice.h"

const char* nGfxFormatName(nGfxFormat f)
{
    switch (f)
    {
        case nGfxFormat::R8G8B8: return "R8G8B8";
        case nGfxFormat::A8R8G8B8: return "A8R8G8B8";
        case nGfxFormat::X8R8G8B8: return "X8R8G8B8";
        case nGfxFormat::R5G6B5: return "R5G6B5";
        case nGfxFormat::D24S8: return "D24S8";
        case nGfxFormat::D24X4S4: return "D24X4S4";
        case nGfxFormat::D24X8: return "D24X8";
        case nGfxFormat::D16: return "D16";
        case nGfxFormat::A16B16G16R16F: return "A16B16G16R16F";
        default: return "Unknown";
    }
}

int nGfxFormatBits(nGfxFormat f)
{
    switch (f)
    {
        case nGfxFormat::R8G8B8: return 24;
        case nGfxFormat::A8R8G8B8:
        case nGfxFormat::X8R8G8B8: return 32;
        case nGfxFormat::R5G6B5: return 16;
        case nGfxFormat::A16B16G16R16F: return 64;
        default: return 0;
    }
}
