//------------------------------------------------------------------------------
//  standins.cc
//------------------------------------------------------------------------------
#include "standins.h"

#include "application/nappcamera.h"
#include "input/ninputserver.h"
#include "video/nvideoserver.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "audio3/naudioserver3.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nmodule.h"
#include "kernel/nscriptserver.h"
#include "locale/nlocaleserver.h"
#include "resource/nresourceserver.h"
#include "variable/nvariableserver.h"
#include "anim2/nanimationserver.h"
#include "misc/nprefserver.h"

#include <algorithm>

std::vector<std::string>& Trace()
{
    static std::vector<std::string> trace;
    return trace;
}

StandInKnobs& Knobs()
{
    static StandInKnobs knobs;
    return knobs;
}

void ResetStandIns()
{
    Trace().clear();
    Knobs() = StandInKnobs();
}

std::vector<std::string> TraceBetween(const std::string& from, const std::string& to)
{
    const auto& t = Trace();
    auto first = std::find(t.begin(), t.end(), from);
    auto last = std::find(first, t.end(), to);
    return std::vector<std::string>(first, last);
}

namespace
{

void Record(const std::string& what)
{
    Trace().push_back(what);
}

/// records its release; for the servers the application only makes and releases
class StandInServer : public nRoot
{
protected:
    ~StandInServer() override { Record(std::string("release ") + this->GetName()); }
};

class StandInScript : public nScriptServer
{
public:
    bool Run(const char* str, nString& result) override
    {
        Record(std::string("script.Run ") + str);
        result = Knobs().runResult.c_str();
        return true;
    }
    bool RunFunction(const char* name, nString&) override
    {
        Record(std::string("script.RunFunction ") + name);
        return false;
    }
    bool RunScript(const char* name, nString&) override
    {
        Record(std::string("script.RunScript ") + name);
        return false;
    }
    bool Trigger() override
    {
        Record("script.Trigger");
        return Knobs().scriptTrigger;
    }

protected:
    ~StandInScript() override { Record("release script"); }
};

class StandInGfx : public nGfxServer2
{
public:
    void SetDisplayMode(const nDisplayMode2& mode) override
    {
        Record("gfx.SetDisplayMode " + std::to_string(mode.GetWidth()) + "x" + std::to_string(mode.GetHeight()));
        this->displayMode = mode;
    }
    void SetCamera(const nCamera2& cam) override
    {
        Record("gfx.SetCamera");
        nGfxServer2::SetCamera(cam);
    }
    bool Trigger() override
    {
        Record("gfx.Trigger");
        return Knobs().gfxTrigger;
    }

    const nDisplayMode2& GetDisplayMode() const override { return this->displayMode; }

protected:
    ~StandInGfx() override { Record("release gfx"); }

private:
    nDisplayMode2 displayMode;
};

class StandInInput : public nInputServer
{
public:
    void Trigger(double) override { Record("input.Trigger"); }
    void FlushEvents() override { Record("input.FlushEvents"); }

protected:
    ~StandInInput() override { Record("release input"); }
};

class StandInScene : public nSceneServer
{
public:
    bool Open() override
    {
        n_assert(!this->isOpen);
        Record("scene.Open");
        this->isOpen = Knobs().sceneOpens;
        return this->isOpen;
    }
    void Close() override
    {
        n_assert(this->isOpen);
        Record("scene.Close");
        this->isOpen = false;
    }
    bool BeginScene(const matrix44&) override
    {
        n_assert(this->isOpen);
        Record("scene.BeginScene");
        return Knobs().beginScene;
    }
    void RenderScene() override { Record("scene.RenderScene"); }
    void EndScene() override { Record("scene.EndScene"); }
    void PresentScene() override { Record("scene.PresentScene"); }

protected:
    ~StandInScene() override { Record("release scene"); }
};

class StandInVideo : public nVideoServer
{
public:
    bool Open() override
    {
        n_assert(!this->isOpen);
        Record("video.Open");
        this->isOpen = Knobs().videoOpens;
        return this->isOpen;
    }
    void Close() override
    {
        n_assert(this->isOpen);
        Record("video.Close");
        this->isOpen = false;
    }
    void Trigger() override { Record("video.Trigger"); }

protected:
    ~StandInVideo() override { Record("release video"); }
};

class StandInAudio : public nAudioServer3
{
public:
    bool Open() override
    {
        n_assert(!this->isOpen);
        Record("audio.Open");
        this->isOpen = Knobs().audioOpens;
        return this->isOpen;
    }
    void Close() override
    {
        n_assert(this->isOpen);
        Record("audio.Close");
        this->isOpen = false;
    }
    bool BeginScene(double t) override
    {
        Record("audio.BeginScene");
        return nAudioServer3::BeginScene(t);
    }
    void UpdateListener(const nListener3&) override
    {
        n_assert(this->inBeginScene);
        Record("audio.UpdateListener");
    }
    void EndScene() override
    {
        Record("audio.EndScene");
        nAudioServer3::EndScene();
    }

protected:
    ~StandInAudio() override { Record("release audio"); }
};

/// records what the application asks of the GUI server; opens nothing
class StandInGui : public nGuiServer
{
public:
    void SetRootPath(const char* path) override { Record(std::string("gui.SetRootPath ") + path); }
    void SetDisplaySize(const vector2& size) override
    {
        Record("gui.SetDisplaySize " + std::to_string(int(size.x)) + "x" + std::to_string(int(size.y)));
    }
    bool Open() override
    {
        n_assert(!this->standInOpen);
        Record("gui.Open");
        this->standInOpen = true;
        return true;
    }
    void Close() override
    {
        n_assert(this->standInOpen);
        Record("gui.Close");
        this->standInOpen = false;
    }
    void SetRootWindowPointer(nGuiWindow* window) override
    {
        Record(std::string("gui.SetRootWindowPointer ") + (window ? window->GetFullName().Get() : "null"));
    }
    nGuiWindow* NewWindow(const char* className, bool visible) override
    {
        Record(std::string("gui.NewWindow ") + className + (visible ? " visible" : " hidden"));
        return static_cast<nGuiWindow*>(kernelServer->New("nguiwindow", "/gui/window0"));
    }
    void SetTime(double) override { Record("gui.SetTime"); }
    void Trigger() override { Record("gui.Trigger"); }

protected:
    ~StandInGui() override { Record("release gui"); }

private:
    bool standInOpen = false;
};

/// the real servers that exist already, recording their release
class RecordingResourceServer : public nResourceServer
{
protected:
    ~RecordingResourceServer() override { Record("release resource"); }
};

class RecordingVariableServer : public nVariableServer
{
protected:
    ~RecordingVariableServer() override { Record("release variable"); }
};

class RecordingAnimationServer : public nAnimationServer
{
protected:
    ~RecordingAnimationServer() override { Record("release anim"); }
};

class StandInPref : public nPrefServer
{
protected:
    ~StandInPref() override { Record("release pref"); }
};

class StandInLocale : public nLocaleServer
{
protected:
    ~StandInLocale() override { Record("release locale"); }
};

class TestCamera : public nAppCamera
{
public:
    ~TestCamera() override { Record("camera.delete"); }
};

}  // namespace

nAppCamera* TestApp::CreateAppCamera()
{
    Record("create camera");
    return n_new(TestCamera);
}

TestState::~TestState()
{
    ::Record(std::string("release state ") + this->GetName());
}

void TestState::Record(const char* hook, const char* arg)
{
    std::string entry = std::string(this->GetName()) + "." + hook;
    if (arg) entry += std::string("(") + arg + ")";
    ::Record(entry);
}

void TestState::OnStateEnter(const nString& prevState)
{
    this->Record("OnStateEnter", prevState.Get());
    if (this->onEnter) this->onEnter();
}
void TestState::OnStateLeave(const nString& nextState)
{
    this->Record("OnStateLeave", nextState.Get());
}
void TestState::OnFrame()
{
    this->Record("OnFrame");
    if (this->onFrame) this->onFrame();
}
void TestState::OnRender3D()
{
    this->Record("OnRender3D");
}
void TestState::OnRender2D()
{
    this->Record("OnRender2D");
}
void TestState::OnPreRender()
{
    this->Record("OnPreRender");
}
void TestState::OnPostRender()
{
    this->Record("OnPostRender");
}

N_IMPLEMENT_MODULE(standinserver, StandInServer, "nroot", nullptr)
N_IMPLEMENT_MODULE(standinscript, StandInScript, "nscriptserver", nullptr)
N_IMPLEMENT_MODULE(standingfx, StandInGfx, "ngfxserver2", nullptr)
N_IMPLEMENT_MODULE(standininput, StandInInput, "ninputserver", nullptr)
N_IMPLEMENT_MODULE(standinscene, StandInScene, "nsceneserver", nullptr)
N_IMPLEMENT_MODULE(standinvideo, StandInVideo, "nroot", nullptr)
N_IMPLEMENT_MODULE(standinaudio, StandInAudio, "naudioserver3", nullptr)
N_IMPLEMENT_MODULE(standingui, StandInGui, "nguiserver", nullptr)
N_IMPLEMENT_MODULE(recordingresourceserver, RecordingResourceServer, "nresourceserver", nullptr)
N_IMPLEMENT_MODULE(recordingvariableserver, RecordingVariableServer, "nvariableserver", nullptr)
N_IMPLEMENT_MODULE(recordinganimationserver, RecordingAnimationServer, "nanimationserver", nullptr)
N_IMPLEMENT_MODULE(standinpref, StandInPref, "nprefserver", nullptr)
N_IMPLEMENT_MODULE(standinlocale, StandInLocale, "nlocaleserver", nullptr)
N_IMPLEMENT_MODULE(testapp, TestApp, "napplication", nullptr)
N_IMPLEMENT_MODULE(teststate, TestState, "nappstate", nullptr)

void napptest_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, standinserver);
    N_ADD_MODULE(ks, standinscript);
    N_ADD_MODULE(ks, standingfx);
    N_ADD_MODULE(ks, standininput);
    N_ADD_MODULE(ks, standinscene);
    N_ADD_MODULE(ks, standinvideo);
    N_ADD_MODULE(ks, standinaudio);
    N_ADD_MODULE(ks, standingui);
    N_ADD_MODULE(ks, recordingresourceserver);
    N_ADD_MODULE(ks, recordingvariableserver);
    N_ADD_MODULE(ks, recordinganimationserver);
    N_ADD_MODULE(ks, standinpref);
    N_ADD_MODULE(ks, standinlocale);
    N_ADD_MODULE(ks, testapp);
    N_ADD_MODULE(ks, teststate);
}
