//------------------------------------------------------------------------------
//  nintro.cc
//------------------------------------------------------------------------------
#include "game/nintro.h"
#include "application/napplication.h"
#include "game/napp.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nkernelserver.h"
#include "video/nvideoserver.h"

const char* const nIntro::MenuState = "main_menu";

nIntro::nIntro()
{
    this->videoFilename = "video:intro.mpg";
    this->enableScaling = true;
}

nIntro::~nIntro() = default;

/*
 * OnStateEnter --
 *     Side effects: the graphics server's display mode is set again with
 *     its dialog-box mode on, so that the video's own window shows over
 *     the application's; the script procedure "MapIntroInput" runs; the
 *     cut-scene starts the video (stopping one that plays).
 */
void nIntro::OnStateEnter(const nString& prevState)
{
    nGfxServer2* gfx = nGfxServer2::Running();
    if (gfx)
    {
        nDisplayMode2 mode = gfx->GetDisplayMode();
        mode.SetDialogBoxMode(true);
        gfx->SetDisplayMode(mode);
    }
    if (nApp::HasInstance()) nApp::Instance()->RunScript("MapIntroInput");
    nCutSceneAppState::OnStateEnter(prevState);
}

/*
 * OnFrame --
 *     Side effects: while the video server plays nothing happens; once it
 *     does not (the video ended or never started, or there is no video
 *     server) the application's next state becomes "main_menu". Skipping
 *     by key is the scripts' business (their input mapping), not this
 *     state's.
 */
void nIntro::OnFrame()
{
    const nVideoServer* video = dynamic_cast<nVideoServer*>(nKernelServer::Instance()->Lookup("/sys/servers/video"));
    if (video && video->IsPlaying()) return;
    if (this->app.isvalid()) this->app->SetState(nString(MenuState));
}
