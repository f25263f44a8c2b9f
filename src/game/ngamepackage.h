#ifndef N_GAMEPACKAGE_H
#define N_GAMEPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file ngamepackage.h

    The game's class package; added after every engine package.
*/
void ngame_package();
#endif
