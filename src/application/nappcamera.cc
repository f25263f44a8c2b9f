//------------------------------------------------------------------------------
//  nappcamera.cc
//------------------------------------------------------------------------------
#include "application/nappcamera.h"

nAppCamera::nAppCamera() = default;

nAppCamera::~nAppCamera() = default;

/*
 * Reset --
 *     Side effects: position and angles zero, scale one, matrix identity.
 */
void nAppCamera::Reset()
{
    this->transform.settranslation(vector3(0.0f, 0.0f, 0.0f));
    this->transform.seteuler(vector3(0.0f, 0.0f, 0.0f));
    this->transform.setscale(vector3(1.0f, 1.0f, 1.0f));
    this->transform.getmatrix();
}

void nAppCamera::Trigger()
{
    // empty
}

/*
 * GetTransform --
 *     Results: the transform's matrix, rebuilt first when it changed.
 */
const matrix44& nAppCamera::GetTransform()
{
    return this->transform.getmatrix();
}
