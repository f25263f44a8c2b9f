//------------------------------------------------------------------------------
//  A tone played through the OpenAL server is really mixed: OpenAL Soft's
//  wave-file driver writes what it renders to a file, in which the tone's
//  frequency must carry the energy.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "soundfiles.h"
#include "capturelog.h"
#include "usertempdir.h"

#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "nopenal/nopenalobj.h"
#include "nopenal/nopenalpackage.h"
#include "nopenal/nopenalserver.h"
#include "resource/nresourcepackage.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace
{

/// the 16-bit samples of the first channel of a WAV file's data chunk
std::vector<double> FirstChannel(const std::string& wav, int channels)
{
    std::vector<double> out;
    const size_t data = wav.find("data");
    if (std::string::npos == data) return out;
    const size_t frameBytes = size_t(channels) * 2;
    for (size_t at = data + 8; at + frameBytes <= wav.size(); at += frameBytes)
    {
        int16_t v;
        memcpy(&v, wav.data() + at, 2);
        out.push_back(v / 32768.0);
    }
    return out;
}

/// the power of one frequency in the samples (Goertzel)
double Power(const std::vector<double>& x, double freq, int rate)
{
    const double coeff = 2.0 * std::cos(2.0 * M_PI * freq / rate);
    double s1 = 0.0, s2 = 0.0;
    for (double v : x)
    {
        const double s0 = v + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - coeff * s1 * s2) / double(x.size());
}

TEST(OpenALWaveOutput, APlayedToneCarriesItsEnergyIntoTheRenderedFile)
{
    UserTempDir tmp;
    const std::string out = tmp.Path() + "/rendered.wav";
    const std::string conf = tmp.Path() + "/alsoft.conf";
    ASSERT_TRUE(WriteBytes(conf, "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                                 "frequency = 44100\n[wave]\nfile = " + out + "\n"));
    ScopedEnv drivers("ALSOFT_DRIVERS", "wave");
    ScopedEnv confEnv("ALSOFT_CONF", conf.c_str());
    const std::string tone = tmp.Path() + "/tone.wav";
    ASSERT_TRUE(WriteBytes(tone, MakeWav(16, 1, 44100, 44100, 660.0)));

    CaptureLog log;
    {
        nKernelServer ks({nfile_package, nresource_package, naudio3_package, nopenal_package});
        ks.SetLogHandler(&log);
        ks.New("nresourceserver", "/sys/servers/resource");
        static_cast<nEnv*>(ks.New("nenv", "/sys/env/hwnd"))->SetI(1);
        nOpenALServer* server = static_cast<nOpenALServer*>(ks.New("nopenalserver", "/sys/servers/audio"));
        ASSERT_TRUE(server->Open()) << log.text;
        nOpenALObj* s = static_cast<nOpenALObj*>(server->NewSound());
        s->SetFilename(tone.c_str());
        ASSERT_TRUE(s->Load()) << log.text;
        ASSERT_TRUE(server->BeginScene(0.0));
        server->StartSound(s);
        server->EndScene();
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        s->Release();
        server->Close();
    }
    const std::vector<double> x = FirstChannel(ReadWholeFile(out), 2);
    ASSERT_GT(x.size(), 44100u / 4) << log.text;
    const double tonePower = Power(x, 660.0, 44100);
    const double otherPower = Power(x, 1500.0, 44100);
    EXPECT_GT(tonePower, 1e-3) << otherPower;
    EXPECT_GT(tonePower, 100.0 * otherPower);
}

}  // namespace
