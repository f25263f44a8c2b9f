#ifndef TESTS_GFX2_GFXFIXTURE_H
#define TESTS_GFX2_GFXFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with the resource and graphics packages, a resource server and
//  a recording graphics server at /sys/servers/gfx, and a log that keeps
//  what was printed.
//------------------------------------------------------------------------------
#include "recordinggfxserver.h"
#include "recordingresource.h"
#include "resource/nresourcepackage.h"
#include "gfx2/ngfx2package.h"
#include "capturelog.h"

#include <gtest/gtest.h>

#include <memory>

class GfxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(
            std::initializer_list<nPackageFunc>{nresource_package, ngfx2_package, recordinggfx_package});
        this->ks->SetLogHandler(&this->log);
        this->rs = static_cast<nResourceServer*>(this->ks->New("nresourceserver", "/sys/servers/resource"));
        this->gfx = static_cast<RecordingGfxServer*>(this->ks->New("nrecordinggfxserver", "/sys/servers/gfx"));
    }
    void TearDown() override
    {
        this->ks.reset();
    }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    nResourceServer* rs = nullptr;
    RecordingGfxServer* gfx = nullptr;
};
#endif
