//------------------------------------------------------------------------------
//  ncutsceneappstate.cc
//------------------------------------------------------------------------------
#include "application/ncutsceneappstate.h"
#include "application/napplication.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "video/nvideoserver.h"

namespace
{

/// the video server, or null when there is none
nVideoServer* VideoServer()
{
    return dynamic_cast<nVideoServer*>(nKernelServer::Instance()->Lookup("/sys/servers/video"));
}

/// whether the input server holds the input state (false without an input server)
bool ButtonHeld(const char* name)
{
    nRoot* obj = nKernelServer::Instance()->Lookup("/sys/servers/input");
    return obj && obj->IsA("ninputserver") && static_cast<nInputServer*>(obj)->GetButton(name);
}

}  // namespace

nCutSceneAppState::nCutSceneAppState() :
    enableScaling(false)
{
}

nCutSceneAppState::~nCutSceneAppState() = default;

/*
 * OnStateEnter --
 *     Side effects: a video that plays is stopped; the video server's
 *     scaling takes this state's and the video is played. A video that
 *     cannot be played leaves the server not playing, and the first
 *     frame moves on.
 */
void nCutSceneAppState::OnStateEnter(const nString& /*prevState*/)
{
    n_assert(!this->videoFilename.IsEmpty());
    nVideoServer* video = VideoServer();
    if (!video)
    {
        return;
    }
    if (video->IsPlaying())
    {
        video->Stop();
    }
    video->SetEnableScaling(this->enableScaling);
    video->PlayFile(this->videoFilename.Get());
}

void nCutSceneAppState::OnStateLeave(const nString& /*nextState*/)
{
    nVideoServer* video = VideoServer();
    if (video && video->IsPlaying())
    {
        video->Stop();
    }
}

/*
 * OnFrame --
 *     Side effects: unless the video still plays with neither "esc" nor
 *     "space" held, the application's next state becomes nextState (the
 *     switch happens at the top of the next pass, so this may ask again).
 */
void nCutSceneAppState::OnFrame()
{
    n_assert(!this->nextState.IsEmpty());
    nVideoServer* video = VideoServer();
    if (video && video->IsPlaying() && !ButtonHeld("esc") && !ButtonHeld("space"))
    {
        return;
    }
    this->app->SetState(this->nextState);
}
