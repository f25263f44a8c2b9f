#ifndef TESTS_GAME_GAMEAPP_H
#define TESTS_GAME_GAMEAPP_H
//------------------------------------------------------------------------------
//  The game application over the application tests' stand-in servers: a
//  kernel with the packages nApp needs, recording stand-ins in place of the
//  game's intro and menu states (unless a test asks for the real ones; the
//  match state is always the real one), library assigns in a temporary
//  directory, and an audio server that makes plain sounds.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "application/standins.h"
#include "capturelog.h"
#include "usertempdir.h"
#include "game/napp.h"
#include "kernel/nkernelserver.h"
#include "audio3/naudioserver3.h"
#include "video/nvideoserver.h"

#include <filesystem>
#include <memory>
#include <string>

class nKernelServer;

/// nApp whose factories make the stand-ins (unrecorded); its own camera, audio and pref choices
/// are tested apart
class TestGameApp : public StandInFactories<nApp>
{
public:
    TestGameApp() { this->recordCreates = false; }
    /// the game's own preference server factory
    nPrefServer* GamePrefServer() { return nApp::CreatePrefServer(); }
    /// the directory "proj:" names once open
    void SetProjDir(const char* dirName) { this->projDir = dirName; }
    /// the display mode Open hands to the graphics server
    const nDisplayMode2& GetDisplayMode() const { return this->displayMode; }
    /// the frame time the states read this frame
    void SetFrameTime(double t) { this->frameTime = t; }
    /// the display's mode sizes the preferences are checked against (none: unknown)
    nScreenSizes screenSizes;

protected:
    nVideoServer* CreateVideoServer() override;
    nAudioServer3* CreateAudioServer() override;
    nScreenSizes GetScreenSizes() const override { return this->screenSizes; }
};

/// an audio server whose sounds are objects of SoundClass below it
class SoundMaker : public nAudioServer3
{
public:
    nSound3* NewSound() override;

protected:
    /// the class of the sounds made
    virtual const char* SoundClass() const { return "nsound3"; }

private:
    int count = 0;
};

/// a video server that records what it is asked to play and can refuse to play it
class RecordingVideo : public nVideoServer
{
public:
    /// records "video.PlayFile <file> scaled|unscaled"; false (not playing) when failToPlay is set
    bool PlayFile(const char* filename) override;

    bool failToPlay = false;
};

/// registers testgameapp, the sound-making audio server and the recording video server
void ngametest_package();

/// a kernel with every package the game application needs and the stand-ins, then the further
/// package; an early package comes first of all, so that classes of its names take the place of
/// the engine's own (a later module of the same name is ignored); with standInStates the intro
/// and menu states are recording stand-ins (registered before the game's package), else the
/// game's own
std::unique_ptr<nKernelServer> NewGameKernel(nPackageFunc more = nullptr, nPackageFunc early = nullptr,
                                             bool standInStates = true);

class GameAppTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// a file of the text below the temporary directory, directories made
    std::string Write(const std::string& rel, const std::string& text);
    /// the assigns "gfxlib", "objects", "levels", "meshes" at sub-directories of the temporary one
    void AssignLibraries();

    /// the game's own intro and menu states instead of the stand-ins (set before SetUp)
    bool realStates = false;
    CaptureLog log;
    std::filesystem::path dir;
    std::unique_ptr<nKernelServer> ks;
    TestGameApp* app = nullptr;
};

/// a persistence script that makes an nroot with the given body
std::string N2Root(const std::string& body);
#endif
