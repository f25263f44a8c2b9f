//------------------------------------------------------------------------------
//  Loading a 10-second stereo Ogg Vorbis file as a sound (file server,
//  vorbisfile over engine files, decoding, the OpenAL buffer on OpenAL
//  Soft's null driver, and the unload that frees the slot again), beside
//  the bare library path: ov_fopen and ov_read into a buffer allocated
//  once. The ratio of the two is the figure that counts.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "soundfiles.h"

#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"
#include "nopenal/nopenalobj.h"
#include "nopenal/nopenalpackage.h"
#include "nopenal/nopenalserver.h"
#include "resource/nresourcepackage.h"

#include <vorbis/vorbisfile.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

const int Rate = 44100;
const int Seconds = 10;

/// the Ogg file, written once into a temporary directory
const std::string& OggPath()
{
    static const std::string path = [] {
        const std::string p = (std::filesystem::temp_directory_path() / "nopenal_bench_10s.ogg").string();
        WriteBytes(p, MakeOgg(2, Rate, Rate * Seconds, 440.0));
        return p;
    }();
    return path;
}

/// a kernel with the resource server and an open OpenAL server
struct Audio
{
    nKernelServer ks{nfile_package, nresource_package, naudio3_package, nopenal_package};
    nOpenALServer* server;

    Audio()
    {
        this->ks.New("nresourceserver", "/sys/servers/resource");
        static_cast<nEnv*>(this->ks.New("nenv", "/sys/env/hwnd"))->SetI(1);
        this->server = static_cast<nOpenALServer*>(this->ks.New("nopenalserver", "/sys/servers/audio"));
        if (!this->server->Open()) abort();
    }
};

void BM_SoundResourceLoad(benchmark::State& state)
{
    const std::string& path = OggPath();
    Audio audio;
    for (auto _ : state)
    {
        nOpenALObj* s = static_cast<nOpenALObj*>(audio.server->NewSound());
        s->SetFilename(path.c_str());
        if (!s->Load()) state.SkipWithError("load failed");
        s->Release();
    }
}
BENCHMARK(BM_SoundResourceLoad)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_OvFopenRead(benchmark::State& state)
{
    const std::string& path = OggPath();
    std::vector<char> buffer(size_t(Rate) * Seconds * 2 * 2);
    for (auto _ : state)
    {
        OggVorbis_File vf;
        if (ov_fopen(path.c_str(), &vf) < 0) state.SkipWithError("ov_fopen failed");
        benchmark::DoNotOptimize(ov_pcm_total(&vf, -1));
        size_t pos = 0;
        int section = 0;
        long got;
        while (pos < buffer.size() &&
               (got = ov_read(&vf, buffer.data() + pos, int(buffer.size() - pos), 0, 2, 1, &section)) != 0)
        {
            if (got > 0) pos += size_t(got);
        }
        benchmark::DoNotOptimize(buffer.data());
        ov_clear(&vf);
    }
}
BENCHMARK(BM_OvFopenRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv)
{
    // a real mixer without a sound card, unless the caller chose a driver
    setenv("ALSOFT_DRIVERS", "null", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove(OggPath(), ec);
    return 0;
}
