#ifndef N_GAMECAMERA_H
#define N_GAMECAMERA_H
//------------------------------------------------------------------------------
/**
    @class nGameCamera
    @ingroup Game

    The game's application camera: the application's camera with its
    placement open to the game, which puts it in front of the ring and
    lets the match move it.
*/
#include "application/nappcamera.h"

class nGameCamera : public nAppCamera
{
public:
    void SetPosition(const vector3& p) { this->transform.settranslation(p); }
    const vector3& GetPosition() const { return this->transform.gettranslation(); }
    /// Euler angles in radians
    void SetEuler(const vector3& e) { this->transform.seteuler(e); }
    const vector3& GetEuler() const { return this->transform.geteuler(); }
};
#endif
