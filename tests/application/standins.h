#ifndef TESTS_APPLICATION_STANDINS_H
#define TESTS_APPLICATION_STANDINS_H
//------------------------------------------------------------------------------
//  Stand-in servers for the application's tests (and recording subclasses
//  of the servers that exist already): each records what the
//  application calls on it into one trace, in the order of the calls, and
//  asserts the calling order its real counterpart asserts. Knobs make
//  Open, BeginScene and the Triggers fail on demand.
//
//  StandInFactories makes an application's server factories make the
//  stand-ins, TestApp is such an application, and TestState a state that
//  records its hooks.
//------------------------------------------------------------------------------
#include "application/napplication.h"
#include "application/nappstate.h"
#include "audio3/naudioserver3.h"
#include "gfx2/ngfxserver2.h"
#include "gui/nguiserver.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "locale/nlocaleserver.h"
#include "misc/nprefserver.h"
#include "scene/nsceneserver.h"
#include "video/nvideoserver.h"

#include <functional>
#include <string>
#include <vector>

/// what the stand-ins do, reset for every test
struct StandInKnobs
{
    bool sceneOpens = true;
    bool audioOpens = true;
    bool videoOpens = true;
    bool beginScene = true;
    bool scriptTrigger = true;
    bool gfxTrigger = true;
    /// what the stand-in script server's Run answers
    std::string runResult = "ok";
};

/// the trace of every call, in order
std::vector<std::string>& Trace();
StandInKnobs& Knobs();
/// empty trace, default knobs
void ResetStandIns();
/// the trace entries from the first one equal to 'from', up to but excluding 'to' (or the end)
std::vector<std::string> TraceBetween(const std::string& from, const std::string& to);

/// registers the stand-in classes, the test application and the test state
void napptest_package();

/// An application of class APP whose server factories make the stand-ins, each at
/// "/sys/servers/<what>"; with recordCreates set each first records "create <what>".
template <class APP>
class StandInFactories : public APP
{
protected:
    nScriptServer* CreateScriptServer() override { return Make<nScriptServer>("standinscript", "script"); }
    nGfxServer2* CreateGfxServer() override { return Make<nGfxServer2>("standingfx", "gfx"); }
    nInputServer* CreateInputServer() override { return Make<nInputServer>("standininput", "input"); }
    nRoot* CreateConsoleServer() override { return Make<nRoot>("standinserver", "console"); }
    nRoot* CreateResourceServer() override { return Make<nRoot>("recordingresourceserver", "resource"); }
    nSceneServer* CreateSceneServer() override { return Make<nSceneServer>("standinscene", "scene"); }
    nRoot* CreateVariableServer() override { return Make<nRoot>("recordingvariableserver", "variable"); }
    nRoot* CreateAnimationServer() override { return Make<nRoot>("recordinganimationserver", "anim"); }
    nVideoServer* CreateVideoServer() override { return Make<nVideoServer>("standinvideo", "video"); }
    nGuiServer* CreateGuiServer() override { return Make<nGuiServer>("standingui", "gui"); }
    nAudioServer3* CreateAudioServer() override { return Make<nAudioServer3>("standinaudio", "audio"); }
    nPrefServer* CreatePrefServer() override { return Make<nPrefServer>("standinpref", "pref"); }
    nLocaleServer* CreateLocaleServer() override { return Make<nLocaleServer>("standinlocale", "locale"); }

    /// a new object of the class at "/sys/servers/<what>"
    template <class TYPE>
    TYPE* Make(const char* className, const char* what)
    {
        if (this->recordCreates) Trace().push_back(std::string("create ") + what);
        const std::string path = std::string("/sys/servers/") + what;
        return dynamic_cast<TYPE*>(nObject::kernelServer->New(className, path.c_str()));
    }

    bool recordCreates = true;
};

/// an application whose factories make the stand-ins; its frame steps are public for tests
class TestApp : public StandInFactories<nApplication>
{
public:
    using nApplication::DoFrame;
    using nApplication::UpdateTimes;
    using nApplication::DoStateTransition;
    nAppCamera* GetAppCamera() const { return this->appCamera; }
    nGfxServer2* Gfx() const { return this->refGfxServer.get(); }
    void SetProjDir(const char* dir) { this->projDir = dir; }

protected:
    nAppCamera* CreateAppCamera() override;
};

/// a state that records its hooks as "<name>.<hook>" and runs an optional action in OnFrame
class TestState : public nAppState
{
public:
    void OnStateEnter(const nString& prevState) override;
    void OnStateLeave(const nString& nextState) override;
    void OnFrame() override;
    void OnRender3D() override;
    void OnRender2D() override;
    void OnPreRender() override;
    void OnPostRender() override;

    /// run in OnFrame after recording
    std::function<void()> onFrame;
    /// run in OnStateEnter after recording
    std::function<void()> onEnter;

protected:
    ~TestState() override;

private:
    void Record(const char* hook, const char* arg = nullptr);
};
#endif
