#ifndef N_GAMEPLAY2_H
#define N_GAMEPLAY2_H
//------------------------------------------------------------------------------
/**
    @class nGameplay2
    @ingroup Game

    The game's match logic (the level object "l01"): each match it places
    the ring, the player and the opponent the player's progression names,
    and every frame it moves the application camera in one of three
    views: the overview, a closer view and the player's eyes.
*/
#include "game/ngamelogic.h"
#include "kernel/nref.h"
#include "mathlib/vector.h"
#include "util/nstring.h"

class nAI;
class nPlayer;

class nGameplay2 : public nGameLogic
{
public:
    nGameplay2();
    void Start() override;
    void Stop() override;
    void Trigger(float* dt) override;

    int GetCameraMode() const { return this->cameraMode; }
    nPlayer* GetPlayer() const;
    nAI* GetAI() const;
    /// the prototype path of the opponent for the next-enemy index: the highest existing one past the last
    static nString OpponentProto(int nextEnemy);

protected:
    ~nGameplay2() override;

    /// the camera's Euler angles for the views from above, swaying unless the match ends
    void PlaceCameraAbove(const vector3& position, bool sway);

    nRef<nRoot> refAI;
    nRef<nRoot> refPlayer;
    int cameraMode;
};
#endif
