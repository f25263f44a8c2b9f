#ifndef N_MATRIX_H
#define N_MATRIX_H
//------------------------------------------------------------------------------
/**
    @file matrix.h
    @ingroup Math

    Both matrix types at once.
*/
#include "mathlib/matrix33.h"
#include "mathlib/matrix44.h"

//------------------------------------------------------------------------------
#endif
