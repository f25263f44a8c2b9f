#ifndef TESTS_APPLICATION_STANDINS_H
#define TESTS_APPLICATION_STANDINS_H
//------------------------------------------------------------------------------
//  Stand-in servers for the application's tests (and recording subclasses
//  of the servers that exist already): each records what the
//  application calls on it into one trace, in the order of the calls, and
//  asserts the calling order its real counterpart asserts. Knobs make
//  Open, BeginScene and the Triggers fail on demand.
//
//  TestApp is an application whose factories make the stand-ins, and
//  TestState a state that records its hooks.
//------------------------------------------------------------------------------
#include "application/napplication.h"
#include "application/nappstate.h"
#include "gfx2/ngfxserver2.h"
#include "scene/nsceneserver.h"

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

/// an application whose factories make the stand-ins; its frame steps are public for tests
class TestApp : public nApplication
{
public:
    using nApplication::DoFrame;
    using nApplication::UpdateTimes;
    using nApplication::DoStateTransition;
    nAppCamera* GetAppCamera() const { return this->appCamera; }
    nGfxServer2* Gfx() const { return this->refGfxServer.get(); }
    void SetProjDir(const char* dir) { this->projDir = dir; }

protected:
    nScriptServer* CreateScriptServer() override;
    nGfxServer2* CreateGfxServer() override;
    nInputServer* CreateInputServer() override;
    nRoot* CreateConsoleServer() override;
    nRoot* CreateResourceServer() override;
    nSceneServer* CreateSceneServer() override;
    nRoot* CreateVariableServer() override;
    nRoot* CreateAnimationServer() override;
    nVideoServer* CreateVideoServer() override;
    nGuiServer* CreateGuiServer() override;
    nAudioServer3* CreateAudioServer() override;
    nPrefServer* CreatePrefServer() override;
    nLocaleServer* CreateLocaleServer() override;
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
