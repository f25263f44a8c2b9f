//------------------------------------------------------------------------------
//  10,000 small draws, each after changing one float4 parameter: through
//  the effect shader (SetVector4, CommitChanges) beside the same GL
//  uniform-and-draw calls made by hand with a program of the same kind, in
//  one context. Runs headless on SDL's offscreen driver unless
//  SDL_VIDEODRIVER names another.
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9shader.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputpackage.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "resource/nresourcepackage.h"

#include <GL/glcorearb.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace
{

const int NumDraws = 10000;

const char* const effectText = R"(float4 MatDiffuse = {1,1,1,1};
vertex vs { void main() { gl_Position = nPosition; } }
fragment ps { void main() { nFragColor = MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; } }
)";

const char* const rawVertex = "#version 330 core\nlayout(location = 0) in vec4 pos;\n"
                              "void main() { gl_Position = pos; }\n";
const char* const rawFragment = "#version 330 core\nuniform vec4 color;\nout vec4 fragColor;\n"
                                "void main() { fragColor = color; }\n";

/// the server's display open at 320x240, a tiny triangle bound, the effect loaded
struct Scene
{
    nKernelServer ks{nresource_package, ngfx2_package, ninput_package, nd3d9_package};
    nD3D9Server* gfx = nullptr;
    nD3D9Shader* shader = nullptr;
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint rawProgram = 0;
    GLint rawColor = -1;

    Scene()
    {
        nFileServer2::Instance()->SetAssign("shaders", ENGINE_SHADERS_DIR);
        this->ks.New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks.New("nd3d9server", "/sys/servers/gfx"));
        this->gfx->SetDisplayMode(nDisplayMode2("bench", nDisplayMode2::Windowed, 0, 0, 320, 240, false));
        if (!this->gfx->OpenDisplay())
        {
            fprintf(stderr, "no display\n");
            exit(1);
        }
        const std::string path = "/tmp/nd3d9shader_bench.fx";
        std::ofstream(path) << effectText;
        this->shader = static_cast<nD3D9Shader*>(this->gfx->NewShader("bench"));
        this->shader->SetFilename(path.c_str());
        this->shader->Load();
        const float tri[] = {0.0f, 0.0f, 0.0f, 0.02f, 0.0f, 0.0f, 0.0f, 0.02f, 0.0f};
        glGenVertexArrays(1, &this->vao);
        glBindVertexArray(this->vao);
        glGenBuffers(1, &this->vbo);
        glBindBuffer(GL_ARRAY_BUFFER, this->vbo);
        glBufferData(GL_ARRAY_BUFFER, sizeof(tri), tri, GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        std::string log;
        this->rawProgram = this->gfx->GetDevice()->CreateProgram(rawVertex, rawFragment, log).GetRaw();
        this->rawColor = glGetUniformLocation(this->rawProgram, "color");
    }
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

void BM_ShaderDraws(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
    {
        s.shader->Begin(true);
        s.shader->BeginPass(0);
        for (int i = 0; i < NumDraws; i++)
        {
            s.shader->SetVector4(nShaderState::MatDiffuse, vector4(float(i & 255) / 255.0f, 0.5f, 0.25f, 1.0f));
            s.shader->CommitChanges();
            glDrawArrays(GL_TRIANGLES, 0, 3);
        }
        s.shader->EndPass();
        s.shader->End();
        glFinish();
    }
}
BENCHMARK(BM_ShaderDraws)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

/// the baseline: the same uniform and draw calls by hand
void BM_RawGLDraws(benchmark::State& state)
{
    Scene& s = TheScene();
    for (auto _ : state)
    {
        glUseProgram(s.rawProgram);
        glDisable(GL_CULL_FACE);
        for (int i = 0; i < NumDraws; i++)
        {
            const float c[4] = {float(i & 255) / 255.0f, 0.5f, 0.25f, 1.0f};
            glUniform4fv(s.rawColor, 1, c);
            glDrawArrays(GL_TRIANGLES, 0, 3);
        }
        glFinish();
    }
}
BENCHMARK(BM_RawGLDraws)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

}  // namespace

int main(int argc, char** argv)
{
    if (!getenv("SDL_VIDEODRIVER"))
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
