//------------------------------------------------------------------------------
//  ngameplay2.cc
//------------------------------------------------------------------------------
#include "game/ngameplay2.h"
#include "game/nai.h"
#include "game/napp.h"
#include "game/ngame.h"
#include "game/ngamecamera.h"
#include "game/nplayer.h"
#include "mathlib/nmath.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

const char* const RingProto = "/usr/lib/objects/ring";
const char* const AIProtoFormat = "/usr/lib/objects/_ai%i";
const vector3 OverviewPos(0.0f, 24.0f, 12.0f);
const vector3 CloseViewPos(0.0f, 15.4f, 7.0f);

nGameCamera* Camera()
{
    return nApp::HasInstance() ? nApp::Instance()->GetCamera() : nullptr;
}

nString ProtoPath(int index)
{
    char path[N_MAXPATH];
    snprintf(path, sizeof(path), AIProtoFormat, index);
    return nString(path);
}

}  // namespace

nGameplay2::nGameplay2() :
    cameraMode(0)
{
}

nGameplay2::~nGameplay2()
{
    this->Stop();
}

nPlayer* nGameplay2::GetPlayer() const
{
    return this->refPlayer.isvalid() ? static_cast<nPlayer*>(this->refPlayer.get()) : nullptr;
}

nAI* nGameplay2::GetAI() const
{
    return this->refAI.isvalid() ? static_cast<nAI*>(this->refAI.get()) : nullptr;
}

/*
 * OpponentProto --
 *     Results: "/usr/lib/objects/_ai<n>" for the index; past the last
 *     opponent (the player beat them all) the highest index below it
 *     that exists, logged, so that every later match still has an
 *     opponent. The stored index is not changed. The library is looked
 *     through once, whatever the index (a saved one may be huge).
 */
nString nGameplay2::OpponentProto(int nextEnemy)
{
    nKernelServer* ks = nKernelServer::Instance();
    nString path = ProtoPath(nextEnemy);
    if (ks->Lookup(path.Get())) return path;
    int best = -1;
    if (nRoot* lib = ks->Lookup("/usr/lib/objects"))
    {
        for (nRoot* obj = lib->GetHead(); obj; obj = obj->GetSucc())
        {
            const char* name = obj->GetName();
            if (strncmp(name, "_ai", 3) != 0 || !isdigit((unsigned char)name[3])) continue;
            char* end = nullptr;
            const long index = strtol(name + 3, &end, 10);
            if (*end != 0 || index >= nextEnemy || index <= best) continue;
            // "_ai01" is not what the index names
            if (ProtoPath((int)index) == obj->GetFullName()) best = (int)index;
        }
    }
    if (best < 0) return path;
    nString fallback = ProtoPath(best);
    n_printf("nGameplay2: no opponent '%s'; the match is against '%s'\n", path.Get(), fallback.Get());
    return fallback;
}

/*
 * Start --
 *     Side effects: the ring, the player at (0, 0, 3.5), the opponent
 *     facing it at (0, 0, -3.5) from the prototype the player's next
 *     enemy names; the camera over the ring; the gong.
 */
void nGameplay2::Start()
{
    nGame* game = nGame::Instance();
    nGameObject* ring = static_cast<nGameObject*>(game->NewObject(nString("ngameobject")));
    if (ring && nGameObject::IsUsableProto(RingProto)) ring->Init(RingProto);

    nPlayer* player = static_cast<nPlayer*>(game->NewObject(nString("nplayer")));
    n_assert(player != 0);
    transform44 playerPlace;
    playerPlace.settranslation(vector3(0.0f, 0.0f, 3.5f));
    player->GetPlacement() = playerPlace;
    // a match entered before a script chose the player has a boxer without body
    if (!game->HasPlayerProto()) n_printf("nGameplay2: no player prototype is set\n");
    player->Init(game->HasPlayerProto() ? game->GetPlayerProto().Get() : "");
    this->refPlayer = player;

    const nString aiProto = OpponentProto(player->GetNextEnemy());
    nAI* ai = static_cast<nAI*>(game->NewObject(nString("nai")));
    n_assert(ai != 0);
    transform44 aiPlace;
    aiPlace.seteuler(vector3(0.0f, N_PI, 0.0f));
    aiPlace.settranslation(vector3(0.0f, 0.0f, -3.5f));
    ai->GetPlacement() = aiPlace;
    ai->Init(aiProto.Get());
    this->refAI = ai;

    if (nGameCamera* cam = Camera())
    {
        const vector3& pe = player->GetTransform().geteuler();
        cam->SetEuler(vector3(pe.x * 0.5f - 1.1f, pe.y * 0.3f, cam->GetEuler().z));
        cam->SetPosition(OverviewPos);
    }
    game->PlayGong();
}

void nGameplay2::Stop()
{
}

void nGameplay2::PlaceCameraAbove(const vector3& position, bool sway)
{
    nGameCamera* cam = Camera();
    nPlayer* player = this->GetPlayer();
    if (!cam || !player) return;
    const vector3& pe = player->GetTransform().geteuler();
    float y = pe.y * 0.3f;
    if (sway) y *= (n_rand() - 0.5f) * 0.8f + 1.0f;
    cam->SetEuler(vector3(pe.x * 0.5f - 1.1f, y, cam->GetEuler().z));
    cam->SetPosition(position);
}

/*
 * Trigger --
 *     Side effects: "next-camera" steps overview, close view, eye view,
 *     overview; the eye view sits one unit in front of the player and
 *     turns with it; the views from above sway, except in the match's
 *     final slow motion.
 */
void nGameplay2::Trigger(float* /*dt*/)
{
    nInputServer* input = dynamic_cast<nInputServer*>(kernelServer->Lookup("/sys/servers/input"));
    if (input && input->GetButton("next-camera")) this->cameraMode = (this->cameraMode + 1) % 3;
    nPlayer* player = this->GetPlayer();
    nGameCamera* cam = Camera();
    if (!player || !cam) return;
    if (this->cameraMode == 2)
    {
        cam->SetEuler(player->GetTransform().geteuler());
        vector3 p = player->GetTransform().gettranslation();
        p.z -= 1.0f;
        cam->SetPosition(p);
        return;
    }
    const bool sway = !(nGame::HasInstance() && nGame::Instance()->IsSlowMotion());
    this->PlaceCameraAbove(this->cameraMode == 0 ? OverviewPos : CloseViewPos, sway);
}
