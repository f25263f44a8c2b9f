//------------------------------------------------------------------------------
//  The OpenAL audio classes on OpenAL Soft's null driver: loading WAV and
//  Ogg Vorbis files, sharing by name, the listener, playing, the slot
//  tables, bad files and closing.
//------------------------------------------------------------------------------
#include "openalfixture.h"
#include "soundfiles.h"

#include "audio3/naudio3package.h"
#include "audio3/nlistener3.h"
#include "file/nfilepackage.h"
#include "file/nnpkfileserver.h"
#include "file/npkwriter.h"
#include "kernel/nenv.h"
#include "nopenal/nopenalpackage.h"
#include "resource/nresourcepackage.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace
{

struct WavCase
{
    int bits;
    int channels;
};

TEST_F(OpenALTest, WavFilesLoadWithTheirSampleBytes)
{
    const int frames = 1000;
    for (const WavCase& c : {WavCase{8, 1}, WavCase{8, 2}, WavCase{16, 1}, WavCase{16, 2}})
    {
        SCOPED_TRACE(testing::Message() << c.bits << " bit, " << c.channels << " channels");
        const std::string name = "tone" + std::to_string(c.bits) + "_" + std::to_string(c.channels) + ".wav";
        nOpenALObj* s = this->NewSound(this->Write(name, MakeWav(c.bits, c.channels, 22050, frames, 440.0)));
        ASSERT_TRUE(s->Load()) << this->TakeLog();
        EXPECT_EQ(this->BufferInt(s, AL_SIZE), frames * c.channels * c.bits / 8);
        EXPECT_EQ(this->BufferInt(s, AL_BITS), c.bits);
        EXPECT_EQ(this->BufferInt(s, AL_CHANNELS), c.channels);
        EXPECT_EQ(this->BufferInt(s, AL_FREQUENCY), 22050);
        s->Release();
    }
    EXPECT_EQ(this->server->GetNumBuffers(), 0);
}

TEST_F(OpenALTest, WavFilesOfWiderSamplesFailWithTheirWidthNamed)
{
    std::string floats = MakeWav(32, 1, 22050, 100, 440.0);
    floats[20] = 3;  // IEEE float samples
    struct Case
    {
        const char* file;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"int24.wav", MakeWav(24, 2, 22050, 100, 440.0), "alutLoadWAVFile %s : 24-bit samples are not supported\n"},
        {"int32.wav", MakeWav(32, 1, 22050, 100, 440.0), "alutLoadWAVFile %s : 32-bit samples are not supported\n"},
        {"float32.wav", floats, "alutLoadWAVFile %s : 32-bit samples are not supported\n"},
        {"surround.wav", MakeWav(16, 3, 22050, 100, 440.0), "alutLoadWAVFile %s : Unsupported mode within an otherwise usable file type\n"},
    };
    for (const Case& c : cases)
    {
        const std::string path = this->Write(c.file, c.bytes);
        nOpenALObj* s = this->NewSound(path);
        EXPECT_FALSE(s->Load()) << c.file;
        char expected[512];
        snprintf(expected, sizeof(expected), c.message, path.c_str());
        EXPECT_NE(this->TakeLog().find(expected), std::string::npos) << c.file;
        EXPECT_EQ(this->server->GetNumBuffers(), 0) << c.file;
        s->Release();
    }
}

TEST_F(OpenALTest, OggFilesFillTwoBytesPerSampleAndChannel)
{
    const int frames = 12345;
    for (int channels : {1, 2})
    {
        SCOPED_TRACE(channels);
        const std::string path = this->Write("tone" + std::to_string(channels) + ".ogg", MakeOgg(channels, 44100, frames, 440.0));
        nOpenALObj* s = this->NewSound(path);
        ASSERT_TRUE(s->Load()) << this->TakeLog();
        EXPECT_EQ(this->BufferInt(s, AL_SIZE), frames * channels * 2);
        EXPECT_EQ(this->BufferInt(s, AL_BITS), 16);
        EXPECT_EQ(this->BufferInt(s, AL_CHANNELS), channels);
        EXPECT_EQ(this->BufferInt(s, AL_FREQUENCY), 44100);
        s->Release();
    }
}

TEST_F(OpenALTest, OtherExtensionsAreUnknownFormats)
{
    const std::string wav = MakeWav(16, 1, 22050, 100, 440.0);
    struct Case
    {
        const char* file;
        const char* message;
    };
    for (const Case& c : {Case{"a.mp3", "Unknown format: 'mp3'"}, Case{"b.WAV", "Unknown format: 'WAV'"},
                          Case{"noextension", "Unknown format: ''"}})
    {
        nOpenALObj* s = this->NewSound(this->Write(c.file, wav));
        EXPECT_FALSE(s->Load()) << c.file;
        EXPECT_NE(this->TakeLog().find(c.message), std::string::npos) << c.file;
        EXPECT_TRUE(s->IsUnloaded());
        EXPECT_EQ(this->server->GetNumBuffers(), 0);
        EXPECT_EQ(this->server->GetNumSources(), 0);
        EXPECT_EQ(this->rs->GetNumResources(nResource::SoundResource), 0);
        s->Release();
    }
}

TEST_F(OpenALTest, SoundsOfOneNameShareOneSourceUnnamedOnesDoNot)
{
    const std::string path = this->Write("punch.wav", MakeWav(16, 1, 22050, 500, 440.0));
    nOpenALObj* a = this->NewSound(path, "punch");
    ASSERT_TRUE(a->Load());
    // the second one must not read the file again: it no longer decodes
    WriteBytes(path, "garbage");
    nOpenALObj* b = this->NewSound(path, "punch");
    ASSERT_TRUE(b->Load()) << this->TakeLog();
    EXPECT_EQ(a->GetSourceIndex(), b->GetSourceIndex());
    EXPECT_EQ(a->GetSoundResource(), b->GetSoundResource());
    EXPECT_EQ(a->GetSoundResource()->GetRefCount(), 2);
    EXPECT_EQ(this->server->GetNumSources(), 1);

    WriteBytes(path, MakeWav(16, 1, 22050, 500, 440.0));
    nOpenALObj* c = this->NewSound(path);
    nOpenALObj* d = this->NewSound(path);
    ASSERT_TRUE(c->Load());
    ASSERT_TRUE(d->Load());
    EXPECT_NE(c->GetSourceIndex(), d->GetSourceIndex());
    EXPECT_EQ(this->server->GetNumSources(), 3);
    EXPECT_EQ(this->server->GetNumBuffers(), 3);

    a->Unload();
    EXPECT_EQ(a->GetSourceIndex(), -1);
    EXPECT_EQ(a->GetSoundResource(), nullptr);
    EXPECT_EQ(b->GetSoundResource()->GetRefCount(), 1);
    a->Release();
    EXPECT_EQ(this->server->GetNumSources(), 3);
    EXPECT_TRUE(b->GetSoundResource()->IsValid());
    b->Release();
    EXPECT_EQ(this->server->GetNumSources(), 2);
    c->Release();
    d->Release();
    EXPECT_EQ(this->server->GetNumSources(), 0);
    EXPECT_EQ(this->rs->GetNumResources(nResource::SoundResource), 0);
}

TEST_F(OpenALTest, ASoundFollowsItsResourceIntoAnotherSlotAfterAReload)
{
    const std::string path = this->Write("long.wav", MakeWav(16, 1, 22050, 22050 * 5, 440.0));
    nOpenALObj* a = this->NewSound(path, "a");
    ASSERT_TRUE(a->Load());
    this->rs->UnloadResources(nResource::SoundResource);
    EXPECT_EQ(this->server->GetNumSources(), 0);
    a->Start();
    EXPECT_FALSE(a->IsPlaying());

    nOpenALObj* other = this->NewSound(path);
    ASSERT_TRUE(other->Load());
    ASSERT_TRUE(a->GetSoundResource()->Load());
    EXPECT_NE(a->GetSoundResource()->GetBufSrcIndex(), other->GetSoundResource()->GetBufSrcIndex());
    a->Start();
    EXPECT_TRUE(a->IsPlaying());
    EXPECT_FALSE(other->IsPlaying());
    a->Release();
    other->Release();
}

TEST_F(OpenALTest, SoundsLoadFromArchives)
{
    NpkWriter w;
    w.Dir("<noname>")
        .File("tone.wav", MakeWav(16, 1, 22050, 300, 440.0))
        .File("tone.ogg", MakeOgg(2, 22050, 3000, 440.0))
        .End();
    w.Save(this->dir + "/sounds.npk");
    nFileServer2* fs = this->ks->GetFileServer();
    fs->SetAssign("snd", this->dir.c_str());
    ASSERT_TRUE(static_cast<nNpkFileServer*>(fs)->AddNpkFile("snd:sounds.npk"));

    nOpenALObj* wav = this->NewSound("snd:sounds/tone.wav");
    nOpenALObj* ogg = this->NewSound("snd:sounds/tone.ogg");
    ASSERT_TRUE(wav->Load()) << this->TakeLog();
    ASSERT_TRUE(ogg->Load()) << this->TakeLog();
    EXPECT_EQ(this->BufferInt(wav, AL_SIZE), 600);
    EXPECT_EQ(this->BufferInt(ogg, AL_SIZE), 12000);
    wav->Release();
    ogg->Release();
}

TEST_F(OpenALTest, ListenerPositionVelocityAndOrientationReachOpenAL)
{
    nListener3 l;
    matrix44 m;
    m.set_x_component(vector3(0, 0, 1));
    m.set_y_component(vector3(0, 1, 0));
    m.set_z_component(vector3(-1, 0, 0));
    m.set_pos_component(vector3(1, 2, 3));
    l.SetTransform(m);
    l.SetVelocity(vector3(4, 5, 6));
    ASSERT_TRUE(this->server->BeginScene(0.5));
    this->server->UpdateListener(l);
    this->server->EndScene();

    ALfloat pos[3], vel[3], orientation[6];
    alGetListenerfv(AL_POSITION, pos);
    alGetListenerfv(AL_VELOCITY, vel);
    alGetListenerfv(AL_ORIENTATION, orientation);
    EXPECT_EQ(std::vector<float>(pos, pos + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<float>(vel, vel + 3), (std::vector<float>{4, 5, 6}));
    EXPECT_EQ(std::vector<float>(orientation, orientation + 6), (std::vector<float>{1, 0, 0, 0, 1, 0}));
}

TEST_F(OpenALTest, ARefusedListenerValueIsPrintedAndEndsTheUpdate)
{
    nListener3 l;
    matrix44 m;
    m.set_pos_component(vector3(NAN, 0, 0));
    l.SetTransform(m);
    l.SetVelocity(vector3(7, 8, 9));
    this->TakeLog();
    ASSERT_TRUE(this->server->BeginScene(0.0));
    this->server->UpdateListener(l);
    this->server->EndScene();
    EXPECT_NE(this->TakeLog().find("alListenerfv POSITION : "), std::string::npos);
    ALfloat vel[3];
    alGetListenerfv(AL_VELOCITY, vel);
    EXPECT_EQ(vel[0], 0.0f);
}

TEST_F(OpenALTest, PlayStopVolumeAndLooping)
{
    nOpenALObj* s = this->NewSound(this->Write("long.wav", MakeWav(16, 1, 22050, 22050 * 5, 440.0)));
    s->SetVolume(0.25f);
    ASSERT_TRUE(s->Load());
    const ALuint source = this->server->GetSource(s->GetSourceIndex());
    ALfloat gain = 0.0f;
    alGetSourcef(source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.25f);

    ASSERT_TRUE(this->server->BeginScene(0.0));
    this->server->StartSound(s);
    EXPECT_TRUE(s->IsPlaying());
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PLAYING);

    s->SetLooping(true);
    matrix44 m;
    m.set_pos_component(vector3(1, 2, 3));
    s->SetTransform(m);
    s->SetVelocity(vector3(0, 0, -2));
    this->server->UpdateSound(s);
    ALint looping = 0;
    alGetSourcei(source, AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);
    ALfloat pos[3], vel[3];
    alGetSourcefv(source, AL_POSITION, pos);
    alGetSourcefv(source, AL_VELOCITY, vel);
    EXPECT_EQ(std::vector<float>(pos, pos + 3), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(std::vector<float>(vel, vel + 3), (std::vector<float>{0, 0, -2}));

    // the distances shape the fall-off; an ambient sound is heard at the listener wherever it is placed
    s->SetMinDist(25.0f);
    s->SetMaxDist(60.0f);
    this->server->UpdateSound(s);
    ALfloat ref = 0.0f, maxDist = 0.0f;
    alGetSourcef(source, AL_REFERENCE_DISTANCE, &ref);
    alGetSourcef(source, AL_MAX_DISTANCE, &maxDist);
    EXPECT_FLOAT_EQ(ref, 25.0f);
    EXPECT_FLOAT_EQ(maxDist, 60.0f);
    ALint relative = AL_TRUE;
    alGetSourcei(source, AL_SOURCE_RELATIVE, &relative);
    EXPECT_EQ(relative, AL_FALSE);
    s->SetAmbient(true);
    this->server->UpdateSound(s);
    alGetSourcei(source, AL_SOURCE_RELATIVE, &relative);
    EXPECT_EQ(relative, AL_TRUE);
    alGetSourcefv(source, AL_POSITION, pos);
    EXPECT_EQ(std::vector<float>(pos, pos + 3), (std::vector<float>{0, 0, 0}));

    s->SetVolume(0.5f);
    alGetSourcef(source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_FLOAT_EQ(s->GetVolume(), 0.5f);

    this->server->StopSound(s);
    EXPECT_FALSE(s->IsPlaying());
    this->server->EndScene();
    s->Release();
}

TEST_F(OpenALTest, ResetStopsPlayingSounds)
{
    nOpenALObj* s = this->NewSound(this->Write("long.wav", MakeWav(16, 1, 22050, 22050 * 5, 440.0)));
    ASSERT_TRUE(s->Load());
    s->Start();
    ASSERT_TRUE(s->IsPlaying());
    this->server->Reset();
    EXPECT_FALSE(s->IsPlaying());
    EXPECT_TRUE(s->IsValid());
    s->Release();
}

TEST_F(OpenALTest, CloseDeletesEveryNameAndUnloadsEverySound)
{
    nOpenALObj* a = this->NewSound(this->Write("a.wav", MakeWav(16, 2, 22050, 22050, 440.0)), "a");
    nOpenALObj* b = this->NewSound(this->Write("b.ogg", MakeOgg(1, 22050, 4000, 440.0)));
    nOpenALObj* c = this->NewSound(this->dir + "/a.wav", "a");
    for (nOpenALObj* s : {a, b, c}) ASSERT_TRUE(s->Load());
    a->Start();
    EXPECT_EQ(this->server->GetNumBuffers(), 2);
    this->TakeLog();

    this->server->Close();
    EXPECT_EQ(this->server->GetNumBuffers(), 0);
    EXPECT_EQ(this->server->GetNumSources(), 0);
    for (nOpenALObj* s : {a, b, c}) EXPECT_TRUE(s->IsUnloaded());
    EXPECT_EQ(this->rs->GetNumResources(nResource::SoundResource), 0);
    const std::string closing = this->TakeLog();
    EXPECT_EQ(closing.find("error"), std::string::npos) << closing;
    EXPECT_NE(closing.find("Successfully shut down OpenAL"), std::string::npos);
    EXPECT_FALSE(this->server->IsOpen());

    // a second Close and a load on the closed server are refused quietly
    this->server->Close();
    EXPECT_FALSE(a->Load());
    for (nOpenALObj* s : {a, b, c}) s->Release();
}

TEST_F(OpenALTest, SlotsAreReusedForHundredsOfLoads)
{
    const std::string path = this->Write("hit.wav", MakeWav(8, 1, 11025, 200, 440.0));
    for (int i = 0; i < 3 * nOpenALServer::MaxBufSrc; i++)
    {
        nOpenALObj* s = this->NewSound(path);
        ASSERT_TRUE(s->Load()) << i << this->TakeLog();
        s->Release();
    }
    EXPECT_EQ(this->server->GetNumBuffers(), 0);
}

TEST_F(OpenALTest, ALoadBeyondTheTableFailsWithAMessage)
{
    const std::string path = this->Write("hit.wav", MakeWav(8, 1, 11025, 100, 440.0));
    std::vector<nOpenALObj*> held;
    for (int i = 0; i < nOpenALServer::MaxBufSrc; i++)
    {
        held.push_back(this->NewSound(path));
        ASSERT_TRUE(held.back()->Load()) << i;
    }
    nOpenALObj* extra = this->NewSound(path);
    this->TakeLog();
    EXPECT_FALSE(extra->Load());
    EXPECT_NE(this->TakeLog().find("all 256 sound slots are in use"), std::string::npos);
    EXPECT_EQ(this->server->GetNumBuffers(), nOpenALServer::MaxBufSrc);

    held.back()->Release();
    held.pop_back();
    EXPECT_TRUE(extra->Load());
    extra->Release();
    for (nOpenALObj* s : held) s->Release();
}

TEST_F(OpenALTest, TruncatedAndCorruptFilesFailTheLoadWithAMessage)
{
    const std::string wav = MakeWav(16, 2, 22050, 2000, 440.0);
    const std::string ogg = MakeOgg(2, 22050, 20000, 440.0);
    std::string badFormat = wav;
    badFormat[20] = 7;  // no PCM format
    std::string notOgg = ogg;
    for (size_t i = 4; i < 200; i++) notOgg[i] = char(i * 37);
    struct Case
    {
        const char* file;
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"empty.wav", "", "alutLoadWAVFile"},
        {"header.wav", wav.substr(0, 30), "alutLoadWAVFile"},
        {"short.wav", wav.substr(0, wav.size() / 2), "alutLoadWAVFile"},
        {"format.wav", badFormat, "alutLoadWAVFile"},
        {"text.wav", "this is no sound at all", "alutLoadWAVFile"},
        {"empty.ogg", "", "OggVorbis error"},
        {"header.ogg", ogg.substr(0, 40), "OggVorbis error"},
        {"setup.ogg", ogg.substr(0, 600), "OggVorbis error"},
        {"garbled.ogg", notOgg, "OggVorbis error"},
        {"text.ogg", "OggS but nothing else of it", "OggVorbis error"},
        {"half.ogg", ogg.substr(0, ogg.size() / 2), "OggVorbis error"},
        {"surround.ogg", MakeOgg(3, 22050, 2000, 440.0), "only 1 or 2 can be played"},
    };
    for (const Case& c : cases)
    {
        nOpenALObj* s = this->NewSound(this->Write(c.file, c.bytes));
        EXPECT_FALSE(s->Load()) << c.file;
        EXPECT_NE(this->TakeLog().find(c.message), std::string::npos) << c.file;
        EXPECT_EQ(this->server->GetNumBuffers(), 0) << c.file;
        EXPECT_EQ(this->rs->GetNumResources(nResource::SoundResource), 0) << c.file;
        s->Release();
    }
    nOpenALObj* missing = this->NewSound(this->dir + "/missing.ogg");
    EXPECT_FALSE(missing->Load());
    EXPECT_NE(this->TakeLog().find("nOpenALResource unable to load: "), std::string::npos);
    missing->Release();
}

TEST_F(OpenALTest, LibraryTextsMissingBeforeADeviceArePrintedAsPlaceholders)
{
    const std::string text = this->log.text;
    EXPECT_NE(text.find("nOpenALServer Constructor\nALC info: \n"), std::string::npos);
    EXPECT_NE(text.find("VERSION: (none)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Successfully initialized OpenAL\n"), std::string::npos);
}

TEST_F(OpenALTest, DestroyingAnOpenServerClosesIt)
{
    nOpenALObj* s = this->NewSound(this->Write("a.wav", MakeWav(16, 1, 22050, 100, 440.0)));
    ASSERT_TRUE(s->Load());
    this->server->Release();
    EXPECT_TRUE(s->IsUnloaded());
    const size_t destructor = this->log.text.find("nOpenALServer Destructor\nnOpenALServer Close\n");
    EXPECT_NE(destructor, std::string::npos);
    EXPECT_NE(this->log.text.find("Successfully shut down OpenAL\n", destructor), std::string::npos);
    s->Release();
}

// Runs in a fresh process, so that OpenAL Soft reads the driver list
// given here rather than the one of an earlier test.
TEST(OpenALNoDevice, WithoutADeviceTheServerOpensSilentAndLogsOneLineInsteadOfABox)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "nosuchdriver", 1);
            CaptureLog log;
            nKernelServer ks({nfile_package, nresource_package, naudio3_package, nopenal_package});
            ks.SetLogHandler(&log);
            ks.New("nresourceserver", "/sys/servers/resource");
            static_cast<nEnv*>(ks.New("nenv", "/sys/env/hwnd"))->SetI(1);
            nOpenALServer* server = static_cast<nOpenALServer*>(ks.New("nopenalserver", "/sys/servers/audio"));
            bool ok = server->Open() && server->IsOpen();
            // frames go on, and no sound is made
            for (int i = 0; i < 2; i++)
            {
                server->BeginScene(i);
                server->UpdateListener(nListener3());
                server->EndScene();
            }
            ok = ok && !server->NewSound() && !server->NewSoundResource("sound:any.wav");
            server->Close();
            server->Release();
            const std::string line = "No sound device was found: the game runs without sound.\n";
            const size_t first = log.text.find(line);
            ok = ok && 0 == log.messages && first != std::string::npos && log.text.find(line, first + 1) == std::string::npos;
            fprintf(stderr, "%s", log.text.c_str());
            exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "No sound device was found: the game runs without sound.");
}

}  // namespace
