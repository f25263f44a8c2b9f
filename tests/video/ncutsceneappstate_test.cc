//------------------------------------------------------------------------------
//  The cut-scene state on the playing video server: it moves on when the
//  video ends, when it cannot be played, or when "esc" or "space" is
//  held; and the video's sound reaches OpenAL.
//------------------------------------------------------------------------------
#include "videofixture.h"

#include "application/napplication.h"
#include "application/ncutsceneappstate.h"
#include "kernel/nmodule.h"
#include "nopenal/nopenalserver.h"

#include <cstdlib>

namespace
{

/// an application that is never opened: just its states and the switch between them
class CutSceneHost : public nApplication
{
public:
    void MakeStates()
    {
        kernelServer->PushCwd(this);
        this->refAppStates.adopt(static_cast<nRoot*>(kernelServer->New("nroot", "appstates")));
        kernelServer->PopCwd();
    }
    /// the state selected for the next pass, empty when none
    std::string Selected() const { return this->nextState.isvalid() ? this->nextState->GetName() : ""; }
};

/// a cut scene whose video and next state the test names
class TestCutScene : public nCutSceneAppState
{
public:
    void Set(const std::string& file, bool scaling, const char* next)
    {
        this->videoFilename = file.c_str();
        this->enableScaling = scaling;
        this->nextState = next;
    }
};

N_IMPLEMENT_MODULE(cutscenehost, CutSceneHost, "napplication", nullptr)
N_IMPLEMENT_MODULE(testcutscene, TestCutScene, "ncutsceneappstate", nullptr)

class CutSceneTest : public VideoTest
{
protected:
    void SetUp() override
    {
        VideoTest::SetUp();
        N_ADD_MODULE(this->ks.get(), cutscenehost);
        N_ADD_MODULE(this->ks.get(), testcutscene);
        this->OpenDisplay(800, 600);
        this->app = static_cast<CutSceneHost*>(this->ks->New("cutscenehost", "/app"));
        this->app->MakeStates();
        this->app->CreateState("nappstate", "menu");
        this->state = static_cast<TestCutScene*>(this->app->CreateState("testcutscene", "intro"));
        this->input->BeginMap();
        this->input->Map("keyb0:esc.pressed", "esc");
        this->input->Map("keyb0:space.pressed", "space");
        this->input->EndMap();
    }

    /// a frame of the input server alone (the key stays held until released)
    void Press(KeyEvent k)
    {
        nInputEvent* e = this->input->NewEvent();
        e->SetType(k.type);
        e->SetDeviceId(N_INPUT_KEYBOARD0);
        e->SetIndex(k.key);
        this->input->LinkEvent(e);
        this->time->Trigger();
        this->input->Trigger(this->time->GetTime());
        this->input->FlushEvents();
    }

    /// a frame of the application: input and video, then the state
    void AppFrame(std::initializer_list<KeyEvent> keys = {})
    {
        for (const KeyEvent& k : keys)
        {
            nInputEvent* e = this->input->NewEvent();
            e->SetType(k.type);
            e->SetDeviceId(N_INPUT_KEYBOARD0);
            e->SetIndex(k.key);
            this->input->LinkEvent(e);
        }
        this->time->Trigger();
        this->input->Trigger(this->time->GetTime());
        this->video->Trigger();
        this->state->OnFrame();
        this->input->FlushEvents();
    }

    CutSceneHost* app = nullptr;
    TestCutScene* state = nullptr;
};

}  // namespace

TEST_F(CutSceneTest, TheStateMovesOnWhenTheVideoEnds)
{
    this->state->Set(Fixture("bars64.mpg"), true, "menu");
    this->state->OnStateEnter("");
    EXPECT_TRUE(this->video->IsPlaying());
    EXPECT_TRUE(this->video->GetEnableScaling());
    int frames = 0;
    while (this->video->IsPlaying() && frames < 100)
    {
        EXPECT_EQ(this->app->Selected(), "");
        this->AppFrame();
        frames++;
    }
    EXPECT_EQ(this->app->Selected(), "menu");
}

TEST_F(CutSceneTest, AVideoThatCannotBePlayedMovesOnInTheFirstFrame)
{
    this->state->Set(Fixture("tone.wav"), false, "menu");
    this->state->OnStateEnter("");
    EXPECT_FALSE(this->video->IsPlaying());
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
    this->AppFrame();
    EXPECT_EQ(this->app->Selected(), "menu");
}

TEST_F(CutSceneTest, HoldingEscOrSpaceSkipsTheVideo)
{
    for (int key : {KeyEsc, KeySpace})
    {
        this->app->SetState("intro");
        this->state->Set(Fixture("bars320.mpg"), false, "menu");
        this->state->OnStateEnter("");
        this->AppFrame();
        EXPECT_EQ(this->app->Selected(), "intro");
        this->AppFrame({{N_INPUT_KEY_DOWN, key}});
        EXPECT_EQ(this->app->Selected(), "menu") << key;
        this->state->OnStateLeave("menu");
        EXPECT_FALSE(this->video->IsPlaying());
        this->Press({N_INPUT_KEY_UP, key});
    }
}

TEST_F(CutSceneTest, HoldingSpaceWhenTheSceneStartsSkipsItOnTheFirstFrame)
{
    this->state->Set(Fixture("bars320.mpg"), false, "menu");
    this->Press({N_INPUT_KEY_DOWN, KeySpace});
    this->state->OnStateEnter("");
    ASSERT_TRUE(this->video->IsPlaying());
    this->AppFrame();
    EXPECT_EQ(this->app->Selected(), "menu");
}

TEST_F(CutSceneTest, EnteringStopsAVideoThatPlaysAndLeavingStopsItsOwn)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->state->Set(Fixture("bars64.mpg"), false, "menu");
    this->state->OnStateEnter("");
    EXPECT_EQ(this->video->GetVideoWidth(), 64);
    this->state->OnStateLeave("menu");
    EXPECT_FALSE(this->video->IsPlaying());
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
}

TEST_F(CutSceneTest, TheVideoSoundReachesOpenAL)
{
    // a real mixer without a sound card (CTest carries only one variable per discovered test)
    setenv("ALSOFT_DRIVERS", "null", 1);
    auto* audio = static_cast<nOpenALServer*>(this->ks->New("nopenalserver", "/sys/servers/audio"));
    ASSERT_TRUE(audio->Open());
    this->state->Set(Fixture("bars320.mpg"), false, "menu");
    this->state->OnStateEnter("");
    for (int i = 0; i < 5; i++) this->AppFrame();
    const nVideoSound& sound = this->video->GetSound();
    ASSERT_TRUE(sound.IsActive());
    EXPECT_GT(sound.GetBytesQueued(), 0u);
    ALint state = 0;
    alGetSourcei(sound.GetSource(), AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PLAYING);
    // the audio server's own tables know nothing of it
    EXPECT_EQ(audio->GetNumSources(), 0);
    this->state->OnStateLeave("menu");
    EXPECT_FALSE(sound.IsActive());
    audio->Close();
}
