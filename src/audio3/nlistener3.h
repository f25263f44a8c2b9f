#ifndef N_LISTENER3_H
#define N_LISTENER3_H
//------------------------------------------------------------------------------
/**
    @class nListener3
    @ingroup Audio3

    The listener the application fills from its camera every frame and
    hands to the audio server. The transform's translation is the
    listener's position, row 1 its up axis and row 2 the axis opposite
    to the viewing direction. The two factors are kept for callers; no
    audio server reads them.
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
    void SetRollOffFactor(float f) { this->rollOffFactor = f; }
    float GetRollOffFactor() const { return this->rollOffFactor; }
    void SetDopplerFactor(float f) { this->dopplerFactor = f; }
    float GetDopplerFactor() const { return this->dopplerFactor; }

private:
    matrix44 transform;
    vector3 velocity;
    float rollOffFactor = 1.0f;
    float dopplerFactor = 1.0f;
};
#endif
