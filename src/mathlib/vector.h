#ifndef N_VECTOR_H
#define N_VECTOR_H
//------------------------------------------------------------------------------
/**
    @file vector.h
    @ingroup Math

    All vector types at once.
*/
#include "mathlib/vector2.h"
#include "mathlib/vector3.h"
#include "mathlib/vector4.h"

//------------------------------------------------------------------------------
#endif
