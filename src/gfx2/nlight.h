#ifndef N_LIGHT_H
#define N_LIGHT_H
//------------------------------------------------------------------------------
/**
    @class nLight
    @ingroup Gfx2

    One light of the current frame, copied by value into the graphics
    server's light list by the light nodes.
*/
#include "mathlib/matrix44.h"
#include "mathlib/vector4.h"

class nLight
{
public:
    nLight() = default;

    matrix44 transform;
    int type = 0;
    vector4 diffuse = vector4(1.0f, 1.0f, 1.0f, 1.0f);
    vector4 specular = vector4(1.0f, 1.0f, 1.0f, 1.0f);
    vector4 ambient = vector4(0.0f, 0.0f, 0.0f, 0.0f);
    vector4 secondaryDiffuse = vector4(0.0f, 0.0f, 0.0f, 0.0f);
    vector4 secondarySpecular = vector4(0.0f, 0.0f, 0.0f, 0.0f);
};
#endif
