#ifndef N_APP_H
#define N_APP_H
//------------------------------------------------------------------------------
/**
    @class nApp
    @ingroup Game

    The boxing game's application: the engine application with the
    physics world and its collision space, the libraries of models,
    objects and levels under "/usr/lib" loaded from the data, the game's
    three states (starting in the main menu), sounds built from small
    description scripts, and calls into the data scripts by name.
    One instance, "theApp".
*/
#include "application/napplication.h"
#include "opende/nopendehashspace.h"
#include "game/nhomelock.h"
#include "game/nwindowprefs.h"

class nSound3;
class nGfxObject;
class nGameCamera;

class nApp : public nApplication
{
public:
    nApp();

    /// the one game application (asserts it exists)
    static nApp* Instance();
    /// whether the game application exists (objects made outside a game check it)
    static bool HasInstance() { return m_pSelf != nullptr; }
    /// a data file loaded with fail-on-error cleared (as name, or its own name when null); 0 when it makes nothing
    static nObject* LoadData(const char* path, const char* name = nullptr);
    /// a graphics object's file loaded as LoadData loads; false when it does not load
    static bool LoadData(nGfxObject& object);

    /// the engine application's Open, then physics, libraries, states; false when the base fails
    bool Open() override;
    /// forget the camera and states, then the engine application's Close
    void Close() override;

    /// run a procedure of the data scripts by name; its result is ignored
    void RunScript(const char* procName);
    /// load a ".n2" model description below "/usr/lib/models"
    void LoadModel(const nString& model);
    /// load a ".n2" object prototype below "/usr/lib/objects"
    void LoadObject(const nString& object);
    /// load a ".n2" level below "/usr/lib/levels"
    void LoadLevel(const nString& level);
    /// a loaded sound built from a description script, or 0 when the description is unusable
    nSound3* LoadSound(const char* descFile);
    /// LoadSound for the sound-instance type (64); 0 for any other type
    nSound3* CreateSound(const char* descFile, int rsrcType);
    /// the application camera (asserts it exists)
    nGameCamera* GetCamera() const;
    /// the collision space of the physics world
    nOpendeHashSpace* GetSpace() const;
    /// the audio listener takes the matrix and velocity; the frame hands it to the audio server
    void SetListener(const matrix44& m, const vector3& velocity);
    const nListener3& GetListener() const { return this->listener; }
    /// the locale text of an id, or the id itself when there is no locale server
    const char* GetLocaleText(const char* id) const;

    /// whether this program may write the files of its home directory (no other copy runs there)
    bool MaySaveHome() const { return !this->homeLock.HeldElsewhere(); }

    /// the sound-instance resource type, the only one CreateSound makes
    static const int SoundInstanceType = 64;

protected:
    /// clears the instance pointer
    ~nApp() override;

    nAudioServer3* CreateAudioServer() override;
    nPrefServer* CreatePrefServer() override;
    nAppCamera* CreateAppCamera() override;
    /// the display's mode sizes a stored window size must fit (the platform's display modes)
    virtual nScreenSizes GetScreenSizes() const;

private:
    /// the physics server, the world with the game's settings, the top-level hash space
    void OpenPhysics();
    /// every ".n2" file directly in the directory, in name order, through the loader
    void LoadLibrary(const char* dirName, void (nApp::*load)(const nString&));
    /// the library node at the path, created as an nroot when missing
    static nRoot* LibraryNode(const char* path);
    /// the file loaded with the node as the working object
    static void LoadInto(nRoot* node, const nString& file);
    /// the description's five values into the sound; false when one is missing or mistyped
    static bool ReadSoundDesc(nRoot* desc, nSound3* sound);

    static nApp* m_pSelf;

    nRef<nOpendeHashSpace> m_refSpace;
    nRef<nScriptServer> m_refScriptServer;
    nRef<nRoot> m_refLibModels;
    nRef<nRoot> m_refLibObjects;
    nGameCamera* m_pCamera;
    nAppState* m_pIntroState;
    nAppState* m_pMenuState;
    nAppState* m_pGameState;
    nHomeLock homeLock;
};
#endif
