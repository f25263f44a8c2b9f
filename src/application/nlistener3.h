#ifndef N_LISTENER3_H
#define N_LISTENER3_H
//------------------------------------------------------------------------------
/**
    @class nListener3
    @ingroup Application

    The audio listener the application hands to the audio server every
    frame: a transform (translation = position, row 1 = up, row 2 = the
    axis opposite to the viewing direction) and a velocity.

    The application owns one, so it lives here until the audio area is
    built; it then moves there unchanged.
*/
#include "mathlib/matrix44.h"
#include "mathlib/vector3.h"

class nListener3
{
public:
    void SetTransform(const matrix44& m) { this->transform = m; }
    const matrix44& GetTransform() const { return this->transform; }
    void SetVelocity(const vector3& v) { this->velocity = v; }
    const vector3& GetVelocity() const { return this->velocity; }
    float GetRollOffFactor() const { return this->rollOffFactor; }
    float GetDopplerFactor() const { return this->dopplerFactor; }

private:
    matrix44 transform;
    vector3 velocity;
    /// two factors that no audio server reads
    float rollOffFactor = 1.0f;
    float dopplerFactor = 1.0f;
};
#endif
