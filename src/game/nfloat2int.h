#ifndef N_FLOAT2INT_H
#define N_FLOAT2INT_H
//------------------------------------------------------------------------------
/**
    @file nfloat2int.h
    @ingroup Game

    The game's float-to-int rounding (the application's "float2int"
    command): the nearer of floor and ceiling, exactly halfway going to
    the ceiling (2.5 gives 3, -2.5 gives -2).
*/

/// x rounded as above; NaN gives 0, values beyond the int range give INT_MIN or INT_MAX
int n_float2int(float x);
#endif
