//------------------------------------------------------------------------------
//  napplication.cc
//------------------------------------------------------------------------------
#include "application/napplication.h"
#include "application/nappstate.h"
#include "application/nappcamera.h"
#include "application/nconserver.h"
#include "input/ninputserver.h"
#include "scene/nsceneserver.h"
#include "renderpath/nrenderpath2.h"
#include "video/nvideoserver.h"
#include "gui/nguiserver.h"
#include "gui/nguiwindow.h"
#include "audio3/naudioserver3.h"
#include "gfx2/ngfxserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nfileserver2.h"
#include "kernel/nremoteserver.h"
#include "kernel/nscriptserver.h"
#include "kernel/ntimeserver.h"
#include "locale/nlocaleserver.h"
#include "misc/nprefserver.h"
#include "mathlib/vector2.h"

namespace
{

/// the kernel's remote-control server, or null when its class is not registered
nRemoteServer* RemoteServer(const nKernelServer* ks)
{
    return static_cast<nRemoteServer*>(ks->GetRemoteServerObject());
}

}  // namespace

nApplication::nApplication() :
    isOpen(false),
    quitRequested(false),
    companyName("Tavik Labs GmbH"),
    appName("Generic"),
    startupScript("proj:data/scripts/startup.tcl"),
    stateStartTime(0.0),
    time(0.0),
    stateTime(0.0),
    frameTime(0.0),
    appCamera(nullptr)
{
    // empty
}

nApplication::~nApplication()
{
    n_assert(!this->IsOpen());
}

/*
 * NewServer --
 *     Results: the new object at the path as TYPE. A class that is not a
 *     TYPE is the deriving program's mistake: fatal.
 */
template <class TYPE>
TYPE* nApplication::NewServer(const char* className, const char* path)
{
    nObject* obj = kernelServer->New(className, path);
    TYPE* server = dynamic_cast<TYPE*>(obj);
    if (!server)
    {
        kernelServer->Error("nApplication: the class '%s' at '%s' cannot serve there!\n", className, path);
    }
    return server;
}

nScriptServer* nApplication::CreateScriptServer()
{
    return NewServer<nScriptServer>("ntclserver", "/sys/servers/script");
}

nGfxServer2* nApplication::CreateGfxServer()
{
    return NewServer<nGfxServer2>("nd3d9server", "/sys/servers/gfx");
}

nInputServer* nApplication::CreateInputServer()
{
    return NewServer<nInputServer>("ndi8server", "/sys/servers/input");
}

nRoot* nApplication::CreateConsoleServer()
{
    return NewServer<nRoot>("nconserver", "/sys/servers/console");
}

nRoot* nApplication::CreateResourceServer()
{
    return NewServer<nRoot>("nresourceserver", "/sys/servers/resource");
}

nSceneServer* nApplication::CreateSceneServer()
{
    return NewServer<nSceneServer>("nmrtsceneserver", "/sys/servers/scene");
}

nRoot* nApplication::CreateVariableServer()
{
    return NewServer<nRoot>("nvariableserver", "/sys/servers/variable");
}

nRoot* nApplication::CreateAnimationServer()
{
    return NewServer<nRoot>("nanimationserver", "/sys/servers/anim");
}

nVideoServer* nApplication::CreateVideoServer()
{
    return NewServer<nVideoServer>("ndshowserver", "/sys/servers/video");
}

nGuiServer* nApplication::CreateGuiServer()
{
    return NewServer<nGuiServer>("nguiserver", "/sys/servers/gui");
}

/// the program overrides it: no audio server of this name is registered
nAudioServer3* nApplication::CreateAudioServer()
{
    return NewServer<nAudioServer3>("ndsoundserver3", "/sys/servers/audio");
}

/// the program overrides it with a concrete store
nPrefServer* nApplication::CreatePrefServer()
{
    return NewServer<nPrefServer>("nprefserver", "/sys/servers/nwin32prefserver");
}

nLocaleServer* nApplication::CreateLocaleServer()
{
    return NewServer<nLocaleServer>("nlocaleserver", "/sys/servers/locale");
}

nAppCamera* nApplication::CreateAppCamera()
{
    return n_new(nAppCamera);
}

/*
 * CreateServers --
 *     Side effects: every server but the input server is created, in
 *     Open's order, and referenced.
 */
void nApplication::CreateServers()
{
    this->refScriptServer.adopt(this->CreateScriptServer());
    this->refGfxServer.adopt(this->CreateGfxServer());
    this->refConsoleServer.adopt(this->CreateConsoleServer());
    this->refResourceServer.adopt(this->CreateResourceServer());
    this->refSceneServer.adopt(this->CreateSceneServer());
    this->refVariableServer.adopt(this->CreateVariableServer());
    this->refAnimationServer.adopt(this->CreateAnimationServer());
    this->refVideoServer.adopt(this->CreateVideoServer());
    this->refGuiServer.adopt(this->CreateGuiServer());
    this->refAudioServer.adopt(this->CreateAudioServer());
    this->refPrefServer.adopt(this->CreatePrefServer());
    this->refLocaleServer.adopt(this->CreateLocaleServer());
}

/*
 * OpenGui --
 *     Side effects: the GUI server covers the display and has a visible
 *     root window of class "nguiwindow".
 */
void nApplication::OpenGui()
{
    nGuiServer* gui = this->refGuiServer.get();
    gui->SetRootPath("/gui");
    gui->SetDisplaySize(vector2(float(this->displayMode.GetWidth()), float(this->displayMode.GetHeight())));
    this->opened.gui = gui->Open();
    gui->SetRootWindowPointer(nullptr);
    nGuiWindow* window = gui->NewWindow("nguiwindow", true);
    gui->SetRootWindowPointer(window);
}

/*
 * FailOpen --
 *     Results: false.
 *     Side effects: closes the half-opened application.
 */
bool nApplication::FailOpen()
{
    this->Close();
    return false;
}

/*
 * Open --
 *     Results: true when every server is open; false when the scene or
 *     the audio server would not open, and the application is closed
 *     again (do not Run it then).
 *     Side effects: creates the servers and "appstates", sets "proj:",
 *     opens the remote-control port, runs the start-up script and its
 *     script functions, opens display, video, input, audio and GUI, makes
 *     the application camera.
 */
bool nApplication::Open()
{
    n_assert(!this->isOpen);
    n_assert(0 == this->appCamera);
    this->quitRequested = false;
    this->opened = Opened();

    this->CreateServers();
    this->refPrefServer->SetCompanyName(this->companyName);
    this->refPrefServer->SetApplicationName(this->appName);

    kernelServer->PushCwd(this);
    this->refAppStates.adopt(static_cast<nRoot*>(kernelServer->New("nroot", "appstates")));
    kernelServer->PopCwd();
    this->refSharedResources = kernelServer->Lookup("/sys/share/rsrc");

    nFileServer2* fileServer = kernelServer->GetFileServer();
    if (this->projDir.IsEmpty())
    {
        fileServer->SetAssign("proj", fileServer->GetAssign("home"));
    }
    else
    {
        fileServer->SetAssign("proj", this->projDir.Get());
    }

    // a port that is taken already (a second instance) leaves the program without remote control
    nRemoteServer* remote = RemoteServer(kernelServer);
    if (remote && !remote->IsOpen())
    {
        this->opened.remote = remote->Open(this->appName.Get());
    }

    nString result;
    this->refScriptServer->RunScript(this->startupScript.Get(), result);
    this->refScriptServer->RunFunction("OnStartup", result);

    if (!this->localeTable.IsEmpty())
    {
        this->refLocaleServer->SetFilename(this->localeTable.Get());
        this->refLocaleServer->Open();
    }

    fileServer->MakePath("appdata:");
    fileServer->MakePath("save:");

    this->refGfxServer->SetDisplayMode(this->displayMode);
    this->refGfxServer->SetCamera(this->camera);
    this->refScriptServer->RunFunction("OnGraphicsStartup", result);

    if (!this->refSceneServer->Open()) return this->FailOpen();
    this->opened.scene = true;
    this->refSceneServer->GetRenderPath()->SetGuiRenderer([this] { this->RenderGui(); });
    this->opened.video = this->refVideoServer->Open();

    this->refInputServer.adopt(this->CreateInputServer());
    this->refScriptServer->RunFunction("OnMapInput", result);

    if (!this->refAudioServer->Open()) return this->FailOpen();
    this->opened.audio = true;
    this->OpenGui();

    this->appCamera = this->CreateAppCamera();
    this->isOpen = true;
    this->MarkInUse(true);
    return true;
}

/*
 * MarkInUse --
 *     Side effects: with inUse, the application, its states' parent, its
 *     servers and the resource pools are in use for the kernel, which
 *     then refuses scripts that delete or rename them or what holds them:
 *     every frame reaches them; without, they are no longer (once per
 *     mark).
 */
void nApplication::MarkInUse(bool inUse)
{
    nRoot* const used[] = {
        this,
        this->refAppStates.get_unsafe(),
        this->refScriptServer.get_unsafe(),
        this->refGfxServer.get_unsafe(),
        this->refInputServer.get_unsafe(),
        this->refConsoleServer.get_unsafe(),
        this->refResourceServer.get_unsafe(),
        this->refSceneServer.get_unsafe(),
        this->refVariableServer.get_unsafe(),
        this->refAnimationServer.get_unsafe(),
        this->refVideoServer.get_unsafe(),
        this->refGuiServer.get_unsafe(),
        this->refAudioServer.get_unsafe(),
        this->refPrefServer.get_unsafe(),
        this->refLocaleServer.get_unsafe(),
        this->refSharedResources.get_unsafe(),
    };
    for (nRoot* obj : used)
    {
        if (!obj) continue;
        if (inUse) kernelServer->AddInUse(obj);
        else kernelServer->RemInUse(obj);
    }
}

/*
 * RenderGui --
 *     Side effects: what the render path's GUI pass draws over the scene:
 *     the GUI server's windows once it is open, then the console's text,
 *     when a console exists.
 */
void nApplication::RenderGui()
{
    if (this->opened.gui && this->refGuiServer.isvalid()) this->refGuiServer->Render();
    nConServer* console = nConServer::InstanceOrNull();
    if (console) console->Render();
}

/*
 * CloseServers --
 *     Side effects: closes, in Close's order, the servers that are still
 *     there and that Open opened; a half-opened application has servers
 *     that were made but never opened, and their Close would assert.
 */
void nApplication::CloseServers()
{
    if (this->opened.gui && this->refGuiServer.isvalid()) this->refGuiServer->Close();
    if (this->opened.scene && this->refSceneServer.isvalid()) this->refSceneServer->Close();
    if (this->opened.audio && this->refAudioServer.isvalid()) this->refAudioServer->Close();
    if (this->opened.video && this->refVideoServer.isvalid() && this->refVideoServer->IsOpen())
    {
        this->refVideoServer->Close();
    }
    if (this->refLocaleServer.isvalid() && this->refLocaleServer->IsOpen()) this->refLocaleServer->Close();
    nRemoteServer* remote = RemoteServer(kernelServer);
    if (this->opened.remote && remote && remote->IsOpen()) remote->Close();
    this->opened = Opened();
}

/*
 * ReleaseServers --
 *     Side effects: releases the servers in Close's order.
 */
void nApplication::ReleaseServers()
{
    this->refLocaleServer.reset();
    this->refPrefServer.reset();
    this->refAudioServer.reset();
    this->refGuiServer.reset();
    this->refVideoServer.reset();
    this->refAnimationServer.reset();
    this->refVariableServer.reset();
    this->refSceneServer.reset();
    this->refConsoleServer.reset();
    this->refInputServer.reset();
    this->refGfxServer.reset();
    this->refResourceServer.reset();
    this->refScriptServer.reset();
}

/*
 * Close --
 *     Side effects: deletes the application camera, releases the states,
 *     closes what Open opened and releases the servers. Safe on a
 *     half-opened or a closed application.
 */
void nApplication::Close()
{
    if (this->isOpen) this->MarkInUse(false);
    if (this->curState.isvalid()) kernelServer->RemInUse(this->curState.get());
    if (this->appCamera)
    {
        n_delete(this->appCamera);
        this->appCamera = nullptr;
    }
    this->refAppStates.reset();
    this->CloseServers();
    this->ReleaseServers();
    this->isOpen = false;
}

/*
 * Run --
 *     Side effects: runs passes of time update, pending state switch,
 *     render-path validation and frame until a quit is requested; the
 *     frame that requests it is finished.
 */
void nApplication::Run()
{
    while (!this->quitRequested)
    {
        this->UpdateTimes();
        if (!this->curState.isvalid() ||
            (this->nextState.isvalid() && this->nextState.get() != this->curState.get()))
        {
            this->DoStateTransition();
        }
        this->refSceneServer->GetRenderPath()->Validate();
        this->DoFrame();
    }
}

/*
 * UpdateTimes --
 *     Side effects: time takes the time server's time; frameTime the
 *     difference to the last frame, with a floor of 0.0001 seconds (the
 *     single-precision constant, widened) for a frame that saw no time
 *     pass; stateTime the time since the last state switch.
 */
void nApplication::UpdateTimes()
{
    nTimeServer* timeServer = nTimeServer::Instance();
    timeServer->Trigger();
    const double t = timeServer->GetTime();
    this->frameTime = t - this->time;
    if (this->frameTime <= 0.0)
    {
        this->frameTime = double(0.0001f);
    }
    this->time = t;
    this->stateTime = this->time - this->stateStartTime;
}

/*
 * DoStateTransition --
 *     Side effects: the running state leaves for the selected one, which
 *     enters (with the empty name on the first switch); the selected
 *     state runs from now and the state time starts again. A state
 *     selected meanwhile is entered at the next pass.
 */
void nApplication::DoStateTransition()
{
    n_assert(this->nextState.isvalid());
    // a state may select another one while it leaves or enters (the menu
    // scripts do): that selection is switched to at the next pass, and the
    // state that entered here is the one that runs meanwhile
    nAppState* next = this->nextState.get();
    if (this->curState.isvalid())
    {
        n_assert(this->curState.get() != next);
        this->curState->OnStateLeave(nString(next->GetName()));
        next->OnStateEnter(nString(this->curState->GetName()));
    }
    else
    {
        next->OnStateEnter(nString());
    }
    if (this->curState.isvalid()) kernelServer->RemInUse(this->curState.get());
    this->curState = next;
    kernelServer->AddInUse(next);
    this->stateStartTime = this->time;
}

/*
 * DoFrame --
 *     Side effects: one frame in the fixed order: GUI time, script and
 *     window pump (false from either requests a quit, the frame goes
 *     on), kernel, remote control, input, GUI, video, the state's frame,
 *     the audio scene, rendering unless a dialog box is up or the scene
 *     does not begin, the end of the audio scene, the input flush.
 */
void nApplication::DoFrame()
{
    n_assert(this->appCamera);
    n_assert(this->curState.isvalid());

    this->refGuiServer->SetTime(this->time);
    if (!this->refScriptServer->Trigger()) this->quitRequested = true;
    if (!this->refGfxServer->Trigger()) this->quitRequested = true;
    kernelServer->Trigger();
    // a running program answers its remote-control clients
    nRemoteServer* remote = RemoteServer(kernelServer);
    if (remote) remote->Trigger();
    this->refInputServer->Trigger(this->time);
    this->refGuiServer->Trigger();
    // a script may have closed the video server (its own command)
    if (this->refVideoServer->IsOpen()) this->refVideoServer->Trigger();
    this->curState->OnFrame();

    this->refAudioServer->BeginScene(this->time);
    this->refAudioServer->UpdateListener(this->listener);
    if (!this->refGfxServer->InDialogBoxMode())
    {
        this->OnPreRender();
        nSceneServer* scene = this->refSceneServer.get();
        if (scene->BeginScene(this->appCamera->GetTransform()))
        {
            this->OnRender3D();
            scene->RenderScene();
            scene->EndScene();
            this->OnPostRender();
            this->OnRender2D();
            scene->PresentScene();
        }
    }
    this->refAudioServer->EndScene();
    this->refInputServer->FlushEvents();
}

void nApplication::OnRender3D()
{
    n_assert(this->curState.isvalid());
    this->curState->OnRender3D();
}

void nApplication::OnRender2D()
{
    n_assert(this->curState.isvalid());
    this->curState->OnRender2D();
}

void nApplication::OnPreRender()
{
    n_assert(this->curState.isvalid());
    this->curState->OnPreRender();
}

void nApplication::OnPostRender()
{
    n_assert(this->curState.isvalid());
    this->curState->OnPostRender();
}

/*
 * FindState --
 *     Results: the application state of that name below "appstates", or
 *     null (also before Open made "appstates"). The name comes from
 *     scripts: "." and ".." and objects that scripts put there which are
 *     no states are not found.
 */
nAppState* nApplication::FindState(const nString& stateName) const
{
    n_assert(!stateName.IsEmpty());
    if (!this->refAppStates.isvalid()) return nullptr;
    nRoot* appStates = this->refAppStates.get();
    nRoot* obj = appStates->Find(stateName.Get());
    if (!obj || obj->GetParent() != appStates || !obj->IsA("nappstate")) return nullptr;
    return static_cast<nAppState*>(obj);
}

/*
 * SetState --
 *     Side effects: the named state is selected for the top of the next
 *     pass; an unknown name prints a message and keeps the selection.
 */
void nApplication::SetState(const nString& stateName)
{
    n_assert(!stateName.IsEmpty());
    nAppState* state = this->FindState(stateName);
    if (!state)
    {
        n_printf("nApplication::SetState(): invalid app state '%s'!\n", stateName.Get());
        return;
    }
    if (state == this->curState.get_unsafe()) return;
    this->nextState = state;
}

/*
 * CreateState --
 *     Results: a new state of the class named stateName below
 *     "appstates", tied to the application.
 */
nAppState* nApplication::CreateState(const nString& className, const nString& stateName)
{
    n_assert(!className.IsEmpty());
    n_assert(!stateName.IsEmpty());
    n_assert(!this->refAppStates->Find(stateName.Get()));
    kernelServer->PushCwd(this->refAppStates.get());
    nAppState* state = static_cast<nAppState*>(kernelServer->New(className.Get(), stateName.Get()));
    kernelServer->PopCwd();
    n_assert(state->IsA("nappstate"));
    state->SetApp(this);
    return state;
}

nString nApplication::GetCurrentState() const
{
    if (!this->curState.isvalid()) return nString();
    return nString(this->curState->GetName());
}
