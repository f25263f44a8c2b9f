#ifndef TESTS_GAME_MATCHFIXTURE_H
#define TESTS_GAME_MATCHFIXTURE_H
//------------------------------------------------------------------------------
//  A match over the game application's stand-ins: the application open
//  with "home:" and "sound:" in a temporary directory, sound descriptions
//  for every match sound, prototypes of a boxer and its parts, and a level
//  "l01" whose logic puts two boxers facing each other (and a counting
//  object) into the match. A GUI server stand-in records the system
//  GUI switch and holds a root window for the match's widgets.
//------------------------------------------------------------------------------
#include "gameapp.h"

#include "game/ngame.h"
#include "game/ngamelogic.h"
#include "game/ngameobject.h"
#include "game/nfx.h"
#include "game/nboxer.h"
#include "game/nfist2.h"
#include "audio3/nsound3.h"

#include <string>
#include <vector>

/// a game object that counts its frames and its renders
class CountingObject : public nGameObject
{
public:
    void Trigger(float* dt) override;
    void Render() override;
    int triggers = 0;
    int renders = 0;
};

/// a game object that, like the player, writes its progression into
/// "/usr/players/me/score" when it is destroyed
class ProgressObject : public nGameObject
{
protected:
    ~ProgressObject() override;
};

/// an effect that counts its frames and its renders
class CountingFX : public nFX
{
public:
    void Trigger(float* dt) override;
    void Render() override;
    int triggers = 0;
    int renders = 0;
};

/// the level's logic: the counting object, then two boxers facing each other
class TwoBoxerLogic : public nGameLogic
{
public:
    void Start() override;
    void Stop() override;
    int starts = 0;
    int stops = 0;
    nRef<nBoxer> player;
    nRef<nBoxer> opponent;
    nRef<CountingObject> counter;
};

/// a sound that knows whether it plays and counts its starts; like an
/// audio device's, it loads only when its file exists and refuses (fatally)
/// to start without data
class PlayingSound : public nSound3
{
public:
    void Start() override
    {
        n_assert(this->IsValid());
        this->playing = true;
        this->starts++;
    }
    void Stop() override { this->playing = false; }
    bool IsPlaying() override { return this->playing; }
    bool playing = false;
    int starts = 0;

protected:
    bool LoadResource() override;
    void UnloadResource() override { this->SetState(Unloaded); }
};

/// the GUI calls the match made, in order
std::vector<std::string>& GuiCalls();

/// registers the classes above, the GUI stand-ins and the application that makes them
void nmatchtest_package();

class MatchTest : public GameAppTest
{
protected:
    void SetUp() override;

    /// the prototype "/usr/lib/objects/<name>" with the test model and an optional geom
    nRoot* Proto(const char* name, const char* geom = nullptr);
    /// an nenv of the prototype
    nEnv* Var(nRoot* proto, const char* name);
    /// the application's frame time is dt, then the match's frame
    void Frame(float dt);
    /// n frames of dt
    void Frames(int n, float dt);
    /// enter the match and run its first frame (which moves nothing)
    void Enter();
    /// the start phase over
    void PastStart();
    /// the level's logic
    TwoBoxerLogic* Logic();
    nBoxer* Player() { return this->Logic()->player.get(); }
    nBoxer* Opponent() { return this->Logic()->opponent.get(); }
    /// place the fist at the point, its geom with it, as a frame would
    static void PutFist(nFist2* fist, const vector3& p);
    /// the geoms of the boxer and its fists at their transforms
    static void SyncGeoms(nBoxer* boxer);

    nGame* game = nullptr;
    nRoot* boxerProto = nullptr;
};

/// the persistence-script text of a sound description
std::string SoundDesc(const char* file);
#endif
