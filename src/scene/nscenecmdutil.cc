//------------------------------------------------------------------------------
//  nscenecmdutil.cc
//------------------------------------------------------------------------------
#include "scene/nscenecmdutil.h"

#include <cstring>

/*
 * nSceneStringToFourCC --
 *     Results: the first four characters packed first character lowest,
 *     missing ones as zero bytes. Side effects: none.
 */
nFourCC nSceneStringToFourCC(const char* str)
{
    nFourCC fourcc = 0;
    for (int i = 0; (i < 4) && str[i]; i++)
    {
        fourcc |= nFourCC((uchar)str[i]) << (8 * i);
    }
    return fourcc;
}

/*
 * nSceneFourCCToString --
 *     Results: the characters of the fourcc, lowest byte first, up to the
 *     first zero byte. Side effects: none.
 */
nString nSceneFourCCToString(nFourCC fourcc)
{
    char buf[5] = {0, 0, 0, 0, 0};
    for (int i = 0; i < 4; i++)
    {
        buf[i] = char((fourcc >> (8 * i)) & 0xff);
    }
    return nString(buf);
}
