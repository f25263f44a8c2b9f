#ifndef N_GFX2PACKAGE_H
#define N_GFX2PACKAGE_H
//------------------------------------------------------------------------------
/**
    @file ngfx2package.h

    The graphics class package: registers "ngfxserver2" and the graphics
    resource classes "ntexture2", "nmesh2", "nmesharray", "nshader2",
    "nfont2" and "ninstancestream".
*/
void ngfx2_package();
#endif
