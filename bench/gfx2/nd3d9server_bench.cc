//------------------------------------------------------------------------------
//  Presenting an empty 640x480 frame (clear, blit, swap) through the
//  Direct3D 9 server on the OpenGL device, beside the same GL calls made
//  by hand on a window and context of the same kind. Runs headless on
//  SDL's offscreen driver unless SDL_VIDEODRIVER names another.
//------------------------------------------------------------------------------
#define GL_GLEXT_PROTOTYPES 1
#include <benchmark/benchmark.h>

#include "rasterrepetitions.h"

#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputpackage.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "platform/nplatformwindow.h"
#include "resource/nresourcepackage.h"

#include <GL/glcorearb.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

const int Width = 640;
const int Height = 480;

/// a kernel with the server's display open at 640x480
struct ServerFrame
{
    nKernelServer ks{nresource_package, ngfx2_package, ninput_package, nd3d9_package};
    nD3D9Server* gfx;

    ServerFrame()
    {
        this->ks.GetFileServer()->SetAssign("shaders", ENGINE_SHADERS_DIR);
        this->ks.New("nresourceserver", "/sys/servers/resource");
        this->gfx = static_cast<nD3D9Server*>(this->ks.New("nd3d9server", "/sys/servers/gfx"));
        this->gfx->SetDisplayMode(nDisplayMode2("bench", nDisplayMode2::Windowed, 0, 0, Width, Height, false));
        this->gfx->OpenDisplay();
    }
};

/// a GL window, context and back-buffer framebuffer made by hand
struct RawFrame
{
    nPlatformWindow window;
    SDL_GLContext context = nullptr;
    GLuint fbo = 0;
    GLuint rb[2] = {0, 0};

    RawFrame()
    {
        std::string error;
        if (!this->window.Open("raw", true, error))
        {
            fprintf(stderr, "no window: %s\n", error.c_str());
            exit(1);
        }
        this->window.Show(nPlatformWindow::Normal, 0, 0, Width, Height);
        this->context = SDL_GL_CreateContext(this->window.GetSDLWindow());
        if (!this->context)
        {
            fprintf(stderr, "no context: %s\n", SDL_GetError());
            exit(1);
        }
        SDL_GL_SetSwapInterval(0);
        glGenFramebuffers(1, &this->fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, this->fbo);
        glGenRenderbuffers(2, this->rb);
        glBindRenderbuffer(GL_RENDERBUFFER, this->rb[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, Width, Height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, this->rb[0]);
        glBindRenderbuffer(GL_RENDERBUFFER, this->rb[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, Width, Height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, this->rb[1]);
        glViewport(0, 0, Width, Height);
    }

    ~RawFrame()
    {
        glDeleteFramebuffers(1, &this->fbo);
        glDeleteRenderbuffers(2, this->rb);
        SDL_GL_DeleteContext(this->context);
    }

    void Present()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, this->fbo);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClearDepth(1.0);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, this->fbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, Width, Height, 0, Height, Width, 0, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        SDL_GL_SwapWindow(this->window.GetSDLWindow());
    }
};

void BM_ServerPresent(benchmark::State& state)
{
    ServerFrame frame;
    nD3D9Server* gfx = frame.gfx;
    for (auto _ : state)
    {
        if (gfx->BeginScene())
        {
            gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0);
            gfx->EndScene();
            gfx->PresentScene();
        }
    }
    glFinish();
}
BENCHMARK(BM_ServerPresent)->Unit(benchmark::kMicrosecond)->Apply(RasterRepetitions);

void BM_RawGLPresent(benchmark::State& state)
{
    RawFrame frame;
    for (auto _ : state)
    {
        frame.Present();
    }
    glFinish();
}
BENCHMARK(BM_RawGLPresent)->Unit(benchmark::kMicrosecond)->Apply(RasterRepetitions);

}  // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
