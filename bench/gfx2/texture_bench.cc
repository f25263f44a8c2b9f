//------------------------------------------------------------------------------
//  Loading a 1024x1024 PNG and a 1024x1024 DXT5 DDS file through the
//  texture class, beside stb_image decoding the same PNG bytes and a plain
//  read of the same DDS file. The texture class runs once on the null
//  device (file server, decoding, conversion and the copy into the
//  device) and once on the OpenGL device (with the upload and, for the
//  PNG, the generated mip chain). Runs headless on SDL's offscreen driver
//  unless SDL_VIDEODRIVER names another. On a shared machine the order of
//  the runs sways the figures; compare medians of
//  --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9texture.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputpackage.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "platform/nnulldevice.h"
#include "resource/nresourcepackage.h"
#include "textureimages.h"

#include <stb_dxt.h>
#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace
{

const int Size = 1024;

/// a smooth pattern with some detail, so that PNG compresses as real art does
std::vector<unsigned char> ArtPixels()
{
    std::vector<unsigned char> px(size_t(Size) * Size * 4);
    for (int y = 0; y < Size; y++)
    {
        for (int x = 0; x < Size; x++)
        {
            unsigned char* p = &px[(size_t(y) * Size + x) * 4];
            p[0] = (unsigned char)(x / 4);
            p[1] = (unsigned char)(y / 4);
            p[2] = (unsigned char)((x * y) >> 10);
            p[3] = (unsigned char)(((x ^ y) & 8) ? 255 : 192);
        }
    }
    return px;
}

/// the bench's two files in a scratch directory at "bench:"
struct Files
{
    std::string dir;
    std::string png;
    std::string dds;

    Files()
    {
        this->dir = (std::filesystem::temp_directory_path() / "texture_bench").string();
        std::filesystem::create_directories(this->dir);
        const std::vector<unsigned char> px = ArtPixels();
        std::string out;
        stbi_write_png_to_func(teximg::AppendBytes, &out, Size, Size, 4, px.data(), Size * 4);
        Write("art.png", out);
        auto blocks = [&px](int, int, int w, int h) {
            std::string s;
            for (int by = 0; by < h; by += 4)
            {
                for (int bx = 0; bx < w; bx += 4)
                {
                    unsigned char block[64];
                    for (int row = 0; row < 4; row++)
                    {
                        memcpy(block + row * 16, &px[(size_t(by + row) * Size + bx) * 4], 16);
                    }
                    unsigned char dest[16];
                    stb_compress_dxt_block(dest, block, 1, STB_DXT_NORMAL);
                    s.append(reinterpret_cast<char*>(dest), 16);
                }
            }
            return s;
        };
        Write("art.dds", teximg::MakeDDS(nGfxTexFormat::DXT5, Size, Size, 1, false, blocks));
        this->png = this->dir + "/art.png";
        this->dds = this->dir + "/art.dds";
    }
    ~Files() { std::filesystem::remove_all(this->dir); }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream f(this->dir + "/" + name, std::ios::binary);
        f.write(bytes.data(), std::streamsize(bytes.size()));
    }
};

Files& TheFiles()
{
    static Files files;
    return files;
}

/// a kernel with the server's display open on the null or the GL device
struct Server
{
    nKernelServer ks{nresource_package, ngfx2_package, ninput_package, nd3d9_package};
    nD3D9Server* gfx;

    explicit Server(bool gl)
    {
        this->ks.GetFileServer()->SetAssign("bench", TheFiles().dir.c_str());
        this->ks.GetFileServer()->SetAssign("shaders", ENGINE_SHADERS_DIR);
        this->ks.New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks.New("nd3d9server", "/sys/servers/gfx"));
        if (!gl)
        {
            this->gfx->SetDevice(std::make_unique<nNullDevice>());
        }
        this->gfx->SetDisplayMode(nDisplayMode2("bench", nDisplayMode2::Windowed, 0, 0, 64, 64, false));
        this->gfx->OpenDisplay();
    }
    ~Server() { this->gfx->CloseDisplay(); }

    void Load(benchmark::State& state, const char* file)
    {
        for (auto _ : state)
        {
            nTexture2* t = this->gfx->NewTexture(file);
            t->SetFilename(file);
            if (t->IsLoaded() || !t->Load() || t->GetWidth() != Size)
            {
                state.SkipWithError("the texture was not loaded afresh");
                t->Release();
                break;
            }
            t->Release();
        }
    }
};

void BM_StbDecodePNG(benchmark::State& state)
{
    std::ifstream in(TheFiles().png, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    state.counters["bytes"] = double(bytes.size());
    // the same process state as the texture runs: an open display
    Server s(false);
    for (auto _ : state)
    {
        int w, h, comp;
        stbi_uc* px = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), int(bytes.size()), &w,
                                            &h, &comp, 4);
        if (!px || w != Size || h != Size)
        {
            state.SkipWithError("the image did not decode");
        }
        benchmark::DoNotOptimize(px);
        stbi_image_free(px);
    }
}

void BM_ReadDDSBytes(benchmark::State& state)
{
    for (auto _ : state)
    {
        FILE* f = fopen(TheFiles().dds.c_str(), "rb");
        std::vector<unsigned char> bytes(size_t(std::filesystem::file_size(TheFiles().dds)));
        const size_t n = fread(bytes.data(), 1, bytes.size(), f);
        fclose(f);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(bytes.data());
    }
}

/// one file loaded through the texture class on the null or the GL device
void BM_Texture(benchmark::State& state, bool gl, const char* file)
{
    Server s(gl);
    s.Load(state, file);
}

}  // namespace

BENCHMARK(BM_StbDecodePNG)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Texture, png_null, false, "bench:art.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Texture, png_gl, true, "bench:art.png")->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);
BENCHMARK(BM_ReadDDSBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Texture, dds_null, false, "bench:art.dds")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Texture, dds_gl, true, "bench:art.dds")->Unit(benchmark::kMicrosecond)->Apply(RasterRepetitions);

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
