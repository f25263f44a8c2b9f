//------------------------------------------------------------------------------
//  Fuzzes the render-path file reader: each input is written as the
//  render-path file and opened as the scene server opens it, on the
//  recording graphics server, and a path that opens draws one frame. An
//  open that fails must only log.
//------------------------------------------------------------------------------
#include "renderpath/rpgfxserver.h"
#include "renderpath/nrenderpath2.h"
#include "resource/nresourcepackage.h"
#include "gfx2/ngfx2package.h"
#include "variable/nvariablepackage.h"
#include "kernel/nloghandler.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{

/// drops the parser's messages; fatal errors still reach standard error
class QuietLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char*, va_list) override {}
};

struct Engine
{
    Engine()
    {
        ks = new nKernelServer({nresource_package, ngfx2_package, nvariable_package, recordinggfx_package,
                                rpgfx_package});
        ks->SetLogHandler(&log);
        ks->New("nresourceserver", "/sys/servers/resource");
        ks->New("nvariableserver", "/sys/servers/variable");
        RpGfxServer* gfx = static_cast<RpGfxServer*>(ks->New("nrpgfxserver", "/sys/servers/gfx"));
        nDisplayMode2 mode;
        mode.SetWidth(800);
        mode.SetHeight(600);
        gfx->SetDisplayMode(mode);
        gfx->OpenDisplay();
        path = "/tmp/rpxmlparser_fuzz-" + std::to_string(getpid()) + ".xml";
        rp = new nRenderPath2;
        rp->SetFilename(path.c_str());
    }

    QuietLog log;
    nKernelServer* ks = nullptr;
    nRenderPath2* rp = nullptr;
    std::string path;
};

/// the number of sequences of every pass and phase
int CountSequences(const nRenderPath2* rp)
{
    int n = 0;
    for (int p = 0; p < rp->GetNumPasses(); p++)
    {
        const nRpPass& pass = rp->GetPass(p);
        for (int ph = 0; ph < pass.GetNumPhases(); ph++) n += pass.GetPhase(ph).GetNumSequences();
    }
    return n;
}

/*
 * DrawFrame --
 *     Side effects: walks one frame as the scene server does, when the
 *     path stays within the sequence shaders the scene server has buckets
 *     for (more is a fatal error by design).
 */
void DrawFrame(nRenderPath2* rp)
{
    if (CountSequences(rp) > nRenderPath2::MaxSequenceShaders) return;
    const int numPasses = rp->Begin();
    for (int p = 0; p < numPasses; p++)
    {
        nRpPass& pass = rp->GetPass(p);
        const int numPhases = pass.Begin();
        for (int ph = 0; ph < numPhases; ph++)
        {
            nRpPhase& phase = pass.GetPhase(ph);
            const int numSequences = phase.Begin();
            for (int s = 0; s < numSequences; s++)
            {
                if (phase.GetSequence(s).GetShader()->GetShaderIndex() >= nRenderPath2::MaxSequenceShaders)
                {
                    __builtin_trap();
                }
            }
            phase.End();
        }
        pass.End();
    }
    rp->End();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Engine engine;
    FILE* f = fopen(engine.path.c_str(), "wb");
    if (!f) return 0;
    fwrite(data, 1, size, f);
    fclose(f);
    nRenderPath2* rp = engine.rp;
    if (rp->OpenXml())
    {
        const bool opened = rp->Open();
        rp->CloseXml();
        if (opened)
        {
            if (rp->GetName().IsEmpty() || rp->GetShaderPath().IsEmpty()) __builtin_trap();
            for (int i = 0; i < rp->GetNumPasses(); i++)
            {
                const nRpPass& pass = rp->GetPass(i);
                if (!pass.GetRenderTargetName().IsEmpty() && !rp->FindRenderTarget(pass.GetRenderTargetName()))
                {
                    __builtin_trap();
                }
            }
            DrawFrame(rp);
            rp->Close();
        }
    }
    unlink(engine.path.c_str());
    return 0;
}
