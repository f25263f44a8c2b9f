//------------------------------------------------------------------------------
//  napp.cc
//------------------------------------------------------------------------------
#include "game/napp.h"
#include "game/ngamecamera.h"
#include "game/nwindowprefs.h"
#include "application/nappstate.h"
#include "application/ngfxobject.h"
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "kernel/ndirectory.h"
#include "kernel/nenv.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/nref.h"
#include "kernel/nscriptserver.h"
#include "locale/nlocaleserver.h"
#include "misc/nprefserver.h"
#include "opende/nopendeserver.h"
#include "opende/nopendeworld.h"
#include "platform/nplatformwindow.h"

#include <cstring>

nApp* nApp::m_pSelf = nullptr;

namespace
{

const char* const PhysServerPath = "/sys/servers/phys";
const char* const WorldPath = "/sys/servers/phys/world";
const char* const SpacePath = "/sys/servers/phys/world/space";
const char* const SoundDescPath = "/usr/temp/sounds";

/*
 * HasN2Extension --
 *     Results: true when the file name's extension is "n2".
 */
bool HasN2Extension(const char* path)
{
    const nString name(path);
    const char* ext = name.GetExtension();
    return ext && (0 == strcmp(ext, "n2"));
}

/*
 * ReadVar --
 *     Results: the nenv child of the description holding a value of the
 *     type, or 0 (reported) when it is missing or holds another type.
 */
nEnv* ReadVar(nRoot* desc, const char* name, nArg::Type type)
{
    nRoot* child = desc->Find(name);
    nEnv* var = (child && child->IsA("nenv")) ? static_cast<nEnv*>(child) : nullptr;
    if (!var || (var->GetType() != type))
    {
        n_printf("nApp: sound description '%s' needs a %s value '%s'\n", desc->GetName(), nEnv::TypeName(type), name);
        return nullptr;
    }
    return var;
}

}  // namespace

nApp::nApp() :
    m_pCamera(nullptr),
    m_pIntroState(nullptr),
    m_pMenuState(nullptr),
    m_pGameState(nullptr)
{
    n_assert(0 == m_pSelf);
    m_pSelf = this;
    this->SetCompanyName(nString("Zorvek Games"));
    this->SetAppName(nString("Boxing"));
}

nApp::~nApp()
{
    m_pSelf = nullptr;
}

/*
 * Instance --
 *     Results: the one game application; asserts that it exists.
 */
nApp* nApp::Instance()
{
    n_assert(m_pSelf);
    return m_pSelf;
}

/*
 * CreateAudioServer --
 *     Results: the OpenAL audio server at "/sys/servers/audio".
 */
nAudioServer3* nApp::CreateAudioServer()
{
    return static_cast<nAudioServer3*>(kernelServer->New("nopenalserver", "/sys/servers/audio"));
}

/*
 * CreatePrefServer --
 *     Results: the script preference server at "/sys/servers/pref".
 *     Side effects: the server opens with the application's names, and
 *     the window size and type the launcher stored become the display
 *     mode (a size larger than the screen gives way to the largest
 *     screen size that fits), which Open hands to the graphics server
 *     right after.
 */
nPrefServer* nApp::CreatePrefServer()
{
    nPrefServer* prefs = static_cast<nPrefServer*>(kernelServer->New("nscriptprefserver", "/sys/servers/pref"));
    prefs->SetCompanyName(this->GetCompanyName());
    prefs->SetApplicationName(this->GetAppName());
    nApplyWindowPrefs(prefs, this->displayMode, this->GetScreenSizes());
    return prefs;
}

/*
 * GetScreenSizes --
 *     Results: the sizes of the display's modes; none when the platform
 *     cannot tell (no display), and then no stored size is refused.
 */
nScreenSizes nApp::GetScreenSizes() const
{
    return nPlatformWindow::DisplayModes();
}

/*
 * CreateAppCamera --
 *     Results: the game camera, unrotated at (0, 0, 20), kept in m_pCamera.
 */
nAppCamera* nApp::CreateAppCamera()
{
    this->m_pCamera = n_new(nGameCamera);
    this->m_pCamera->SetEuler(vector3(0.0f, 0.0f, 0.0f));
    this->m_pCamera->SetPosition(vector3(0.0f, 0.0f, 20.0f));
    return this->m_pCamera;
}

/*
 * Close --
 *     Side effects: the physics space and the libraries are no longer in use; forgets the
 *     camera and states, which the engine application deletes, then
 *     closes it.
 */
void nApp::Close()
{
    for (nRoot* used : {static_cast<nRoot*>(this->m_refSpace.get_unsafe()), this->m_refLibModels.get_unsafe(),
                        this->m_refLibObjects.get_unsafe()})
    {
        if (used) kernelServer->RemInUse(used);
    }
    this->m_pCamera = nullptr;
    this->m_pIntroState = nullptr;
    this->m_pMenuState = nullptr;
    this->m_pGameState = nullptr;
    nApplication::Close();
    this->homeLock.Release();
}

/*
 * OpenPhysics --
 *     Side effects: the physics server, the world (gravity -9.8 along y,
 *     10 quick-step iterations, auto-disable at 0.008 linear and angular
 *     after 10 steps) and the top-level hash space, in use until Close;
 *     each is kept if an earlier application of this kernel made it
 *     already.
 */
void nApp::OpenPhysics()
{
    if (!kernelServer->Lookup(PhysServerPath))
    {
        n_assert(kernelServer->New("nopendeserver", "/sys/servers/phys"));
    }
    nOpendeWorld* pWorld = static_cast<nOpendeWorld*>(kernelServer->Lookup(WorldPath));
    if (!pWorld) pWorld = static_cast<nOpendeWorld*>(kernelServer->New("nopendeworld", WorldPath));
    n_assert(pWorld != 0);
    pWorld->SetGravity(vector3(0.0f, -9.8f, 0.0f));
    pWorld->SetQuickStepNumIterations(10);
    pWorld->SetAutoDisableFlag(1);
    pWorld->SetAutoDisableLinearThreshold(0.008f);
    pWorld->SetAutoDisableAngularThreshold(0.008f);
    pWorld->SetAutoDisableSteps(10);

    nRoot* space = kernelServer->Lookup(SpacePath);
    if (!space)
    {
        space = static_cast<nRoot*>(kernelServer->New("nopendehashspace", SpacePath));
        static_cast<nOpendeHashSpace*>(space)->Create("none");
    }
    this->m_refSpace = static_cast<nOpendeHashSpace*>(space);
    n_assert(m_refSpace.isvalid());
    // every match frame steps this world and collides in this space
    kernelServer->AddInUse(space);
}

/*
 * Open --
 *     Results: false when the engine application does not open.
 *     Side effects: physics, the script server reference, the libraries
 *     of "gfxlib:", "objects:" and "levels:" (the first two in use until
 *     Close), the states "intro",
 *     "main_menu" and "game"; "main_menu" is selected.
 */
bool nApp::Open()
{
    // taken before the preference server exists, which saves when it closes
    this->homeLock.Acquire(nHomeLock::FileName);
    if (!nApplication::Open()) return false;
    this->OpenPhysics();
    this->m_refScriptServer = static_cast<nScriptServer*>(kernelServer->Lookup("/sys/servers/script"));

    this->LoadLibrary("gfxlib:/", &nApp::LoadModel);
    this->LoadLibrary("objects:/", &nApp::LoadObject);
    this->LoadLibrary("levels:/", &nApp::LoadLevel);
    // the match clones its boxers and objects from these
    for (nRoot* lib : {this->m_refLibModels.get_unsafe(), this->m_refLibObjects.get_unsafe()})
    {
        if (lib) kernelServer->AddInUse(lib);
    }

    this->m_pIntroState = this->CreateState(nString("nintro"), nString("intro"));
    this->m_pMenuState = this->CreateState(nString("nmainmenu"), nString("main_menu"));
    this->m_pGameState = this->CreateState(nString("ngame"), nString("game"));
    this->SetState(nString("main_menu"));
    return true;
}

/*
 * LoadLibrary --
 *     Side effects: every plain file of the directory whose extension is
 *     "n2" goes, with its full path and in name order, to the loader;
 *     sub-directories are not entered. A directory that does not open
 *     is skipped.
 */
void nApp::LoadLibrary(const char* dirName, void (nApp::*load)(const nString&))
{
    nDirectory* dir = nFileServer2::Instance()->NewDirectoryObject();
    if (dir->Open(dirName))
    {
        if (!dir->IsEmpty())
        {
            do
            {
                const char* entry = dir->GetEntryName();
                if ((dir->GetEntryType() == nDirectory::FILE) && HasN2Extension(entry))
                {
                    (this->*load)(nString(entry));
                }
            } while (dir->SetToNextEntry());
        }
        dir->Close();
    }
    n_delete(dir);
}

/*
 * LibraryNode --
 *     Results: the node at the path, created as an nroot when missing.
 */
nRoot* nApp::LibraryNode(const char* path)
{
    nRoot* node = kernelServer->Lookup(path);
    if (!node) node = static_cast<nRoot*>(kernelServer->New("nroot", path));
    return node;
}

namespace
{

/// clears the script server's fail-on-error while it lives: what loads
/// meanwhile is outside data, so a script error in it (a file cut short,
/// a typo) is reported and ends only its load
class ScriptErrorsReported
{
public:
    ScriptErrorsReported()
    {
        nRoot* obj = nKernelServer::Instance()->Lookup("/sys/servers/script");
        if (!obj || !obj->IsA("nscriptserver")) return;
        this->script = static_cast<nScriptServer*>(obj);
        this->failOnError = this->script->GetFailOnError();
        this->script->SetFailOnError(false);
    }
    ~ScriptErrorsReported()
    {
        if (this->script.isvalid()) this->script->SetFailOnError(this->failOnError);
    }
    ScriptErrorsReported(const ScriptErrorsReported&) = delete;
    ScriptErrorsReported& operator=(const ScriptErrorsReported&) = delete;

private:
    nRef<nScriptServer> script;
    bool failOnError = true;
};

}  // namespace

/*
 * LoadData --
 *     Results: the object the file makes, named as given or after the
 *     file; 0 when it makes none.
 *     Side effects: the script server's fail-on-error is cleared while the
 *     file loads (ScriptErrorsReported).
 */
nObject* nApp::LoadData(const char* path, const char* name)
{
    const ScriptErrorsReported reported;
    return name ? kernelServer->LoadAs(path, name) : kernelServer->Load(path);
}

/*
 * LoadData --
 *     Results: the object's Load; false when its file is broken.
 *     Side effects: as the object's Load, with fail-on-error cleared.
 */
bool nApp::LoadData(nGfxObject& object)
{
    const ScriptErrorsReported reported;
    return object.Load();
}

/*
 * LoadInto --
 *     Side effects: loads the file with the node as the working object, so
 *     what it makes becomes the node's child; a broken file is reported
 *     and leaves nothing (or what it made before its fault).
 */
void nApp::LoadInto(nRoot* node, const nString& file)
{
    kernelServer->PushCwd(node);
    LoadData(file.Get());
    kernelServer->PopCwd();
}

void nApp::LoadModel(const nString& model)
{
    n_assert(model.IsEmpty() == false);
    if (!this->m_refLibModels.isvalid()) this->m_refLibModels = LibraryNode("/usr/lib/models");
    n_assert(m_refLibModels.isvalid() == true);
    LoadInto(this->m_refLibModels.get(), model);
}

void nApp::LoadObject(const nString& object)
{
    n_assert(object.IsEmpty() == false);
    if (!this->m_refLibObjects.isvalid()) this->m_refLibObjects = LibraryNode("/usr/lib/objects");
    n_assert(m_refLibObjects.isvalid() == true);
    LoadInto(this->m_refLibObjects.get(), object);
}

void nApp::LoadLevel(const nString& level)
{
    n_assert(level.IsEmpty() == false);
    nRoot* pLevel = LibraryNode("/usr/lib/levels");
    n_assert(pLevel != 0);
    LoadInto(pLevel, level);
}

/*
 * RunScript --
 *     Side effects: runs the data scripts' procedure of that name through
 *     the script server; its result and errors are the script server's
 *     to report, the game goes on.
 */
void nApp::RunScript(const char* procName)
{
    n_assert(m_refScriptServer.isvalid());
    nString result;
    this->m_refScriptServer->RunFunction(procName, result);
}

/*
 * ReadSoundDesc --
 *     Results: false (reported) when one of "filename", "looping",
 *     "ambient", "min-dist", "max-dist" is missing or of another type.
 *     Side effects: sets the sound's file name, flags and distances.
 */
bool nApp::ReadSoundDesc(nRoot* desc, nSound3* sound)
{
    nEnv* filename = ReadVar(desc, "filename", nArg::String);
    nEnv* looping = ReadVar(desc, "looping", nArg::Bool);
    nEnv* ambient = ReadVar(desc, "ambient", nArg::Bool);
    nEnv* minDist = ReadVar(desc, "min-dist", nArg::Float);
    nEnv* maxDist = ReadVar(desc, "max-dist", nArg::Float);
    if (!filename || !looping || !ambient || !minDist || !maxDist) return false;
    sound->SetFilename(nString(filename->GetS()));
    sound->SetLooping(looping->GetB());
    sound->SetAmbient(ambient->GetB());
    sound->SetMinDist(minDist->GetF());
    sound->SetMaxDist(maxDist->GetF());
    return true;
}

/*
 * LoadSound --
 *     Results: a new sound named after the description, set from its five
 *     values and loaded; 0 (reported) when the description does not load
 *     or lacks a value, or when there is no audio server that makes sounds.
 *     The description loads as LoadData loads: a broken one is reported.
 *     Side effects: the description object lives below "/usr/temp/sounds"
 *     only while it is read.
 */
nSound3* nApp::LoadSound(const char* descFile)
{
    n_assert(descFile);
    nRoot* cwd = LibraryNode(SoundDescPath);
    n_assert(cwd != 0);
    kernelServer->PushCwd(cwd);
    nObject* loaded = LoadData(descFile);
    kernelServer->PopCwd();
    nRoot* proto = (loaded && loaded->IsA("nroot")) ? static_cast<nRoot*>(loaded) : nullptr;
    if (!proto)
    {
        n_printf("nApp: the sound description '%s' does not load\n", descFile);
        if (loaded) loaded->Release();
        return nullptr;
    }
    nAudioServer3* audio = dynamic_cast<nAudioServer3*>(kernelServer->Lookup("/sys/servers/audio"));
    nSound3* pSound = audio ? audio->NewSound() : nullptr;
    if (!pSound)
    {
        n_printf("nApp: no audio server makes the sound of '%s'\n", descFile);
        proto->Release();
        return nullptr;
    }
    pSound->SetName(descFile);
    const bool complete = ReadSoundDesc(proto, pSound);
    proto->Release();
    if (!complete)
    {
        pSound->Release();
        return nullptr;
    }
    pSound->Load();
    return pSound;
}

/*
 * CreateSound --
 *     Results: LoadSound for the sound-instance type; 0 for any other
 *     type, loading nothing.
 */
nSound3* nApp::CreateSound(const char* descFile, int rsrcType)
{
    if (rsrcType != SoundInstanceType) return nullptr;
    return this->LoadSound(descFile);
}

nGameCamera* nApp::GetCamera() const
{
    n_assert(m_pCamera != 0);
    return this->m_pCamera;
}

nOpendeHashSpace* nApp::GetSpace() const
{
    return this->m_refSpace.isvalid() ? this->m_refSpace.get() : nullptr;
}

/*
 * GetLocaleText --
 *     Results: the locale server's text of the id; the id itself when no
 *     locale server is open (an application that is not open).
 */
const char* nApp::GetLocaleText(const char* id) const
{
    nLocaleServer* locale = dynamic_cast<nLocaleServer*>(kernelServer->Lookup("/sys/servers/locale"));
    return (locale && locale->IsOpen()) ? locale->GetLocaleText(id) : id;
}

/*
 * SetListener --
 *     Side effects: the application's listener takes the matrix and the
 *     velocity; the frame hands it to the audio server.
 */
void nApp::SetListener(const matrix44& m, const vector3& velocity)
{
    this->listener.SetTransform(m);
    this->listener.SetVelocity(velocity);
}
