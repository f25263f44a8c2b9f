#ifndef N_INPUTPACKAGE_H
#define N_INPUTPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file ninputpackage.h

    The class package of the input area (the input server).
*/
void ninput_package();
#endif
