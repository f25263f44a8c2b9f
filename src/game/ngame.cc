//------------------------------------------------------------------------------
//  ngame.cc
//------------------------------------------------------------------------------
#include "game/ngame.h"
#include "application/ngfxobject.h"
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "game/napp.h"
#include "game/ngamecamera.h"
#include "game/ngamelogic.h"
#include "game/ngameobject.h"
#include "game/nfx.h"
#include "game/ntimerserver.h"
#include "gfx2/ngfxserver2.h"
#include "gui/nguiserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/npersistserver.h"
#include "game/nhomefile.h"
#include "game/nplayerfile.h"
#include "opende/nopendeworld.h"
#include "variable/nvariableserver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

nGame* nGame::m_pSelf = nullptr;

namespace
{

const char* const LogicPath = "/usr/lib/levels/l01";
const char* const ScenePath = "/usr/scene";
const char* const FXPath = "/usr/fx_scene";
const char* const PlayersPath = "/usr/players";
const char* const LightResource = "lights:stdlight.n2";
/// the start phase, in scaled seconds, in which nobody may punch
const float StartPhase = 1.5f;

void SetCursor(nGfxServer2::CursorVisibility v)
{
    if (nGfxServer2* gfx = nGfxServer2::Running()) gfx->SetCursorVisibility(v);
}

/// the variable's handle, or -1 without a variable server
int VarHandle(const char* name)
{
    nVariableServer* vars = nVariableServer::InstanceOrNull();
    return vars ? vars->GetVariableHandleByName(name) : -1;
}

/// a sound made from its description, 0 (reported) when it cannot be made
nSound3* MakeSound(const char* desc)
{
    nSound3* s = nApp::HasInstance() ? nApp::Instance()->CreateSound(desc, nApp::SoundInstanceType) : nullptr;
    if (!s) n_printf("nGame: the sound '%s' cannot be made; the match goes on without it\n", desc);
    return s;
}

void ReleaseSound(nStrongRef<nSound3>& ref)
{
    if (ref.isvalid()) ref->Stop();
    ref.reset();
}

/// every child of the folder, taking the next one before the call so a child may go away
template <class TYPE, class FUNC>
void ForEachChild(nRoot* folder, const nClass* cl, FUNC func)
{
    if (!folder || !cl) return;
    for (nRoot* child = folder->GetHead(); child;)
    {
        nRoot* next = child->GetSucc();
        if (child->IsA(cl)) func(static_cast<TYPE*>(child));
        child = next;
    }
}

}  // namespace

/*
 * nGame --
 *     Side effects: makes the timer server, looks the render variables
 *     "time" and "one" up, makes the contact group and the four contact
 *     records (bounce 1, infinite friction) and loads the players.
 */
nGame::nGame() :
    bonusTimeMode(0),
    m_refLogic(LogicPath),
    timeVar(VarHandle("time")),
    oneVar(VarHandle("one")),
    objectCount(0),
    fxCount(0),
    startTimer(-1),
    frameTime(0.0f),
    scaledTime(0.0f),
    timeFactor(1.0f),
    timeMultiplier(1.0f),
    bonusTimeElapsed(0.0f),
    bonusTimeDuration(0.0f),
    fatalPunchElapsed(0.0f),
    fatalPunchDuration(0.0f),
    paused(false),
    starting(false),
    eyeView(false),
    running(false),
    finalSlowMotion(false),
    fatalPunch(false),
    matchSetUp(false),
    gameObjectClass(kernelServer->FindClass("ngameobject")),
    fxClass(kernelServer->FindClass("nfx")),
    logicClass(kernelServer->FindClass("ngamelogic")),
    contactGroup(nOpendeLayer::CreateJointGroup(0)),
    contacts(new dContact[NumContacts])
{
    n_assert(0 == m_pSelf);
    if (!nTimerServer::HasInstance())
    {
        n_assert(kernelServer->New("ntimerserver", "/sys/servers/timer"));
        this->refTimerServer.adopt(nTimerServer::Instance());
    }
    // the match's frames count down its timers
    kernelServer->AddInUse(nTimerServer::Instance());
    m_pSelf = this;
    for (int i = 0; i < NumContacts; i++)
    {
        dContact& c = this->contacts[i];
        memset(&c, 0, sizeof(c));
        c.surface.mode = dContactBounce;
        c.surface.mu = dInfinity;
        c.surface.bounce = 1.0;
        c.surface.bounce_vel = 0.0;
    }
    this->LoadPlayers();
}

/*
 * ~nGame --
 *     Side effects: cleans the match up first, so that the player's own
 *     destruction has written its progression into its prototype before
 *     "/usr/players" is saved; then frees the contacts and the timers.
 */
nGame::~nGame()
{
    this->CleanupMatch();
    this->SavePlayers();
    nOpendeLayer::DestroyJointGroup(this->contactGroup);
    if (nTimerServer::HasInstance()) kernelServer->RemInUse(nTimerServer::Instance());
    // the timer server made for the match goes before the instance is cleared
    this->refTimerServer.reset();
    m_pSelf = nullptr;
}

nGame* nGame::Instance()
{
    n_assert(m_pSelf);
    return m_pSelf;
}

nGameLogic* nGame::FindLogic() const
{
    if (!this->m_refLogic.isvalid()) return nullptr;
    nRoot* obj = this->m_refLogic.get();
    return (this->logicClass && obj->IsA(this->logicClass)) ? static_cast<nGameLogic*>(obj) : nullptr;
}

nGameLogic* nGame::GetLogic() const
{
    nGameLogic* logic = this->FindLogic();
    n_assert(logic != 0);
    return logic;
}

/*
 * LoadPlayers --
 *     Side effects: "/usr/players" is replaced by the content of the
 *     players' file when it exists, each player mended from the library's
 *     player; a file that cannot be read is kept aside and leaves
 *     "/usr/players" absent. The notice tells the player either, that
 *     progress cannot be saved and why, and that nothing will be saved
 *     while another copy of the game runs.
 */
void nGame::LoadPlayers()
{
    this->saveNotice = "";
    nPlayerFile::Load(this->saveNotice, this->maySavePlayers);
    nPlayerFile::MendAll();
    if (nApp::HasInstance() && !nApp::Instance()->MaySaveHome())
    {
        if (!this->saveNotice.IsEmpty()) this->saveNotice.Append(" ");
        this->saveNotice.Append("Another copy of the game is running: this one saves no progress.");
    }
}

/*
 * SavePlayers --
 *     Side effects: when "/usr/players" exists it replaces the players'
 *     file (nPlayerFile::Save); not while another copy of the game runs on
 *     the same home, whose progress would be overwritten, nor over an
 *     unreadable file that could not be put aside. A save that fails
 *     puts why in the notice the main menu shows.
 */
void nGame::SavePlayers()
{
    if (nApp::HasInstance() && !nApp::Instance()->MaySaveHome())
    {
        if (kernelServer->Lookup(PlayersPath)) n_printf("nGame: another copy of the game runs; the players are not saved\n");
        return;
    }
    if (!this->maySavePlayers)
    {
        if (kernelServer->Lookup(PlayersPath)) n_printf("nGame: '%s' is not replaced; the players are not saved\n", nPlayerFile::FileName);
        return;
    }
    if (nPlayerFile::Save()) return;
    nString notice;
    if (nPlayerFile::CheckSavable(notice))
    {
        notice = "Progress could not be saved to ";
        notice.Append(nHomeFile::RealPath(nPlayerFile::FileName));
        notice.Append("; bin.log says why.");
    }
    if (!strstr(this->saveNotice.Get(), notice.Get()))
    {
        if (!this->saveNotice.IsEmpty()) this->saveNotice.Append(" ");
        this->saveNotice.Append(notice);
    }
}

void nGame::OnStateEnter(const nString& prevState)
{
    nAppState::OnStateEnter(prevState);
    if (nGuiServer* gui = nGuiServer::InstanceOrNull()) gui->ToggleSystemGui();
    this->SetupMatch();
    SetCursor(nGfxServer2::None);
    if (nApp::HasInstance()) nApp::Instance()->RunScript("OnGameStateEnter");
}

void nGame::OnStateLeave(const nString& nextState)
{
    this->CleanupMatch();
    SetCursor(nGfxServer2::System);
    nAppState::OnStateLeave(nextState);
}

void nGame::ResetMatchState()
{
    this->timeFactor = 1.0f;
    this->timeMultiplier = 1.0f;
    this->paused = false;
    this->running = false;
    this->finalSlowMotion = false;
    this->fatalPunch = false;
    this->bonusTimeMode = 0;
    // a new match has no frame yet: nothing reads the last match's time
    this->frameTime = 0.0f;
    this->scaledTime = 0.0f;
}

nRoot* nGame::NewFolder(const char* path)
{
    n_assert(kernelServer->Lookup(path) == 0);
    nRoot* folder = static_cast<nRoot*>(kernelServer->New("nroot", path));
    n_assert(folder != 0);
    return folder;
}

/*
 * CreateSounds --
 *     Side effects: the eight sounds, in the order the match has always
 *     made them; the ambient loop starts at once. A sound that cannot be
 *     made is reported and stays silent.
 */
void nGame::CreateSounds()
{
    this->m_refEnvSound.adopt(MakeSound("sound:env.n2"));
    if (this->m_refEnvSound.isvalid()) StartSound(this->m_refEnvSound.get());
    this->m_refFaceHitSound.adopt(MakeSound("sound:hit-face.n2"));
    this->m_refHandHitSound.adopt(MakeSound("sound:hit.n2"));
    this->m_refMissSound.adopt(MakeSound("sound:player-miss.n2"));
    this->m_refAIMissSound.adopt(MakeSound("sound:ai-miss.n2"));
    this->m_refGongSound.adopt(MakeSound("sound:gong.n2"));
    this->m_refExciteSound.adopt(MakeSound("sound:excite.n2"));
    this->m_refWonSound.adopt(MakeSound("sound:won.n2"));
}

/*
 * SetupMatch --
 *     Side effects: a fresh match: no timers, rendering out of dialog-box
 *     mode, the game input mapped, the flags reset, the light loaded, new
 *     scene and effect folders, full master volume, the sounds, the
 *     logic's Start (ring and boxers), the start phase running and time
 *     at three quarters of its speed. A match left standing (its folders
 *     still there) is a programming error and stops the program.
 */
void nGame::SetupMatch()
{
    nTimerServer::Instance()->RemoveAllTimers();
    if (nGfxServer2* gfx = nGfxServer2::Running())
    {
        nDisplayMode2 mode = gfx->GetDisplayMode();
        mode.SetDialogBoxMode(false);
        gfx->SetDisplayMode(mode);
    }
    if (nApp::HasInstance()) nApp::Instance()->RunScript("MapGameInput");
    if (!this->m_refPhysWorld.isvalid())
    {
        this->m_refPhysWorld = dynamic_cast<nOpendeWorld*>(kernelServer->Lookup("/sys/servers/phys/world"));
    }
    n_assert(m_refPhysWorld.isvalid());
    this->ResetMatchState();

    this->light = std::make_unique<nGfxObject>();
    this->light->SetResourceName(nString(LightResource));
    if (!nApp::LoadData(*this->light)) n_printf("nGame: the light '%s' does not load\n", LightResource);

    n_assert(m_refScene.isvalid() == false);
    this->m_refScene.adopt(this->NewFolder(ScenePath));
    n_assert(m_refScene.isvalid() == true);
    n_assert(m_refFXFolder.isvalid() == false);
    this->m_refFXFolder.adopt(this->NewFolder(FXPath));
    n_assert(m_refFXFolder.isvalid() == true);

    if (nAudioServer3* audio = dynamic_cast<nAudioServer3*>(kernelServer->Lookup("/sys/servers/audio")))
    {
        audio->SetMasterVolume(1.0f);
    }
    this->CreateSounds();
    this->matchSetUp = true;

    if (nGameLogic* logic = this->FindLogic()) logic->Start();
    else n_printf("nGame: '%s' is no match logic; the match has no ring and no boxers\n", LogicPath);

    this->starting = true;
    float duration = StartPhase;
    this->startTimer = nTimerServer::Instance()->AddTimer(&this->starting, &duration);
    nTimerServer::Instance()->Start(&this->startTimer);
    this->timeMultiplier = 0.75f;
}

/*
 * CleanupMatch --
 *     Side effects: the light, the scene with every game object, the
 *     effects and the sounds go; the logic stops. A second call finds
 *     nothing left and does nothing.
 */
void nGame::CleanupMatch()
{
    this->light.reset();
    this->m_refScene.reset();
    this->m_refFXFolder.reset();
    ReleaseSound(this->m_refEnvSound);
    ReleaseSound(this->m_refHandHitSound);
    ReleaseSound(this->m_refFaceHitSound);
    ReleaseSound(this->m_refMissSound);
    ReleaseSound(this->m_refAIMissSound);
    ReleaseSound(this->m_refGongSound);
    ReleaseSound(this->m_refExciteSound);
    ReleaseSound(this->m_refWonSound);
    if (this->matchSetUp)
    {
        if (nGameLogic* logic = this->FindLogic()) logic->Stop();
        // the player wrote its progression when the scene went: a crash later must not lose it
        this->SavePlayers();
    }
    this->matchSetUp = false;
    this->running = false;
}

void nGame::Restart()
{
    if (!this->matchSetUp) return;
    this->CleanupMatch();
    this->SetupMatch();
}

/*
 * SetPause --
 *     Side effects: pausing shows the system cursor and stops the ambient
 *     loop, resuming hides the cursor and starts it again. Outside a
 *     match there is nothing to pause.
 */
void nGame::SetPause(bool b)
{
    if (!this->matchSetUp) return;
    this->paused = b;
    SetCursor(b ? nGfxServer2::System : nGfxServer2::None);
    if (this->m_refEnvSound.isvalid())
    {
        if (b) this->m_refEnvSound->Stop();
        else StartSound(this->m_refEnvSound.get());
    }
}

void nGame::SetTimeMultiplier(float m)
{
    if (!std::isfinite(m)) return;
    this->timeMultiplier = m > 0.0f ? m : 0.0f;
}

void nGame::SetPlayerProto(const nString& proto)
{
    n_assert(!proto.IsEmpty());
    this->m_strPlayerProto = proto;
}

const nString& nGame::GetPlayerProto() const
{
    n_assert(!m_strPlayerProto.IsEmpty());
    return this->m_strPlayerProto;
}

float nGame::GetSlowProgress() const
{
    // a bonus of no length is over at once
    return this->bonusTimeDuration > 0.0f ? this->bonusTimeElapsed / this->bonusTimeDuration : FinishedProgress;
}

float nGame::GetFatalPunchProgress() const
{
    return this->fatalPunchDuration > 0.0f ? this->fatalPunchElapsed / this->fatalPunchDuration : FinishedProgress;
}

void nGame::StartFinalSlowMotion()
{
    this->timeMultiplier = 0.5f;
    this->finalSlowMotion = true;
}

void nGame::SetBonusTime(int mode, float duration)
{
    this->bonusTimeMode = mode;
    this->bonusTimeDuration = duration;
    this->bonusTimeElapsed = 0.0f;
}

void nGame::SetFatalPunch(float duration)
{
    this->fatalPunch = true;
    this->fatalPunchDuration = duration;
    this->fatalPunchElapsed = 0.0f;
}

/*
 * ScaleTime --
 *     Side effects: scaledTime = frame time x factor x multiplier, halved
 *     under the slow-time bonus; the final slow motion lowers the
 *     multiplier by 0.75 per real second down to 0; the bonus clocks run
 *     on the scaled time and end their bonuses.
 */
void nGame::ScaleTime(float appFrameTime)
{
    this->frameTime = appFrameTime;
    if (this->finalSlowMotion)
    {
        this->timeMultiplier = std::max(0.0f, this->timeMultiplier - this->frameTime * 0.75f);
        // rounding leaves a hair above 0 after the steps that should reach it: time stops then
        if (this->timeMultiplier < 1e-5f) this->timeMultiplier = 0.0f;
    }
    this->scaledTime = this->frameTime * this->timeFactor * this->timeMultiplier;
    if (this->bonusTimeMode == 1)
    {
        this->scaledTime *= 0.5f;
        this->bonusTimeElapsed += this->scaledTime;
        if (this->bonusTimeElapsed > this->bonusTimeDuration) this->bonusTimeMode = 0;
    }
    if (this->fatalPunch)
    {
        this->fatalPunchElapsed += this->scaledTime;
        if (this->fatalPunchElapsed > this->fatalPunchDuration) this->fatalPunch = false;
    }
}

void nGame::TriggerObjects()
{
    float dt = this->scaledTime;
    ForEachChild<nGameObject>(this->m_refScene.isvalid() ? this->m_refScene.get() : nullptr, this->gameObjectClass,
                              [&dt](nGameObject* obj) { obj->Trigger(&dt); });
    ForEachChild<nFX>(this->m_refFXFolder.isvalid() ? this->m_refFXFolder.get() : nullptr, this->fxClass,
                      [&dt](nFX* fx) { fx->Trigger(&dt); });
}

/*
 * OnFrame, RunFrame --
 *     Side effects: nothing on the first frame after a set-up (the time
 *     spent loading is not played) and nothing while paused; otherwise
 *     the scaled time drives timers, logic, objects and effects, and the
 *     listener takes the camera's place.
 */
void nGame::OnFrame()
{
    this->RunFrame(nApp::HasInstance() ? (float)nApp::Instance()->GetFrameTime() : 0.0f);
}

void nGame::RunFrame(float appFrameTime)
{
    if (!this->matchSetUp) return;
    if (!this->running)
    {
        this->running = true;
        return;
    }
    if (this->paused) return;
    this->ScaleTime(appFrameTime);
    float dt = this->scaledTime;
    nTimerServer::Instance()->Trigger(&dt);
    nOpendeLayer::EmptyJointGroup(this->contactGroup);
    if (nGameLogic* logic = this->FindLogic()) logic->Trigger(&dt);
    this->TriggerObjects();
    if (nApp::HasInstance())
    {
        nApp* app = nApp::Instance();
        app->SetListener(app->GetCamera()->GetTransform(), vector3(0.0f, 0.0f, 0.0f));
    }
}

void nGame::OnRender3D()
{
    if (this->light && this->light->IsValid()) this->light->Render();
    ForEachChild<nGameObject>(this->m_refScene.isvalid() ? this->m_refScene.get() : nullptr, this->gameObjectClass,
                              [](nGameObject* obj) { obj->Render(); });
    ForEachChild<nFX>(this->m_refFXFolder.isvalid() ? this->m_refFXFolder.get() : nullptr, this->fxClass,
                      [](nFX* fx) { fx->Render(); });
}

/*
 * NewObject --
 *     Results: a new object of the class below "/usr/scene", named the
 *     class name and the running count; 0 (reported) for a class the
 *     kernel does not know or outside a match.
 */
nRoot* nGame::NewObject(const nString& cl)
{
    n_assert(cl.IsEmpty() == false);
    if (!this->m_refScene.isvalid() || !kernelServer->FindClass(cl.Get()))
    {
        n_printf("nGame: no object of class '%s' can be made\n", cl.Get());
        return nullptr;
    }
    this->objectCount++;
    char name[N_MAXPATH];
    snprintf(name, sizeof(name), "%s%d", cl.Get(), this->objectCount);
    kernelServer->PushCwd(this->m_refScene.get());
    nRoot* newObj = static_cast<nRoot*>(kernelServer->New(cl.Get(), name));
    kernelServer->PopCwd();
    n_assert(newObj != 0);
    return newObj;
}

/*
 * SpawnFX --
 *     Results: a new effect "fx<n>" below "/usr/fx_scene", started with
 *     the scene node's path and placed; 0 (reported) outside a match.
 */
nFX* nGame::SpawnFX(const nString& path, const vector3& pos)
{
    if (!this->m_refFXFolder.isvalid())
    {
        n_printf("nGame: no effect outside a match\n");
        return nullptr;
    }
    this->fxCount++;
    char name[N_MAXPATH];
    snprintf(name, sizeof(name), "fx%d", this->fxCount);
    kernelServer->PushCwd(this->m_refFXFolder.get());
    nFX* pFX = static_cast<nFX*>(kernelServer->New("nfx", name));
    kernelServer->PopCwd();
    n_assert(pFX != 0);
    pFX->Start(path);
    pFX->GetTransform().settranslation(pos);
    return pFX;
}

/*
 * SpawnHitFX --
 *     Side effects: the hit effect of the game data ("gfxlib:hit_fx.n2",
 *     a node with a particle child) starts at the position; without that
 *     effect in the library nothing happens.
 */
void nGame::SpawnHitFX(const vector3& pos)
{
    static const char* const hitFX = "/usr/lib/models/hit_fx";
    nRoot* node = kernelServer->Lookup(hitFX);
    nRoot* particle = node ? node->Find("particle") : nullptr;
    if (node && node->IsA("nscenenode") && particle && particle->IsA("nparticleshapenode"))
    {
        this->SpawnFX(hitFX, pos);
    }
}

/*
 * StartSound --
 *     Side effects: the sound takes its place, distances and ambient
 *     flag, then starts, when its data loaded; an audio device refuses
 *     to start a sound without data, and a missing sound file is the
 *     data's fault, not a reason to stop the match. Without the update
 *     a fresh source sits at the world's origin: heard at full strength
 *     only while the listener is still there (the first match's start),
 *     and faintly from the camera ever after.
 */
void nGame::StartSound(nSound3* sound)
{
    if (!sound || !sound->IsValid()) return;
    sound->Update();
    sound->Start();
}

void nGame::Replay(nStrongRef<nSound3>& sound, const matrix44* m)
{
    if (!sound.isvalid()) return;
    if (m) sound->SetTransform(*m);
    sound->Stop();
    StartSound(sound.get());
}

void nGame::PlayHitSound(const matrix44& m)
{
    Replay(this->m_refHandHitSound, &m);
}

void nGame::PlayHitFaceSound(const matrix44& m)
{
    Replay(this->m_refFaceHitSound, &m);
}

void nGame::PlayPlayerHitSound(const matrix44& m)
{
    Replay(this->m_refMissSound, &m);
}

void nGame::PlayAIHitSound(const matrix44& m)
{
    Replay(this->m_refAIMissSound, &m);
}

void nGame::PlayGong()
{
    Replay(this->m_refGongSound, nullptr);
}

void nGame::PlayWon()
{
    Replay(this->m_refWonSound, nullptr);
}

void nGame::PlayExcite()
{
    if (this->m_refExciteSound.isvalid()) StartSound(this->m_refExciteSound.get());
}
