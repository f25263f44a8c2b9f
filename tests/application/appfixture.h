#ifndef TESTS_APPLICATION_APPFIXTURE_H
#define TESTS_APPLICATION_APPFIXTURE_H
//------------------------------------------------------------------------------
//  A fresh kernel per test with the application package and the stand-in
//  servers, a capturing log, and a test application "/theApp".
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "standins.h"
#include "capturelog.h"

#include "application/napplicationpackage.h"
#include "kernel/nkernelserver.h"
#include "kernel/ntimeserver.h"
#include "locale/nlocalepackage.h"
#include "misc/nmiscpackage.h"
#include "resource/nresourcepackage.h"
#include "gfx2/ngfx2package.h"
#include "anim2/nanim2package.h"
#include "scene/nscenepackage.h"
#include "gui/nguipackage.h"
#include "input/ninputpackage.h"
#include "audio3/naudio3package.h"
#include "variable/nvariablepackage.h"

#include <memory>

class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetStandIns();
        this->ks = std::make_unique<nKernelServer>(
            std::initializer_list<nPackageFunc>{nmisc_package, nlocale_package, nresource_package, ngfx2_package,
                                                nvariable_package, nanim2_package, nscene_package, ninput_package, naudio3_package,
                                                ngui_package, napplication_package, napptest_package});
        this->ks->SetLogHandler(&this->log);
        this->app = static_cast<TestApp*>(this->ks->New("testapp", "/theApp"));
        // a clock that moves only when a test moves it
        nTimeServer::Instance()->StopTime();
        nTimeServer::Instance()->SetTime(1.0);
    }
    void TearDown() override
    {
        if (this->app->IsOpen()) this->app->Close();
        this->app->Release();
        this->ks.reset();
    }

    /// open and create test states of the names; the first is selected
    void OpenWithStates(std::initializer_list<const char*> names)
    {
        ASSERT_TRUE(this->app->Open());
        for (const char* name : names)
        {
            this->app->CreateState(nString("teststate"), nString(name));
        }
        this->app->SetState(nString(*names.begin()));
    }
    TestState* State(const char* name) { return static_cast<TestState*>(this->app->FindState(nString(name))); }

    CaptureLog log;
    std::unique_ptr<nKernelServer> ks;
    TestApp* app = nullptr;
};
#endif
