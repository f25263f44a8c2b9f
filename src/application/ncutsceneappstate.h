#ifndef N_CUTSCENEAPPSTATE_H
#define N_CUTSCENEAPPSTATE_H
//------------------------------------------------------------------------------
/**
    @class nCutSceneAppState
    @ingroup Application

    A state that plays a video and then moves on: entering it starts the
    video, and once the video has ended (or could not be played at all),
    or "esc" or "space" is held, it selects its next state. A subclass
    names the video, the scaling and the next state in its constructor.
*/
#include "application/nappstate.h"

class nCutSceneAppState : public nAppState
{
public:
    nCutSceneAppState();

    /// start the video (stopping one that plays)
    void OnStateEnter(const nString& prevState) override;
    /// stop the video if it still plays
    void OnStateLeave(const nString& nextState) override;
    /// select the next state once the video is over or skipped
    void OnFrame() override;

protected:
    ~nCutSceneAppState() override;

    nString videoFilename;
    bool enableScaling;
    nString nextState;
};
#endif
