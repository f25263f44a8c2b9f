//------------------------------------------------------------------------------
//  gameapp.cc: the game application over stand-in servers (see gameapp.h).
//------------------------------------------------------------------------------
#include "gameapp.h"

#include "anim2/nanim2package.h"
#include "gui/nguiserver.h"
#include "gui/nguipackage.h"
#include "input/ninputserver.h"
#include "input/ninputpackage.h"
#include "scene/nsceneserver.h"
#include "video/nvideoserver.h"
#include "kernel/nscriptserver.h"
#include "locale/nlocaleserver.h"
#include "misc/nprefserver.h"
#include "application/napplicationpackage.h"
#include "audio3/naudio3package.h"
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "game/ngamepackage.h"
#include "gfx2/ngfx2package.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"
#include "kernel/ntimeserver.h"
#include "locale/nlocalepackage.h"
#include "misc/nmiscpackage.h"
#include "opende/nopendepackage.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"

#include <cstdio>
#include <fstream>

namespace
{

/// the game's states, as recording stand-ins
class IntroStandIn : public TestState
{
};
class MenuStandIn : public TestState
{
};

}  // namespace

/// the video server a test made before Open, else the stand-in
nVideoServer* TestGameApp::CreateVideoServer()
{
    nRoot* existing = nObject::kernelServer->Lookup("/sys/servers/video");
    if (!existing) return Make<nVideoServer>("standinvideo", "video");
    existing->AddRef();
    return static_cast<nVideoServer*>(existing);
}
/// the audio server a test made before Open, else a new sound maker
nAudioServer3* TestGameApp::CreateAudioServer()
{
    nRoot* existing = nObject::kernelServer->Lookup("/sys/servers/audio");
    if (!existing) return Make<nAudioServer3>("soundmaker", "audio");
    existing->AddRef();
    return static_cast<nAudioServer3*>(existing);
}

nSound3* SoundMaker::NewSound()
{
    char name[32];
    snprintf(name, sizeof(name), "sound%d", this->count++);
    kernelServer->PushCwd(this);
    nSound3* s = static_cast<nSound3*>(kernelServer->New(this->SoundClass(), name));
    kernelServer->PopCwd();
    return s;
}

N_IMPLEMENT_MODULE(testgameapp, TestGameApp, "napp", nullptr)
N_IMPLEMENT_MODULE(introstandin, IntroStandIn, "teststate", nullptr)
N_IMPLEMENT_MODULE(menustandin, MenuStandIn, "teststate", nullptr)
N_IMPLEMENT_MODULE(soundmaker, SoundMaker, "naudioserver3", nullptr)
// the game kernel has no video package; the stand-in video servers hang below nroot
N_IMPLEMENT_MODULE(recordingvideo, RecordingVideo, "nroot", nullptr)

void ngametest_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, testgameapp);
    N_ADD_MODULE(ks, soundmaker);
    N_ADD_MODULE(ks, recordingvideo);
}

/// the recording stand-ins under the names of the game's intro and menu states; registered before
/// the game's package, they take the place of the real classes
void ngamestatestandins_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    ks->AddModule("nintro", introstandin_init, introstandin_new);
    ks->AddModule("nmainmenu", menustandin_init, menustandin_new);
}

bool RecordingVideo::PlayFile(const char* filename)
{
    Trace().push_back(std::string("video.PlayFile ") + filename + (this->GetEnableScaling() ? " scaled" : " unscaled"));
    if (this->failToPlay) return false;
    return nVideoServer::PlayFile(filename);
}

std::unique_ptr<nKernelServer> NewGameKernel(nPackageFunc more, nPackageFunc early, bool standInStates)
{
    const nPackageFunc first = early ? early : +[] {};
    const nPackageFunc states = standInStates ? ngamestatestandins_package : +[] {};
    auto ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
        first, nsignals_package, nscript_package, nmisc_package, nlocale_package, nresource_package, ngfx2_package, nvariable_package, nanim2_package, nscene_package,
        naudio3_package, ninput_package, nopende_package, ngui_package, napplication_package, napptest_package, states, ngame_package,
        ngametest_package});
    if (more) more();
    return ks;
}

void GameAppTest::SetUp()
{
    ResetStandIns();
    this->dir = MakeTempDir("gameapp");
    this->ks = NewGameKernel(nullptr, nullptr, !this->realStates);
    this->ks->SetLogHandler(&this->log);
    // what the application writes in its home (its lock) stays in the test's directory
    this->ks->GetFileServer()->SetAssign("home", (this->dir.string() + "/").c_str());
    this->app = static_cast<TestGameApp*>(this->ks->New("testgameapp", "/theApp"));
    nTimeServer::Instance()->StopTime();
    nTimeServer::Instance()->SetTime(1.0);
}

void GameAppTest::TearDown()
{
    if (this->app->IsOpen()) this->app->Close();
    this->app->Release();
    this->ks.reset();
    std::filesystem::remove_all(this->dir);
}

std::string GameAppTest::Write(const std::string& rel, const std::string& text)
{
    const std::filesystem::path p = this->dir / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << text;
    return p.string();
}

void GameAppTest::AssignLibraries()
{
    for (const char* name : {"gfxlib", "objects", "levels", "meshes"})
    {
        std::filesystem::create_directories(this->dir / name);
        nFileServer2::Instance()->SetAssign(name, ((this->dir / name).string() + "/").c_str());
    }
}

std::string N2Root(const std::string& body)
{
    return "# ---\n# $parser:ntclserver$ $class:nroot$\n# ---\n" + body + "# ---\n# Eof\n";
}
