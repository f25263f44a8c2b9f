//------------------------------------------------------------------------------
//  datamatch.cc: helpers for matches on the game's own data (see datamatch.h).
//------------------------------------------------------------------------------
#include "datamatch.h"

#include "game/nai.h"
#include "game/nfist2.h"
#include "game/ngame.h"
#include "game/nplayer.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"

namespace DataMatch
{

const char* const PlayerProto = "/usr/lib/objects/player";

std::string OpponentProto(int i)
{
    return "/usr/lib/objects/_ai" + std::to_string(i);
}

void CentreMouse()
{
    MoveMouse(0.5f, 0.5f);
}

void MoveMouse(float x, float y)
{
    nInputServer* input = nInputServer::Instance();
    nInputEvent* e = input->NewEvent();
    e->SetType(N_INPUT_MOUSE_MOVE);
    e->SetDeviceId(N_INPUT_MOUSE0);
    e->SetRelPos(x, y);
    input->LinkEvent(e);
    // the servers' own frame, also where a test stands in for them
    input->nInputServer::Trigger(input->GetTime());
    input->nInputServer::FlushEvents();
}

bool StraightRight(nPlayer* player, nAI* ai, const std::function<bool()>& stop)
{
    const float dt = 1.0f / 60.0f;
    nGame* game = nGame::Instance();
    bool started = false;
    for (int i = 0; i < 120 && !started; i++)
    {
        player->SetHookHeld(false);
        player->SetUppercutHeld(false);
        started = player->Punch(ai, 2);
        if (!started) game->RunFrame(dt);
    }
    if (!started) return false;
    for (int i = 0; i < 240 && nPlayer::HasInstance(); i++)
    {
        game->RunFrame(dt);
        if (stop && stop()) break;
        if (player->GetRightFist()->GetState() == nFist2::Idle) break;
    }
    return true;
}

}  // namespace DataMatch
