//------------------------------------------------------------------------------
//  The input test fixture.
//------------------------------------------------------------------------------
#include "inputfixture.h"
#include "tclrun.h"

#include "file/nfilepackage.h"
#include "input/ninputpackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"

void InputTest::SetUp()
{
    this->ks = std::make_unique<nKernelServer>(
        std::initializer_list<nPackageFunc>{nfile_package, nsignals_package, nscript_package, ninput_package});
    this->ks->SetLogHandler(&this->log);
    this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
    this->input = static_cast<nInputServer*>(this->ks->New("ninputserver", "/sys/servers/input"));
    this->time = nTimeServer::Instance();
    this->time->SetTime(0.0);
    this->time->LockDeltaT(FrameTime);
}

void InputTest::TearDown()
{
    this->ks.reset();
}

nInputEvent* InputTest::Link(nInputType type, int deviceId, int index, float axisValue)
{
    nInputEvent* e = this->input->NewEvent();
    e->SetType(type);
    e->SetDeviceId(deviceId);
    e->SetIndex(index);
    e->SetAxisValue(axisValue);
    this->input->LinkEvent(e);
    return e;
}

void InputTest::Frame(std::initializer_list<TestEvent> events, double dt)
{
    for (const TestEvent& te : events) this->Link(te.type, te.deviceId, te.index, te.axisValue);
    this->time->LockDeltaT(dt);
    this->time->Trigger();
    this->input->Trigger(this->time->GetTime());
    this->input->FlushEvents();
}

std::string InputTest::Tcl(const std::string& str)
{
    return ::TclOk(this->script, str);
}

std::string InputTest::TclFails(const std::string& str)
{
    return ::TclFails(this->script, str);
}

std::string InputTest::TakeLog()
{
    std::string text;
    text.swap(this->log.text);
    return text;
}
