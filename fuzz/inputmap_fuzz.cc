//------------------------------------------------------------------------------
//  Fuzzes the mapping strings scripts hand to the input server: the input
//  up to the first newline is the mapping string, the rest the target. One
//  mapping run maps it; the string is also parsed as an event string and
//  read as a channel value, and a frame of events runs through the result.
//------------------------------------------------------------------------------
#include "input/ninputevent.h"
#include "input/ninputpackage.h"
#include "input/ninputserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace
{

/// the server's messages are expected here; keep the fuzzer's output clean
class QuietLog : public nLogHandler
{
public:
    void Print(const char*, va_list) override {}
    void Message(const char*, va_list) override {}
};

struct Engine
{
    QuietLog log;
    nKernelServer ks{ninput_package};
    nInputServer* input;

    Engine()
    {
        this->ks.SetLogHandler(&this->log);
        this->input = static_cast<nInputServer*>(this->ks.New("ninputserver", "/sys/servers/input"));
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Engine engine;
    nInputServer* input = engine.input;
    const std::string text(reinterpret_cast<const char*>(data), size);
    // scripts hand over C strings: each part ends at its first NUL
    const size_t nl = text.find('\n');
    const std::string mapStr = text.substr(0, nl).c_str();
    const std::string target = nl == std::string::npos ? std::string("state") : text.substr(nl + 1).c_str();

    nInputEvent tmpl;
    input->ParseEvent(mapStr.c_str(), &tmpl);
    (void)nInputServer::GetChannelValue(mapStr.c_str(), "key");

    input->BeginMap();
    input->Map(mapStr.c_str(), target.c_str());
    input->EndMap();

    for (int type = N_INPUT_KEY_DOWN; type <= N_INPUT_BUTTON_DBLCLICK; type++)
    {
        nInputEvent* e = input->NewEvent();
        e->SetType((nInputType)type);
        e->SetDeviceId(tmpl.GetDeviceId());
        e->SetIndex(tmpl.GetIndex());
        e->SetAxisValue(0.5f);
        input->LinkEvent(e);
    }
    input->Trigger(0.1);
    input->FlushEvents();
    return 0;
}
