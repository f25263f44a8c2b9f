//------------------------------------------------------------------------------
//  Text: one scene of 1,000 lines of 40 characters drawn with the server's
//  DrawText (layout, glyph lookup, quads through the text batch), beside
//  the same number of quads (40,000) written straight into the dynamic
//  mesh with the same effect, in one GL context. The ratio is what text
//  costs over bare glyph quads. Runs headless on SDL's offscreen driver
//  unless SDL_VIDEODRIVER names another.
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/ndynamicmesh.h"
#include "gfx2/nfont2.h"
#include "gfx2/ngfx2package.h"
#include "gfx2/nmesh2.h"
#include "gfx2/nshader2.h"
#include "input/ninputpackage.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "resource/nresourcepackage.h"

#include <GL/glcorearb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{

const int NumLines = 1000;
const int LineLength = 40;

/// the server's display open at 640x480 with its default font
struct Scene
{
    nKernelServer ks{nresource_package, ngfx2_package, ninput_package, nd3d9_package};
    nD3D9Server* gfx = nullptr;
    nShader2* shader = nullptr;
    nDynamicMesh mesh;
    nString line;

    Scene()
    {
        nFileServer2::Instance()->SetAssign("shaders", ENGINE_SHADERS_DIR);
        this->ks.New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks.New("nd3d9server", "/sys/servers/gfx"));
        this->gfx->SetDisplayMode(nDisplayMode2("bench", nDisplayMode2::Windowed, 0, 0, 640, 480, false));
        if (!this->gfx->OpenDisplay() || !this->gfx->GetDefaultFont())
        {
            fprintf(stderr, "no display or no default font\n");
            exit(1);
        }
        this->gfx->SetFont(this->gfx->GetDefaultFont());
        this->shader = this->gfx->NewShader("textbench");
        this->shader->SetFilename("shaders:text.fx");
        if (!this->shader->Load())
        {
            fprintf(stderr, "the text effect does not load\n");
            exit(1);
        }
        const int components = nMesh2::Coord | nMesh2::Uv0 | nMesh2::Color;
        if (!this->mesh.Initialize(nGfxServer2::TriangleList, components, 0, true))
        {
            fprintf(stderr, "no dynamic mesh\n");
            exit(1);
        }
        this->line = "The quick brown fox jumps over the dog 1";  // 40 characters
        // one frame of each first, so that neither side pays for compiling
        // its effect or filling the glyph atlas
        this->DrawText();
        this->DrawQuads();
    }
    ~Scene()
    {
        this->shader->Release();
        this->gfx->CloseDisplay();
    }

    void DrawText()
    {
        this->gfx->BeginScene();
        for (int i = 0; i < NumLines; i++)
        {
            const float y = float(i % 60) / 60.0f;
            this->gfx->DrawText(this->line, vector4(1, 1, 1, 1), rectangle(vector2(0.0f, y), vector2(1.0f, 1.0f)),
                                nFont2::Left | nFont2::Top | nFont2::NoClip);
        }
        this->gfx->EndScene();
        glFinish();
    }

    void DrawQuads()
    {
        this->gfx->BeginScene();
        this->gfx->SetShader(this->shader);
        const int width = this->mesh.GetMesh()->GetVertexWidth();
        const int passes = this->shader->Begin(true);
        for (int p = 0; p < passes; p++)
        {
            this->shader->BeginPass(p);
            float* v = nullptr;
            ushort* ix = nullptr;
            int maxV = 0, maxI = 0;
            this->mesh.BeginIndexed(v, ix, maxV, maxI);
            const int maxQuads = std::min(maxV / 4, maxI / 6);
            int inMesh = 0;
            for (int q = 0; q < NumLines * LineLength; q++)
            {
                if (inMesh == maxQuads)
                {
                    this->mesh.SwapIndexed(inMesh * 4, inMesh * 6, v, ix);
                    inMesh = 0;
                }
                const float x0 = float(q % LineLength) * 0.05f - 1.0f;
                const float y0 = float((q / LineLength) % 60) * 0.03f - 1.0f;
                float* dst = v + size_t(inMesh) * 4 * size_t(width);
                const float corners[4][2] = {{0, 0}, {0.04f, 0}, {0.04f, 0.03f}, {0, 0.03f}};
                for (int c = 0; c < 4; c++)
                {
                    float* o = dst + c * width;
                    for (int k = 0; k < width; k++) o[k] = 0.0f;
                    o[0] = x0 + corners[c][0];
                    o[1] = y0 + corners[c][1];
                }
                const ushort base = ushort(inMesh * 4);
                const ushort quad[6] = {base, ushort(base + 1), ushort(base + 2), base, ushort(base + 2), ushort(base + 3)};
                for (int k = 0; k < 6; k++) ix[inMesh * 6 + k] = quad[k];
                inMesh++;
            }
            this->mesh.EndIndexed(inMesh * 4, inMesh * 6);
            this->shader->EndPass();
        }
        this->shader->End();
        this->gfx->SetShader(nullptr);
        this->gfx->EndScene();
        glFinish();
    }
};

Scene* TheScene()
{
    static Scene* scene = new Scene;
    return scene;
}

void BM_DrawText(benchmark::State& state)
{
    Scene* s = TheScene();
    for (auto _ : state) s->DrawText();
    state.SetItemsProcessed(state.iterations() * NumLines * LineLength);
}
BENCHMARK(BM_DrawText)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

void BM_DynamicMeshQuads(benchmark::State& state)
{
    Scene* s = TheScene();
    for (auto _ : state) s->DrawQuads();
    state.SetItemsProcessed(state.iterations() * NumLines * LineLength);
}
BENCHMARK(BM_DynamicMeshQuads)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
