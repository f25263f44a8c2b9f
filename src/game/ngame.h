#ifndef N_GAME_H
#define N_GAME_H
//------------------------------------------------------------------------------
/**
    @class nGame
    @ingroup Game

    The application state "game": one boxing match. Entering it builds the
    match (input mapping, light, scene and effect folders, sounds, the
    level's match logic that places ring and boxers, a 1.5-second start
    phase in which nobody may punch); every frame it scales the frame time
    (time multiplier, final slow motion, slow-time bonus) and advances
    timers, logic, game objects and effects with it, and puts the audio
    listener at the camera; at render time it attaches light, objects and
    effects to the scene.

    It owns the players' progression: "home:players.n2" is loaded into
    "/usr/players" when the state is made and saved back, in the binary
    format, when it goes. Game objects reach it through Instance for the
    scaled frame time, the hit sounds, the contact records and the bonus
    flags. One instance.
*/
#include "application/nappstate.h"
#include "kernel/nautoref.h"
#include "opende/nopendelayer.h"
#include "kernel/nstrongref.h"

#include <memory>

class nGameLogic;
class nGameObject;
class nGfxObject;
class nSound3;
class nFX;
class nOpendeWorld;

class nGame : public nAppState
{
public:
    nGame();

    /// the one match state (asserts it exists)
    static nGame* Instance();
    /// whether the match state exists
    static bool HasInstance() { return m_pSelf != nullptr; }

    void OnStateEnter(const nString& prevState) override;
    void OnStateLeave(const nString& nextState) override;
    /// the match's frame with the application's frame time
    void OnFrame() override;
    /// the match's frame with the given frame time in seconds (OnFrame's work)
    void RunFrame(float appFrameTime);
    void OnRender3D() override;

    /// build a fresh match; the previous one must have been cleaned up
    void SetupMatch();
    /// tear the match down; doing it twice does nothing more
    void CleanupMatch();
    /// clean up and set up again, in place; ignored outside a match
    void Restart();
    /// pause or resume a match (cursor and ambient sound follow); ignored outside a match
    void SetPause(bool b);
    bool IsPaused() const { return this->paused; }
    /// the script's time multiplier; clamped to 0 or more
    void SetTimeMultiplier(float m);
    float GetTimeMultiplier() const { return this->timeMultiplier; }
    void ToggleEyeView() { this->eyeView = !this->eyeView; }
    bool IsEyeView() const { return this->eyeView; }
    /// the path of the player's prototype (asserts a non-empty one)
    void SetPlayerProto(const nString& proto);
    /// the player's prototype path (asserts it is set)
    const nString& GetPlayerProto() const;
    bool HasPlayerProto() const { return !this->m_strPlayerProto.IsEmpty(); }

    /// the frame time every game object gets this frame
    float GetFrameDt() const { return this->scaledTime; }
    /// the match logic (asserts it)
    nGameLogic* GetLogic() const;
    bool IsStarting() const { return this->starting; }
    bool IsSlowMotion() const { return this->finalSlowMotion; }
    bool IsFatalPunch() const { return this->fatalPunch; }
    /// whether a match is set up and not cleaned up
    bool IsMatchRunning() const { return this->matchSetUp; }
    /// the four contact records of the hit tests
    dContact* GetContacts() { return this->contacts.get(); }
    static const int NumContacts = 4;
    int GetTimeVar() const { return this->timeVar; }
    int GetOneVar() const { return this->oneVar; }
    float GetSlowProgress() const;
    float GetFatalPunchProgress() const;
    int GetBonusTimeMode() const { return this->bonusTimeMode; }

    /// the blow that decides the match: time runs out over two-thirds of a second
    void StartFinalSlowMotion();
    /// the slow-time bonus
    void SetBonusTime(int mode, float duration);
    /// the fatal-punch bonus
    void SetFatalPunch(float duration);

    /// a new object of the class below "/usr/scene", numbered; 0 when there is no such class
    nRoot* NewObject(const nString& cl);
    /// a new effect of the scene node at the position below "/usr/fx_scene"; 0 when none can be made
    nFX* SpawnFX(const nString& path, const vector3& pos);
    /// the short burst where a punch lands; nothing when the game data has no such effect
    void SpawnHitFX(const vector3& pos);

    void PlayHitSound(const matrix44& m);
    void PlayHitFaceSound(const matrix44& m);
    void PlayPlayerHitSound(const matrix44& m);
    void PlayAIHitSound(const matrix44& m);
    void PlayGong();
    void PlayWon();
    void PlayExcite();

    /// start the sound when its file loaded; one that did not stays silent
    static void StartSound(nSound3* sound);

    /// what the player should be told about the saved progress (unreadable, not saved), or empty
    const nString& GetSaveNotice() const { return this->saveNotice; }

protected:
    /// saves the players after the match's clean-up, then frees the contacts
    ~nGame() override;

private:
    /// the per-match flags and clocks to their start values
    void ResetMatchState();
    /// the eight sounds, the ambient one started
    void CreateSounds();
    /// the folder at the path, made fresh; 0 (fatal) when one is left from a match not cleaned up
    nRoot* NewFolder(const char* path);
    /// the scaled time of this frame from the application's frame time
    void ScaleTime(float appFrameTime);
    /// every game object and every effect, with the scaled time
    void TriggerObjects();
    /// "/usr/players" from the players' file, when there is one
    void LoadPlayers();
    /// "/usr/players" into the players' file, in the binary format, unless another copy of the game runs
    void SavePlayers();
    /// the level's logic when it is one, else 0
    nGameLogic* FindLogic() const;
    /// set the transform, then stop and start
    static void Replay(nStrongRef<nSound3>& sound, const matrix44* m);

    static nGame* m_pSelf;

    int bonusTimeMode;
    nAutoRef<nRoot> m_refLogic;
    nStrongRef<nRoot> m_refScene;
    nStrongRef<nRoot> m_refFXFolder;
    nStrongRef<nSound3> m_refEnvSound;
    nStrongRef<nSound3> m_refHandHitSound;
    nStrongRef<nSound3> m_refFaceHitSound;
    nStrongRef<nSound3> m_refMissSound;
    nStrongRef<nSound3> m_refAIMissSound;
    nStrongRef<nSound3> m_refGongSound;
    nStrongRef<nSound3> m_refExciteSound;
    nStrongRef<nSound3> m_refWonSound;
    std::unique_ptr<nGfxObject> light;
    nString m_strPlayerProto;
    nString saveNotice;
    /// false when the players' file must not or cannot be replaced this run
    bool maySavePlayers = true;
    int timeVar;
    int oneVar;
    int objectCount;
    int fxCount;
    int startTimer;
    float frameTime;
    float scaledTime;
    float timeFactor;
    float timeMultiplier;
    float bonusTimeElapsed;
    float bonusTimeDuration;
    float fatalPunchElapsed;
    float fatalPunchDuration;
    bool paused;
    bool starting;
    bool eyeView;
    bool running;
    bool finalSlowMotion;
    bool fatalPunch;
    bool matchSetUp;
    nRef<nOpendeWorld> m_refPhysWorld;
    /// the timer server this state made, and releases
    nStrongRef<nRoot> refTimerServer;
    /// the classes the frame sorts the folders' children by, looked up once
    const nClass* gameObjectClass;
    const nClass* fxClass;
    const nClass* logicClass;
    nOpendeUser odeUser;
    dJointGroupID contactGroup;
    std::unique_ptr<dContact[]> contacts;
};
#endif
