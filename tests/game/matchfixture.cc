//------------------------------------------------------------------------------
//  matchfixture.cc: a match over the game application's stand-ins (see
//  matchfixture.h).
//------------------------------------------------------------------------------
#include "matchfixture.h"

#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "audio3/naudioserver3.h"
#include "game/ntimerserver.h"
#include "game/nparticleshapenode.h"
#include "kernel/nclass.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"
#include "kernel/ntimeserver.h"
#include "opende/nopendegeom.h"

#include <cstdio>

std::vector<std::string>& GuiCalls()
{
    static std::vector<std::string> calls;
    return calls;
}

namespace
{

void Record(const std::string& s)
{
    GuiCalls().push_back(s);
}

/// the GUI server's part the match reaches by command: the system GUI
/// switch is recorded, and the root window "matchroot" below the root path
/// is the one the match's labels go into; nothing is drawn
class MatchGui : public nGuiServer
{
public:
    bool Open() override
    {
        nString window(this->GetRootPath());
        window.Append("/matchroot");
        nGuiWindow* root = static_cast<nGuiWindow*>(kernelServer->New("nguiwindow", window.Get()));
        nGuiServer::SetRootWindowPointer(root);
        return true;
    }
    void Close() override {}
    void SetRootWindowPointer(nGuiWindow*) override {}
    nGuiWindow* NewWindow(const char*, bool) override { return nullptr; }
    void SetTime(double) override {}
    void Trigger() override {}
    void Render() override {}
    void ToggleSystemGui() override { Record("togglesystemgui"); }
};

/// an audio server whose sounds know whether they play
class PlayingSoundMaker : public SoundMaker
{
protected:
    const char* SoundClass() const override { return "playingsound"; }
};

class MatchGameApp : public TestGameApp
{
protected:
    nGuiServer* CreateGuiServer() override
    {
        return static_cast<nGuiServer*>(kernelServer->New("matchgui", "/sys/servers/gui"));
    }
};

const char* const MatchSounds[] = {"env", "hit-face", "hit", "player-miss", "ai-miss",
                                   "gong", "excite", "won", "swish"};

}  // namespace

void CountingObject::Trigger(float* dt)
{
    nGameObject::Trigger(dt);
    this->triggers++;
}

void CountingObject::Render()
{
    nGameObject::Render();
    this->renders++;
}

bool PlayingSound::LoadResource()
{
    if (!nFileServer2::Instance()->FileExists(this->GetFilename().Get())) return false;
    this->SetState(Valid);
    return true;
}

ProgressObject::~ProgressObject()
{
    nEnv* score = static_cast<nEnv*>(kernelServer->Lookup("/usr/players/me/score"));
    if (score) score->SetI(99);
}

void CountingFX::Trigger(float*)
{
    this->triggers++;
}

void CountingFX::Render()
{
    this->renders++;
}

void TwoBoxerLogic::Start()
{
    this->starts++;
    nGame* game = nGame::Instance();
    this->counter = static_cast<CountingObject*>(game->NewObject(nString("countingobject")));
    this->counter->Init("/usr/lib/objects/dummy");
    nBoxer* p = static_cast<nBoxer*>(game->NewObject(nString("nboxer")));
    p->GetPlacement().settranslation(vector3(0.0f, 0.0f, 3.5f));
    p->Init("/usr/lib/objects/boxer");
    this->player = p;
    nBoxer* o = static_cast<nBoxer*>(game->NewObject(nString("nboxer")));
    o->GetPlacement().seteuler(vector3(0.0f, N_PI, 0.0f));
    o->GetPlacement().settranslation(vector3(0.0f, 0.0f, -3.5f));
    o->Init("/usr/lib/objects/boxer");
    this->opponent = o;
    game->PlayGong();
}

void TwoBoxerLogic::Stop()
{
    this->stops++;
}

N_IMPLEMENT_MODULE(countingobject, CountingObject, "ngameobject", nullptr)
N_IMPLEMENT_MODULE(progressobject, ProgressObject, "ngameobject", nullptr)
N_IMPLEMENT_MODULE(countingfx, CountingFX, "nfx", nullptr)
N_IMPLEMENT_MODULE(twoboxerlogic, TwoBoxerLogic, "ngamelogic", nullptr)
N_IMPLEMENT_MODULE(matchgui, MatchGui, "nguiserver", nullptr)
N_IMPLEMENT_MODULE(playingsound, PlayingSound, "nsound3", nullptr)
N_IMPLEMENT_MODULE(playingsoundmaker, PlayingSoundMaker, "soundmaker", nullptr)
N_IMPLEMENT_MODULE(matchgameapp, MatchGameApp, "testgameapp", nullptr)

void nmatchtest_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, countingobject);
    N_ADD_MODULE(ks, progressobject);
    N_ADD_MODULE(ks, countingfx);
    N_ADD_MODULE(ks, twoboxerlogic);
    N_ADD_MODULE(ks, matchgui);
    N_ADD_MODULE(ks, playingsound);
    N_ADD_MODULE(ks, playingsoundmaker);
    N_ADD_MODULE(ks, matchgameapp);
}

std::string SoundDesc(const char* file)
{
    return N2Root(std::string("new nenv filename\n sel filename\n .sets \"") + file + "\"\nsel ..\n"
                  "new nenv looping\n sel looping\n .setb false\nsel ..\n"
                  "new nenv ambient\n sel ambient\n .setb false\nsel ..\n"
                  "new nenv min-dist\n sel min-dist\n .setf 2.0\nsel ..\n"
                  "new nenv max-dist\n sel max-dist\n .setf 50.0\nsel ..\n");
}

void MatchTest::SetUp()
{
    GuiCalls().clear();
    ResetStandIns();
    this->dir = MakeTempDir("match");
    this->ks = NewGameKernel(nmatchtest_package);
    this->ks->SetLogHandler(&this->log);
    nFileServer2* fs = nFileServer2::Instance();
    fs->SetAssign("home", (this->dir.string() + "/").c_str());
    fs->SetAssign("sound", (this->dir.string() + "/sound/").c_str());
    this->Write("sound/data.wav", "RIFF");
    for (const char* s : MatchSounds)
    {
        this->Write(std::string("sound/") + s + ".n2", SoundDesc("sound:data.wav"));
    }
    this->ks->New("playingsoundmaker", "/sys/servers/audio");
    this->app = static_cast<TestGameApp*>(this->ks->New("matchgameapp", "/theApp"));
    nTimeServer::Instance()->StopTime();
    nTimeServer::Instance()->SetTime(1.0);
    this->AssignLibraries();
    ASSERT_TRUE(this->app->Open());
    this->game = nGame::Instance();

    this->ks->New("ntransformnode", "/usr/lib/models/body");
    // an effect: emits for 1 s, particles live at most 0.5 s
    this->ks->New("ntransformnode", "/usr/lib/models/hitfx");
    nParticleShapeNode* particle =
        static_cast<nParticleShapeNode*>(this->ks->New("nparticleshapenode", "/usr/lib/models/hitfx/particle"));
    particle->SetLoop(false);
    particle->SetEmissionDuration(1.0f);
    nParticleShapeNode::Curve life;
    life.keys[0] = 0.2f;
    life.keys[1] = 0.5f;
    life.keys[2] = 0.3f;
    particle->SetCurve(1, life);
    this->Proto("dummy");
    nRoot* fist = this->Proto("fist", "sphere");
    this->Var(fist, "radius")->SetF(0.6f);
    this->Proto("boot");
    this->Proto("pants");
    this->Proto("shirt");
    this->boxerProto = this->Proto("boxer", "sphere");
    this->Var(this->boxerProto, "radius")->SetF(2.0f);
    const std::pair<const char*, float> stats[] = {
        {"health", 1000.0f},   {"energy", 1000.0f},   {"energy-rec-rate", 50.0f},
        {"strike-length", 6.0f}, {"strength", 100.0f}, {"fist-mass", 1.0f},
        {"move-speed", 20.0f}, {"lightness", 5.0f},   {"accuracy", 1.0f},
    };
    for (const auto& s : stats) this->Var(this->boxerProto, s.first)->SetF(s.second);
    const std::pair<const char*, const char*> parts[] = {
        {"left_fist", "/usr/lib/objects/fist"}, {"right_fist", "/usr/lib/objects/fist"},
        {"left_boot", "/usr/lib/objects/boot"}, {"right_boot", "/usr/lib/objects/boot"},
        {"pants", "/usr/lib/objects/pants"},    {"shirt", "/usr/lib/objects/shirt"},
    };
    for (const auto& p : parts) this->Var(this->boxerProto, p.first)->SetS(p.second);
    this->ks->New("twoboxerlogic", "/usr/lib/levels/l01");
}

nRoot* MatchTest::Proto(const char* name, const char* geom)
{
    nString path("/usr/lib/objects/");
    path.Append(name);
    nRoot* proto = static_cast<nRoot*>(this->ks->New("nroot", path.Get()));
    this->Var(proto, "model")->SetO(this->ks->Lookup("/usr/lib/models/body"));
    if (geom) this->Var(proto, "geom")->SetS(geom);
    return proto;
}

nEnv* MatchTest::Var(nRoot* proto, const char* name)
{
    this->ks->PushCwd(proto);
    nEnv* var = static_cast<nEnv*>(this->ks->New("nenv", name));
    this->ks->PopCwd();
    return var;
}

void MatchTest::Frame(float dt)
{
    this->app->SetFrameTime(dt);
    this->game->OnFrame();
}

void MatchTest::Frames(int n, float dt)
{
    for (int i = 0; i < n; i++) this->Frame(dt);
}

void MatchTest::Enter()
{
    this->game->OnStateEnter(nString("main_menu"));
    this->Frame(0.02f);
}

void MatchTest::PastStart()
{
    while (this->game->IsStarting()) this->Frame(0.02f);
}

TwoBoxerLogic* MatchTest::Logic()
{
    return static_cast<TwoBoxerLogic*>(this->ks->Lookup("/usr/lib/levels/l01"));
}

void MatchTest::PutFist(nFist2* fist, const vector3& p)
{
    fist->GetTransform().settranslation(p);
    fist->GetGeom()->SetPosition(p);
}

void MatchTest::SyncGeoms(nBoxer* boxer)
{
    for (nGameObject* obj : {static_cast<nGameObject*>(boxer), static_cast<nGameObject*>(boxer->GetLeftFist()),
                             static_cast<nGameObject*>(boxer->GetRightFist())})
    {
        obj->GetGeom()->SetPosition(obj->GetTransform().gettranslation());
    }
}
