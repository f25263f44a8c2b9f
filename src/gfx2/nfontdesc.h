#ifndef N_FONTDESC_H
#define N_FONTDESC_H
//------------------------------------------------------------------------------
/**
    @class nFontDesc
    @ingroup Gfx2

    What a font looks like: pixel height, weight, style, type face, and
    the font file when it is no system font.
*/
#include "util/nstring.h"

class nFontDesc
{
public:
    enum Weight
    {
        WeightThin = 0,
        WeightLight = 1,
        WeightNormal = 2,
        WeightBold = 3,
        WeightExtraBold = 4,
    };

    nFontDesc() = default;

    int height = 10;
    int weight = WeightNormal;
    bool italic = false;
    bool underline = false;
    bool antiAliased = true;
    nString typeFace = "Arial";
    nString fileName;
};
#endif
