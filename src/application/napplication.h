#ifndef N_APPLICATION_H
#define N_APPLICATION_H
//------------------------------------------------------------------------------
/**
    @class nApplication
    @ingroup Application

    The engine's application object: it creates every server under
    "/sys/servers/" through virtual factories, opens them in a fixed
    order, runs the main loop frame by frame and switches between the
    application states below its "appstates" node. A program derives its
    own application from it, sets the start-up script and calls Open, Run
    and Close in turn.

    Servers that the application only creates and releases are held as
    plain tree objects; those it drives as the real server classes of
    their areas (see ARCHITECTURE.md).
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "kernel/nstrongref.h"
#include "util/nstring.h"
#include "gfx2/ndisplaymode2.h"
#include "gfx2/ncamera2.h"
#include "audio3/nlistener3.h"

class nScriptServer;
class nGfxServer2;
class nPrefServer;
class nLocaleServer;
class nInputServer;
class nSceneServer;
class nVideoServer;
class nGuiServer;
class nAudioServer3;
class nAppState;
class nAppCamera;

class nApplication : public nRoot
{
public:
    nApplication();

    /// create and open every server; false (closed again) when the scene or audio will not open
    virtual bool Open();
    /// close and release what Open made, also after a failed Open
    virtual void Close();
    /// the main loop; returns once a quit was requested
    virtual void Run();

    /// select the state that runs from the top of the next pass
    void SetState(const nString& stateName);
    /// the state of that name below "appstates", or null
    nAppState* FindState(const nString& stateName) const;
    /// create a state of the class below "appstates" and tie it to the application
    nAppState* CreateState(const nString& className, const nString& stateName);
    /// the running state's name, empty when none runs
    nString GetCurrentState() const;

    void SetQuitRequested(bool b) { this->quitRequested = b; }
    bool GetQuitRequested() const { return this->quitRequested; }
    bool IsOpen() const { return this->isOpen; }

    void SetCompanyName(const nString& name) { this->companyName = name; }
    const nString& GetCompanyName() const { return this->companyName; }
    void SetAppName(const nString& name) { this->appName = name; }
    const nString& GetAppName() const { return this->appName; }
    void SetStartupScript(const nString& path) { this->startupScript = path; }
    void SetLocaleTable(const nString& path) { this->localeTable = path; }
    const nString& GetProjDir() const { return this->projDir; }
    /// time since the previous frame in seconds, at least 0.0001
    double GetFrameTime() const { return this->frameTime; }
    /// the time at the start of the current frame
    double GetTime() const { return this->time; }
    /// the time since the last state switch
    double GetStateTime() const { return this->stateTime; }

protected:
    /// asserts that the application was closed
    ~nApplication() override;

    virtual nScriptServer* CreateScriptServer();
    virtual nGfxServer2* CreateGfxServer();
    virtual nInputServer* CreateInputServer();
    virtual nRoot* CreateConsoleServer();
    virtual nRoot* CreateResourceServer();
    virtual nSceneServer* CreateSceneServer();
    virtual nRoot* CreateVariableServer();
    virtual nRoot* CreateAnimationServer();
    virtual nVideoServer* CreateVideoServer();
    virtual nGuiServer* CreateGuiServer();
    virtual nAudioServer3* CreateAudioServer();
    virtual nPrefServer* CreatePrefServer();
    virtual nLocaleServer* CreateLocaleServer();
    virtual nAppCamera* CreateAppCamera();

    /// read the time server into time, frameTime and stateTime
    virtual void UpdateTimes();
    /// leave the running state and enter the selected one
    virtual void DoStateTransition();
    /// one frame of every server and the running state
    virtual void DoFrame();
    virtual void OnRender3D();
    virtual void OnRender2D();
    virtual void OnPreRender();
    virtual void OnPostRender();

    bool isOpen;
    bool quitRequested;
    /// made by Open; Close releases them in its own order, before the members go
    nStrongRef<nScriptServer> refScriptServer;
    nStrongRef<nGfxServer2> refGfxServer;
    nStrongRef<nInputServer> refInputServer;
    nStrongRef<nRoot> refConsoleServer;
    nStrongRef<nRoot> refResourceServer;
    nStrongRef<nSceneServer> refSceneServer;
    nStrongRef<nRoot> refVariableServer;
    nStrongRef<nRoot> refAnimationServer;
    nStrongRef<nVideoServer> refVideoServer;
    nStrongRef<nGuiServer> refGuiServer;
    nStrongRef<nAudioServer3> refAudioServer;
    nStrongRef<nPrefServer> refPrefServer;
    nStrongRef<nLocaleServer> refLocaleServer;
    nStrongRef<nRoot> refAppStates;
    /// the resource server's pools, where it keeps them
    nRef<nRoot> refSharedResources;
    /// the states live below "appstates"
    nRef<nAppState> curState;
    nRef<nAppState> nextState;
    nString projDir;
    nString companyName;
    nString appName;
    nString startupScript;
    nString localeTable;
    nDisplayMode2 displayMode;
    nCamera2 camera;
    double stateStartTime;
    double time;
    double stateTime;
    double frameTime;
    nListener3 listener;
    nAppCamera* appCamera;

private:
    /// a new server of the class at the path, as the class the application drives it by
    template <class TYPE> static TYPE* NewServer(const char* className, const char* path);
    /// the servers that Open got as far as opening; Close closes only these
    struct Opened
    {
        bool remote = false;
        bool scene = false;
        bool video = false;
        bool audio = false;
        bool gui = false;
    };
    void CreateServers();
    void OpenGui();
    /// the render path's GUI pass: the GUI and the console
    void RenderGui();
    void CloseServers();
    void ReleaseServers();
    /// mark the application, its states and servers in use (scripts may not delete or rename them), or unmark
    void MarkInUse(bool inUse);
    /// Open's failure path: close what was opened, return false
    bool FailOpen();

    Opened opened;
};
#endif
