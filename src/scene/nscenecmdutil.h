#ifndef N_SCENECMDUTIL_H
#define N_SCENECMDUTIL_H
//------------------------------------------------------------------------------
//  The pass fourccs of the scene commands, as scripts write them, shared by
//  the command files of the scene nodes.
//------------------------------------------------------------------------------
#include "kernel/ntypes.h"
#include "util/nstring.h"

/// a pass fourcc from text of up to four characters, first character lowest
nFourCC nSceneStringToFourCC(const char* str);
/// the four characters of a pass fourcc (a zero byte ends the text early)
nString nSceneFourCCToString(nFourCC fourcc);
#endif
