#ifndef N_APPCAMERA_H
#define N_APPCAMERA_H
//------------------------------------------------------------------------------
/**
    @class nAppCamera
    @ingroup Application

    The application camera: its matrix is the viewer's world matrix of
    every frame. A plain class owned by the application; a program
    derives its own to move it.
*/
#include "mathlib/transform44.h"

class nAppCamera
{
public:
    nAppCamera();
    virtual ~nAppCamera();

    /// back to the origin, no rotation, unit scale
    virtual void Reset();
    /// once per frame; the base camera stands still
    virtual void Trigger();
    /// the camera's world matrix
    const matrix44& GetTransform();

protected:
    transform44 transform;
};
#endif
