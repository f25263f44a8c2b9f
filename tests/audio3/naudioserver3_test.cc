//------------------------------------------------------------------------------
//  The audio server interface and the sound classes without an
//  implementation: defaults, the master volume commands, Reset, the frame
//  protocol and closing at destruction.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "audio3/naudio3package.h"
#include "audio3/naudioserver3.h"
#include "audio3/nlistener3.h"
#include "audio3/nsound3.h"
#include "audio3/nsoundresource.h"
#include "capturelog.h"
#include "file/nfilepackage.h"
#include "kernel/nkernelserver.h"
#include "kernel/nscriptserver.h"
#include "resource/nresourcepackage.h"
#include "resource/nresourceserver.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "util/assertdeath.h"

#include <cmath>
#include <memory>
#include <string>

namespace
{

class AudioServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nfile_package, nsignals_package, nscript_package, nresource_package, naudio3_package});
        this->ks->SetLogHandler(&this->log);
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
        this->audio = static_cast<nAudioServer3*>(this->ks->New("naudioserver3", "/sys/servers/audio"));
    }

    /// a sound instance of the base class in the pool of sound instances
    nSound3* NewBaseSound()
    {
        return static_cast<nSound3*>(this->rs->NewResource("nsound3", nullptr, nResource::SoundInstance));
    }

    std::string Tcl(const std::string& str, bool ok = true)
    {
        this->script->SetFailOnError(false);
        nString result;
        EXPECT_EQ(ok, this->script->Run(str.c_str(), result)) << str << ": " << result.Get();
        return result.Get();
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nResourceServer* rs = nullptr;
    nAudioServer3* audio = nullptr;
};

TEST_F(AudioServerTest, NewSoundInstanceHasTheDocumentedDefaults)
{
    nSound3* s = this->NewBaseSound();
    ASSERT_NE(s, nullptr);
    EXPECT_FLOAT_EQ(s->GetVolume(), 1.0f);
    EXPECT_TRUE(s->GetTransform().pos_component().isequal(vector3(0, 0, 0), 0.0f));
    EXPECT_FLOAT_EQ(s->GetTransform().x_component().x, 1.0f);
    EXPECT_FLOAT_EQ(s->GetTransform().y_component().y, 1.0f);
    EXPECT_FLOAT_EQ(s->GetTransform().z_component().z, 1.0f);
    EXPECT_TRUE(s->GetVelocity().isequal(vector3(0, 0, 0), 0.0f));
    EXPECT_FLOAT_EQ(s->GetMinDist(), 10.0f);
    EXPECT_FLOAT_EQ(s->GetMaxDist(), 100.0f);
    EXPECT_FALSE(s->GetLooping());
    EXPECT_FALSE(s->GetAmbient());
    EXPECT_FALSE(s->GetStreaming());
    EXPECT_EQ(s->GetNumTracks(), 5);
    EXPECT_TRUE(s->IsVolumeDirty());
    EXPECT_TRUE(s->ArePropsDirty());
    EXPECT_FALSE(s->IsPlaying());
    s->Release();

    nSoundResource* r = static_cast<nSoundResource*>(this->rs->NewResource("nsoundresource", "a.wav", nResource::SoundResource));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetNumTracks(), 5);
    EXPECT_FALSE(r->GetLooping());
    r->Release();

    nListener3 l;
    EXPECT_FLOAT_EQ(l.GetTransform().z_component().z, 1.0f);
    EXPECT_FLOAT_EQ(l.GetRollOffFactor(), 1.0f);
    EXPECT_FLOAT_EQ(l.GetDopplerFactor(), 1.0f);
}

TEST_F(AudioServerTest, MasterVolumeByScriptIsStampedWithTheSceneTime)
{
    ASSERT_TRUE(this->audio->Open());
    ASSERT_TRUE(this->audio->BeginScene(2.5));
    this->audio->EndScene();
    Tcl("/sys/servers/audio.setmastervolume 0.5");
    EXPECT_EQ(Tcl("/sys/servers/audio.getmastervolume"), "0.5");
    EXPECT_TRUE(this->audio->IsMasterVolumeDirty());
    EXPECT_DOUBLE_EQ(this->audio->GetMasterVolumeChangedTime(), 2.5);
}

TEST_F(AudioServerTest, MasterVolumeCommandRefusesBadValues)
{
    for (const char* arg : {"nan", "inf", "abc", "\"\""})
    {
        Tcl(std::string("/sys/servers/audio.setmastervolume ") + arg, false);
        EXPECT_FLOAT_EQ(this->audio->GetMasterVolume(), 1.0f) << arg;
    }
}

TEST_F(AudioServerTest, ResetWithoutPlayingSoundsChangesNothing)
{
    nSound3* s = this->NewBaseSound();
    Tcl("/sys/servers/audio.reset");
    EXPECT_TRUE(s->IsUnloaded());
    EXPECT_EQ(this->rs->GetNumResources(nResource::SoundInstance), 1);
    s->Release();
}

TEST_F(AudioServerTest, BaseFactoriesMakeNothing)
{
    EXPECT_EQ(this->audio->NewSound(), nullptr);
    EXPECT_EQ(this->audio->NewSoundResource("x.wav"), nullptr);
}

TEST_F(AudioServerTest, FrameProtocolAndClosingAtDestruction)
{
    ASSERT_TRUE(this->audio->Open());
    EXPECT_TRUE(this->audio->BeginScene(1.0));
    EXPECT_TRUE(this->audio->IsInBeginScene());
    this->audio->UpdateListener(nListener3());
    this->audio->EndScene();
    EXPECT_FALSE(this->audio->IsInBeginScene());
    EXPECT_DOUBLE_EQ(this->audio->GetTime(), 1.0);
    EXPECT_TRUE(this->audio->IsOpen());
    this->audio->Release();
    EXPECT_EQ(this->ks->Lookup("/sys/servers/audio"), nullptr);
}

TEST_F(AudioServerTest, MisuseIsAFatalAssertion)
{
    EXPECT_ASSERT_DEATH(this->audio->BeginScene(0.0), "this->isOpen");
    ASSERT_TRUE(this->audio->Open());
    EXPECT_ASSERT_DEATH(this->audio->Open(), "!this->isOpen");
    EXPECT_ASSERT_DEATH(this->audio->StartSound(nullptr), "s");
    this->audio->BeginScene(0.0);
    EXPECT_ASSERT_DEATH(this->audio->BeginScene(0.0), "!this->inBeginScene");
    this->audio->EndScene();
}

}  // namespace
