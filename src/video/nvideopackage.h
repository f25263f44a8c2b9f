#ifndef N_VIDEOPACKAGE_H
#define N_VIDEOPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nvideopackage.h

    The video class packages: nvideo_package registers "nvideoserver";
    ndshow_package registers "ndshowserver", the server that plays, and
    must come after it.
*/
void nvideo_package();
void ndshow_package();
#endif
