//------------------------------------------------------------------------------
//  One frame of N small meshes (10 to 20,000), each with its own model transform and
//  one changed shader parameter: through the graphics server (SetMesh,
//  SetTransform into the shared effect values, SetVector4, DrawIndexedNS)
//  beside the same work done with raw GL calls (a vertex array per mesh,
//  the model-view-projection product on the CPU, two uniforms and a draw),
//  in one context. Runs headless on SDL's offscreen driver unless
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
#include <vector>

namespace
{

const int MaxMeshes = 20000;

/// how many meshes a frame draws
void DrawCounts(benchmark::internal::Benchmark* b)
{
    for (int n : {10, 100, 1000, 5000, 20000}) b->Arg(n);
}

const char* const effectText = R"(shared float4x4 ModelViewProjection;
float4 MatDiffuse = {1,1,1,1};
vertex vs { void main() { gl_Position = ModelViewProjection * nPosition; } }
fragment ps { void main() { nFragColor = MatDiffuse; } }
technique t0 { pass p0 { VertexShader = vs; PixelShader = ps; CullMode = None; } }
)";

const char* const rawVertex = "#version 330 core\nlayout(location = 0) in vec4 pos;\nuniform mat4 mvp;\n"
                              "void main() { gl_Position = mvp * pos; gl_Position.y = -gl_Position.y; }\n";
const char* const rawFragment = "#version 330 core\nuniform vec4 color;\nout vec4 fragColor;\n"
                                "void main() { fragColor = color; }\n";

/// a quad of side 0.02 around the origin: four coords, six indices
const float quadVertices[] = {-0.01f, -0.01f, 0.0f, 0.01f, -0.01f, 0.0f, -0.01f, 0.01f, 0.0f, 0.01f, 0.01f, 0.0f};
const unsigned short quadIndices[] = {0, 1, 2, 1, 3, 2};

/// the server's display open at 320x240, the meshes, the effect and the raw GL objects
struct Scene
{
    nKernelServer ks{nresource_package, ngfx2_package, ninput_package, nd3d9_package};
    nD3D9Server* gfx = nullptr;
    nD3D9Shader* shader = nullptr;
    std::vector<nMesh2*> meshes;
    std::vector<matrix44> models;
    std::vector<GLuint> rawVaos;
    std::vector<GLuint> rawBuffers;
    GLuint rawProgram = 0;
    GLint rawColor = -1;
    GLint rawMvp = -1;

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
        const std::string path = "/tmp/nd3d9render_bench.fx";
        std::ofstream(path) << effectText;
        this->shader = static_cast<nD3D9Shader*>(this->gfx->NewShader("bench"));
        this->shader->SetFilename(path.c_str());
        this->shader->Load();
        matrix44 view;
        view.translate(vector3(0.0f, 0.0f, -3.0f));
        this->gfx->SetTransform(nGfxServer2::View, view);
        for (int i = 0; i < MaxMeshes; i++)
        {
            this->MakeMesh(i);
            // a grid of 5,000 places, covered again by every further 5,000
            const int place = i % 5000;
            matrix44 m;
            m.translate(vector3(float(place % 100) / 50.0f - 1.0f, float(place / 100) / 25.0f - 1.0f, 0.0f));
            this->models.push_back(m);
        }
        std::string log;
        this->rawProgram = this->gfx->GetDevice()->CreateProgram(rawVertex, rawFragment, log).GetRaw();
        this->rawColor = glGetUniformLocation(this->rawProgram, "color");
        this->rawMvp = glGetUniformLocation(this->rawProgram, "mvp");
    }

    /// one engine mesh and one raw vertex array of the quad
    void MakeMesh(int i)
    {
        nMesh2* mesh = this->gfx->NewMesh(("bench" + std::to_string(i)).c_str());
        mesh->SetUsage(nMesh2::WriteOnce);
        mesh->SetVertexComponents(nMesh2::Coord);
        mesh->SetNumVertices(4);
        mesh->SetNumIndices(6);
        mesh->Load();
        std::copy(quadVertices, quadVertices + 12, mesh->LockVertices());
        mesh->UnlockVertices();
        std::copy(quadIndices, quadIndices + 6, mesh->LockIndices());
        mesh->UnlockIndices();
        this->meshes.push_back(mesh);

        GLuint vao = 0, buffers[2] = {0, 0};
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(2, buffers);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[0]);
        glBufferData(GL_ARRAY_BUFFER, sizeof(quadVertices), quadVertices, GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[1]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(quadIndices), quadIndices, GL_STATIC_DRAW);
        glBindVertexArray(0);
        this->rawVaos.push_back(vao);
        this->rawBuffers.insert(this->rawBuffers.end(), buffers, buffers + 2);
    }
};

/// one frame of the first numMeshes meshes through the server
void ServerFrame(Scene& s, int numMeshes)
{
    s.gfx->BeginScene();
    s.gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
    s.gfx->SetShader(s.shader);
    s.shader->Begin(false);
    s.shader->BeginPass(0);
    for (int i = 0; i < numMeshes; i++)
    {
        s.gfx->SetMesh(s.meshes[i]);
        s.gfx->SetTransform(nGfxServer2::Model, s.models[i]);
        s.shader->SetVector4(nShaderState::MatDiffuse, vector4(float(i & 255) / 255.0f, 0.5f, 0.25f, 1.0f));
        s.gfx->SetVertexRange(0, 4);
        s.gfx->SetIndexRange(0, 6);
        s.gfx->DrawIndexedNS(nGfxServer2::TriangleList);
    }
    s.shader->EndPass();
    s.shader->End();
    s.gfx->SetMesh(nullptr);
    s.gfx->EndScene();
    glFinish();
}

/// the same frame by hand
void RawFrame(Scene& s, int numMeshes)
{
    const matrix44 viewProj = s.gfx->GetTransform(nGfxServer2::ViewProjection);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glUseProgram(s.rawProgram);
    glDisable(GL_CULL_FACE);
    for (int i = 0; i < numMeshes; i++)
    {
        glBindVertexArray(s.rawVaos[i]);
        const matrix44 mvp = s.models[i] * viewProj;
        glUniformMatrix4fv(s.rawMvp, 1, GL_FALSE, &mvp.m[0][0]);
        const float c[4] = {float(i & 255) / 255.0f, 0.5f, 0.25f, 1.0f};
        glUniform4fv(s.rawColor, 1, c);
        glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, nullptr);
    }
    glBindVertexArray(0);
    glFinish();
}

/// the scene, after one frame of each kind, so that first uploads and the
/// driver's first compilations stay out of the figures
Scene& TheScene()
{
    static Scene* scene = [] {
        auto* s = new Scene;
        ServerFrame(*s, MaxMeshes);
        RawFrame(*s, MaxMeshes);
        return s;
    }();
    return *scene;
}

void BM_ServerFrame(benchmark::State& state)
{
    Scene& s = TheScene();
    const int numMeshes = int(state.range(0));
    for (auto _ : state)
    {
        ServerFrame(s, numMeshes);
    }
    state.SetItemsProcessed(state.iterations() * numMeshes);
}
BENCHMARK(BM_ServerFrame)->Apply(DrawCounts)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

/// the baseline: the same frame by hand
void BM_RawGLFrame(benchmark::State& state)
{
    Scene& s = TheScene();
    const int numMeshes = int(state.range(0));
    for (auto _ : state)
    {
        RawFrame(s, numMeshes);
    }
    state.SetItemsProcessed(state.iterations() * numMeshes);
}
BENCHMARK(BM_RawGLFrame)->Apply(DrawCounts)->Unit(benchmark::kMillisecond)->Apply(RasterRepetitions);

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
