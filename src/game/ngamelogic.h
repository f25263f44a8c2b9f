#ifndef N_GAMELOGIC_H
#define N_GAMELOGIC_H
//------------------------------------------------------------------------------
/**
    @class nGameLogic
    @ingroup Game

    The match's logic: what the match state delegates the ring, the two
    boxers and the camera to. The match calls Start at every set-up, Stop
    at every clean-up and Trigger every frame after the timers. The hooks
    do nothing here; the level's logic object fills them.
*/
#include "kernel/nroot.h"

class nGameLogic : public nRoot
{
public:
    /// a match begins: place what it needs
    virtual void Start();
    /// the match ends
    virtual void Stop();
    /// one frame of the match's scaled time
    virtual void Trigger(float* dt);

protected:
    ~nGameLogic() override = default;
};
#endif
