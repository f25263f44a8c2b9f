#ifndef TESTS_RENDERPATH_RPFIXTURE_H
#define TESTS_RENDERPATH_RPFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with resource, variable and recording graphics servers (an
//  800x600 display, open), a render path, and a temporary directory for
//  the render-path files a test writes.
//------------------------------------------------------------------------------
#include "rpgfxserver.h"
#include "capturelog.h"
#include "usertempdir.h"
#include "renderpath/nrenderpath2.h"
#include "resource/nresourcepackage.h"
#include "gfx2/ngfx2package.h"
#include "variable/nvariablepackage.h"
#include "variable/nvariableserver.h"

#include <gtest/gtest.h>

#include <memory>

class RenderPathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
            nresource_package, ngfx2_package, nvariable_package, recordinggfx_package, rpgfx_package});
        this->ks->SetLogHandler(&this->log);
        this->ks->New("nresourceserver", "/sys/servers/resource");
        this->ks->New("nvariableserver", "/sys/servers/variable");
        this->gfx = static_cast<RpGfxServer*>(this->ks->New("nrpgfxserver", "/sys/servers/gfx"));
        nDisplayMode2 mode;
        mode.SetWidth(800);
        mode.SetHeight(600);
        this->gfx->SetDisplayMode(mode);
        this->gfx->OpenDisplay();
        this->dir = MakeTempDir("renderpath");
        this->rp = std::make_unique<nRenderPath2>();
    }
    void TearDown() override
    {
        if (this->rp->IsOpen()) this->rp->Close();
        this->rp.reset();
        this->ks.reset();
        std::filesystem::remove_all(this->dir);
    }

    /// write the text as a render-path file and make it the render path's file
    void UseFile(const std::string& text)
    {
        const std::string path = this->dir + "/renderpath.xml";
        WriteWholeFile(path, text);
        this->rp->SetFilename(path.c_str());
    }
    /// write, load and build the text; whether all of it succeeded
    bool OpenText(const std::string& text)
    {
        this->UseFile(text);
        if (!this->rp->OpenXml()) return false;
        const bool ok = this->rp->Open();
        this->rp->CloseXml();
        return ok;
    }
    /// the calls recorded since the last Forget
    std::vector<std::string>& Calls() { return this->gfx->calls; }
    void Forget() { this->gfx->calls.clear(); }
    /// the global value of a variable by name
    nVariable* Global(const char* name)
    {
        nVariableServer* vs = nVariableServer::Instance();
        return vs->GetGlobalVariableContext().GetVariable(vs->FindVariableHandleByName(name));
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    RpGfxServer* gfx = nullptr;
    std::string dir;
    std::unique_ptr<nRenderPath2> rp;
};
#endif
