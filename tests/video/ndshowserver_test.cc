//------------------------------------------------------------------------------
//  The playing video server on the recording null device: where the
//  picture goes, the frames, keys and end of file that stop it, what it
//  changes on the graphics server and gives back, the files it refuses,
//  and its script commands.
//------------------------------------------------------------------------------
#include "videofixture.h"

#include "tclrun.h"

#include <algorithm>

namespace
{

/// how many recorded device calls begin with the text
int CountCalls(const nNullDevice* dev, const std::string& prefix)
{
    return (int)std::count_if(dev->calls.begin(), dev->calls.end(),
                              [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

class PlayTest : public VideoTest
{
protected:
    void SetUp() override
    {
        VideoTest::SetUp();
        this->OpenDisplay(800, 600);
    }
};

}  // namespace

TEST_F(PlayTest, AVideoWithoutScalingIsCentredAtItsOwnSize)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    EXPECT_EQ(this->video->GetVideoX(), 240);
    EXPECT_EQ(this->video->GetVideoY(), 180);
    EXPECT_EQ(this->video->GetVideoWidth(), 320);
    EXPECT_EQ(this->video->GetVideoHeight(), 240);
}

TEST_F(PlayTest, AScaledVideoCoversTheClientArea)
{
    this->video->SetEnableScaling(true);
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    EXPECT_EQ(this->video->GetVideoX(), 0);
    EXPECT_EQ(this->video->GetVideoY(), 0);
    EXPECT_EQ(this->video->GetVideoWidth(), 800);
    EXPECT_EQ(this->video->GetVideoHeight(), 600);
}

TEST_F(PlayTest, AVideoLargerThanTheWindowIsCentredAndCropped)
{
    this->gfx->CloseDisplay();
    this->OpenDisplay(200, 100);
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    EXPECT_EQ(this->video->GetVideoX(), -60);
    EXPECT_EQ(this->video->GetVideoY(), -70);
}

TEST_F(PlayTest, PlayingTakesTheDisplayAndStoppingGivesItBack)
{
    this->gfx->SetCursorVisibility(nGfxServer2::Custom);
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    EXPECT_TRUE(this->video->IsPlaying());
    EXPECT_TRUE(this->gfx->InDialogBoxMode());
    EXPECT_EQ(this->gfx->GetCursorVisibility(), nGfxServer2::None);
    this->video->Stop();
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
    EXPECT_FALSE(this->gfx->GetDisplayMode().GetDialogBoxMode());
    EXPECT_EQ(this->gfx->GetCursorVisibility(), nGfxServer2::Custom);
    EXPECT_EQ(CountCalls(this->dev, "ReleaseTexture"), 1);
}

TEST_F(PlayTest, EachNewPictureIsUploadedDrawnAndPresentedOnce)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    EXPECT_EQ(CountCalls(this->dev, "CreateTexture 2D 320x240"), 1);
    this->dev->calls.clear();
    this->Frame({}, 0.0001);
    this->Frame({}, 0.0001);
    this->Frame({}, 0.0001);
    EXPECT_EQ(CountCalls(this->dev, "UploadTexture"), 1);
    EXPECT_EQ(CountCalls(this->dev, "Draw "), 1);
    EXPECT_EQ(CountCalls(this->dev, "Present"), 1);
    this->Frame();
    EXPECT_EQ(CountCalls(this->dev, "UploadTexture"), 2);
    EXPECT_EQ(CountCalls(this->dev, "Present"), 2);
}

TEST_F(PlayTest, PlaybackEndsByItselfAtTheEndOfTheFile)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    const int frames = this->FramesUntilStopped();
    EXPECT_FALSE(this->video->IsPlaying());
    // a second of 25 pictures, each shown for its 0.04 s
    EXPECT_GE(frames, 24);
    EXPECT_LE(frames, 26);
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
}

TEST_F(PlayTest, AClockJumpPastTheEndStopsAtOnce)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->Frame({}, 30.0);
    EXPECT_FALSE(this->video->IsPlaying());
}

struct KeyCase
{
    const char* name;
    KeyEvent event;
    bool stops;
};

class StopKeyTest : public PlayTest, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(StopKeyTest, AKeyInTheFirstFrameIsIgnoredAndInTheSecondTakenIfItIsAPressOfEscOrSpace)
{
    const KeyCase& c = GetParam();
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->Frame({c.event});
    EXPECT_TRUE(this->video->IsPlaying());
    this->Frame({c.event});
    EXPECT_EQ(this->video->IsPlaying(), !c.stops);
}

INSTANTIATE_TEST_SUITE_P(Keys, StopKeyTest,
                         ::testing::Values(KeyCase{"EscDown", {N_INPUT_KEY_DOWN, KeyEsc}, true},
                                           KeyCase{"SpaceDown", {N_INPUT_KEY_DOWN, KeySpace}, true},
                                           KeyCase{"EscUp", {N_INPUT_KEY_UP, KeyEsc}, false},
                                           KeyCase{"EscChar", {N_INPUT_KEY_CHAR, KeyEsc}, false},
                                           KeyCase{"OtherKeyDown", {N_INPUT_KEY_DOWN, KeyA}, false}),
                         [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST_F(PlayTest, TheEndOfTheFileInTheFrameOfAKeyPressStopsOnce)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->Frame();
    this->Frame({{N_INPUT_KEY_DOWN, KeyEsc}}, 30.0);
    EXPECT_FALSE(this->video->IsPlaying());
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
    this->Frame({{N_INPUT_KEY_DOWN, KeyEsc}});
    EXPECT_FALSE(this->video->IsPlaying());
}

TEST_F(PlayTest, PlayingWhilePlayingStopsTheFirstAndStartsTheSecond)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->Frame();
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars64.mpg").c_str()));
    EXPECT_TRUE(this->video->IsPlaying());
    EXPECT_TRUE(this->gfx->InDialogBoxMode());
    EXPECT_EQ(this->video->GetVideoWidth(), 64);
    EXPECT_EQ(CountCalls(this->dev, "ReleaseTexture"), 1);
    // the second starts afresh: its first frame ignores keys again
    this->Frame({{N_INPUT_KEY_DOWN, KeyEsc}});
    EXPECT_TRUE(this->video->IsPlaying());
}

TEST_F(PlayTest, AVideoPlaysAlsoWhenTheDisplayModeAlreadyAsksForDialogBoxes)
{
    nDisplayMode2 mode = this->gfx->GetDisplayMode();
    mode.SetDialogBoxMode(true);
    this->gfx->SetDisplayMode(mode);
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars64.mpg").c_str()));
    this->video->Stop();
    EXPECT_TRUE(this->gfx->GetDisplayMode().GetDialogBoxMode());
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
}

struct RefusedCase
{
    const char* name;
    const char* file;
    const char* message;
};

class RefusedFileTest : public PlayTest, public ::testing::WithParamInterface<RefusedCase>
{
};

TEST_P(RefusedFileTest, AFileThatCannotBePlayedReturnsFalseWithAMessageAndChangesNothing)
{
    const RefusedCase& c = GetParam();
    this->TakeLog();
    const std::string path = c.file[0] == '/' ? c.file : Fixture(c.file);
    EXPECT_FALSE(this->video->PlayFile(path.c_str()));
    EXPECT_FALSE(this->video->IsPlaying());
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
    EXPECT_EQ(this->gfx->GetCursorVisibility(), nGfxServer2::System);
    const std::string text = this->TakeLog();
    EXPECT_NE(text.find("nDShowServer::PlayFile(): could not render file"), std::string::npos) << text;
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
    EXPECT_EQ(CountCalls(this->dev, "CreateTexture"), CountCalls(this->dev, "ReleaseTexture"));
    this->Frame();
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedFileTest,
                         ::testing::Values(RefusedCase{"Missing", "nosuchfile.mpg", "cannot be opened"},
                                           RefusedCase{"Directory", "/tmp", "cannot be opened"},
                                           RefusedCase{"SoundOnly", "tone.mpg", "no decodable video stream"},
                                           RefusedCase{"SoundContainer", "tone.wav", "not a video file"},
                                           RefusedCase{"NotAVideo", "../videofixture.h", "not a video file"}),
                         [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST_F(PlayTest, PicturesLargerThanTheDeviceTexturesAreRefused)
{
    this->dev->maxTextureSize = 256;
    this->TakeLog();
    EXPECT_FALSE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    EXPECT_NE(this->TakeLog().find("its pictures of 320x240 exceed the largest texture (256)"), std::string::npos);
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
}

TEST_F(PlayTest, ADisplayThatCannotDrawRefusesToPlay)
{
    this->gfx->CloseDisplay();
    EXPECT_FALSE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    EXPECT_NE(this->TakeLog().find("the display cannot draw"), std::string::npos);
    EXPECT_FALSE(this->video->IsPlaying());
}

TEST_F(PlayTest, ClosingTheDisplayUnderAPlayingVideoLetsItStopCleanly)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars320.mpg").c_str()));
    this->Frame();
    // the application closes the scene (and with it the display) before the video server
    this->gfx->CloseDisplay();
    this->video->Close();
    EXPECT_FALSE(this->video->IsPlaying());
    EXPECT_FALSE(this->video->IsOpen());
}

TEST_F(PlayTest, AStreamWithoutTimestampsPlaysByItsFrameRate)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars64.m1v").c_str()));
    const int frames = this->FramesUntilStopped();
    EXPECT_GE(frames, 4);
    EXPECT_LE(frames, 6);
}

TEST_F(PlayTest, ARunningClockSleepsBetweenPicturesInsteadOfSpinning)
{
    this->time->LockDeltaT(0.0);
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars64.mpg").c_str()));
    int triggers = 0;
    while (this->video->IsPlaying() && triggers < 10000)
    {
        this->time->Trigger();
        this->video->Trigger();
        triggers++;
    }
    EXPECT_FALSE(this->video->IsPlaying());
    // five pictures: about one Trigger each, plus the end; a spinning loop makes thousands
    EXPECT_LE(triggers, 20);
}

//--- script commands --------------------------------------------------------------------

TEST_F(PlayTest, TheScriptCommandsDriveTheServer)
{
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.isopen"), "true");
    TclFails(this->script, "/sys/servers/video.open");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.getenablescaling"), "false");
    TclOk(this->script, "/sys/servers/video.setenablescaling true");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.getenablescaling"), "true");
    TclFails(this->script, "/sys/servers/video.stop");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.playfile " + Fixture("bars64.mpg")), "true");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.isplaying"), "true");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.playfile " + Fixture("bars320.mpg")), "true");
    TclOk(this->script, "/sys/servers/video.stop");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.isplaying"), "false");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.playfile nosuchfile.mpg"), "false");
    TclFails(this->script, "/sys/servers/video.playfile {}");
    TclOk(this->script, "/sys/servers/video.close");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.isopen"), "false");
    TclFails(this->script, "/sys/servers/video.close");
    EXPECT_EQ(TclOk(this->script, "/sys/servers/video.open"), "true");
}

TEST_F(PlayTest, DeletingAPlayingServerGivesTheDisplayBack)
{
    ASSERT_TRUE(this->video->PlayFile(Fixture("bars64.mpg").c_str()));
    TclOk(this->script, "delete /sys/servers/video");
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
}

TEST_F(PlayTest, TheBaseServerKeepsOnlyItsFlagsAndMayBeDeletedWhileOpenAndPlaying)
{
    TclOk(this->script, "delete /sys/servers/video");
    TclOk(this->script, "new nvideoserver /base");
    EXPECT_EQ(TclOk(this->script, "/base.open"), "true");
    EXPECT_EQ(TclOk(this->script, "/base.playfile anything"), "true");
    EXPECT_EQ(TclOk(this->script, "/base.isplaying"), "true");
    EXPECT_FALSE(this->gfx->InDialogBoxMode());
    TclOk(this->script, "delete /base");
    TclOk(this->script, "new nvideoserver /base2");
}
