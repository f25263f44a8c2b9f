//------------------------------------------------------------------------------
//  videofixture.cc
//------------------------------------------------------------------------------
#include "videofixture.h"

#include "application/napplicationpackage.h"
#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/ngfx2package.h"
#include "input/ninputpackage.h"
#include "kernel/nfileserver2.h"
#include "nopenal/nopenalpackage.h"
#include "resource/nresourcepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "video/nvideopackage.h"

void VideoTest::SetUp()
{
    this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{
        nfile_package, nsignals_package, nscript_package, nresource_package, ngfx2_package, nd3d9_package,
        ninput_package, naudio3_package, nopenal_package, nvideo_package, ndshow_package, napplication_package});
    this->ks->SetLogHandler(&this->log);
    this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
    this->ks->New("nresourceserver", "/sys/servers/resource");
    this->input = static_cast<nInputServer*>(this->ks->New("ninputserver", "/sys/servers/input"));
    this->gfx = static_cast<nD3D9Server*>(this->ks->New("nd3d9server", "/sys/servers/gfx"));
    this->video = static_cast<nDShowServer*>(this->ks->New("ndshowserver", "/sys/servers/video"));
    ASSERT_TRUE(this->video->Open());
    this->time = nTimeServer::Instance();
    this->time->LockDeltaT(FrameTime);
    nFileServer2::Instance()->SetAssign("shaders", ENGINE_SHADERS_DIR);
}

void VideoTest::TearDown()
{
    this->ks.reset();
}

void VideoTest::OpenDisplay(int w, int h, bool gl)
{
    if (!gl)
    {
        auto d = std::make_unique<nNullDevice>();
        this->dev = d.get();
        this->gfx->SetDevice(std::move(d));
    }
    this->gfx->SetDisplayMode(nDisplayMode2("video test", nDisplayMode2::Windowed, 0, 0, (ushort)w, (ushort)h, false));
    ASSERT_TRUE(this->gfx->OpenDisplay());
}

void VideoTest::Frame(std::initializer_list<KeyEvent> keys, double dt)
{
    for (const KeyEvent& k : keys)
    {
        nInputEvent* e = this->input->NewEvent();
        e->SetType(k.type);
        e->SetDeviceId(N_INPUT_KEYBOARD0);
        e->SetIndex(k.key);
        this->input->LinkEvent(e);
    }
    this->time->LockDeltaT(dt);
    this->time->Trigger();
    this->input->Trigger(this->time->GetTime());
    this->video->Trigger();
    this->input->FlushEvents();
}

int VideoTest::FramesUntilStopped(int limit)
{
    int n = 0;
    while (this->video->IsPlaying() && n < limit)
    {
        this->Frame();
        n++;
    }
    return n;
}

std::string VideoTest::Fixture(const char* name)
{
    return std::string(ENGINE_VIDEO_DATA) + "/" + name;
}

std::string VideoTest::TakeLog()
{
    std::string t = this->log.text;
    this->log.text.clear();
    return t;
}
