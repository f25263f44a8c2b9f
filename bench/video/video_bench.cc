//------------------------------------------------------------------------------
//  Video playback at 640x480 and 1280x720 (two seconds of colour bars
//  with a tone, MPEG-1): decoding alone is the baseline; beside it the
//  decoding with the conversion to BGRA and the upload into the picture's
//  texture, and the whole playback step that adds drawing and presenting
//  on the OpenGL device (llvmpipe, SDL's offscreen driver unless
//  SDL_VIDEODRIVER names another). "x_realtime" is how many times faster
//  than its 25 pictures a second the step runs: playback must keep at
//  least 2. On a shared machine compare medians of
//  --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputpackage.h"
#include "kernel/nfileserver2.h"
#include "platform/ngfxdeviceprobe.h"
#include "kernel/nkernelserver.h"
#include "platform/nplatformvideo.h"
#include "resource/nresourcepackage.h"
#include "video/nvideoquad.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr double FramesPerSecond = 25.0;

std::vector<unsigned char> ReadBenchFile(const char* name)
{
    std::ifstream in(std::string(VIDEO_BENCH_DIR) + "/" + name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// a file decoded over and over: at its end it is opened again, outside the timing
class Looper
{
public:
    explicit Looper(const char* name) : bytes(ReadBenchFile(name)) { this->Reopen(); }

    bool Reopen()
    {
        std::string error;
        return this->video.Open(std::make_unique<nPlatformMemoryVideoSource>(this->bytes.data(), this->bytes.size()),
                                error);
    }

    /// decode the next picture (converted or not); false when the file is broken
    bool Next(benchmark::State& state, bool convert, nPlatformVideoFrame& frame)
    {
        double t = 0.0;
        std::string error;
        nPlatformVideo::Status s = this->video.Decode(t, error);
        if (nPlatformVideo::Status::End == s)
        {
            state.PauseTiming();
            const bool ok = this->Reopen();
            state.ResumeTiming();
            if (!ok) return false;
            s = this->video.Decode(t, error);
        }
        if (nPlatformVideo::Status::Frame != s) return false;
        if (convert) this->video.Convert(frame);
        std::vector<int16_t> sound;
        this->video.TakeAudio(sound);
        return true;
    }

    nPlatformVideo video;

private:
    std::vector<unsigned char> bytes;
};

/// a kernel with the graphics server's display open on the OpenGL device
struct Display
{
    nKernelServer ks{nresource_package, ngfx2_package, ninput_package, nd3d9_package};
    nD3D9Server* gfx;

    Display(int w, int h)
    {
        // the server loads its two effects when the display opens
        this->ks.GetFileServer()->SetAssign("shaders", ENGINE_SHADERS_DIR);
        this->ks.New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks.New("nd3d9server", "/sys/servers/gfx"));
        this->gfx->SetDisplayMode(nDisplayMode2("bench", nDisplayMode2::Windowed, 0, 0, (ushort)w, (ushort)h, false));
        this->gfx->OpenDisplay();
    }
    ~Display() { this->gfx->CloseDisplay(); }
};

void Report(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations());
    state.counters["x_realtime"] =
        benchmark::Counter((double)state.iterations() / FramesPerSecond, benchmark::Counter::kIsRate);
}

/// the baseline: pictures decoded, nothing more
void BM_Decode(benchmark::State& state, const char* file)
{
    Looper loop(file);
    nPlatformVideoFrame frame;
    for (auto _ : state)
    {
        if (!loop.Next(state, false, frame))
        {
            state.SkipWithError("the fixture does not decode");
            break;
        }
    }
    Report(state);
}

/// decoded, converted to BGRA and uploaded into the texture; with 'draw'
/// also drawn centred and presented, the server's whole playback step
void BM_Play(benchmark::State& state, const char* file, bool draw)
{
    Looper loop(file);
    const int w = loop.video.GetWidth();
    const int h = loop.video.GetHeight();
    Display display(800, 600);
    nVideoQuad quad;
    std::string error;
    if (!display.gfx->IsDeviceOpen() || !quad.Begin(display.gfx->GetDevice(), w, h, error))
    {
        state.SkipWithError("no OpenGL device");
        return;
    }
    nPlatformVideoFrame frame;
    for (auto _ : state)
    {
        if (!loop.Next(state, true, frame))
        {
            state.SkipWithError("the fixture does not decode");
            break;
        }
        quad.Upload(frame);
        if (draw)
        {
            display.gfx->BeginScene();
            display.gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0);
            quad.Draw((800 - w) / 2, (600 - h) / 2, w, h, 800, 600);
            display.gfx->EndScene();
            display.gfx->PresentScene();
        }
    }
    // the upload finishes on the device before the clock stops
    unsigned char px[4];
    nGfxDeviceProbe::Of(display.gfx->GetDevice())->ReadPixel(0, 0, px);
    quad.End();
    Report(state);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Decode, 640x480, "bars640.mpg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Play, 640x480_upload, "bars640.mpg", false)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);
BENCHMARK_CAPTURE(BM_Play, 640x480_playback, "bars640.mpg", true)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);
BENCHMARK_CAPTURE(BM_Decode, 1280x720, "bars1280.mpg")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Play, 1280x720_upload, "bars1280.mpg", false)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);
BENCHMARK_CAPTURE(BM_Play, 1280x720_playback, "bars1280.mpg", true)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(RasterRepetitions);

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
