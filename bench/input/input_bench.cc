//------------------------------------------------------------------------------
//  The input server's frame: Trigger with 200 mappings over 500 events,
//  beside a bare loop that matches the same templates against the same
//  events and nothing else.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "input/ninputevent.h"
#include "input/ninputmapping.h"
#include "input/ninputpackage.h"
#include "input/ninputserver.h"
#include "input/nkeynames.h"
#include "kernel/nkernelserver.h"

#include <string>
#include <vector>

namespace
{

const int NumMappings = 200;
const int NumEvents = 500;

/// a kernel with an input server holding 200 key mappings (down and up of
/// 100 keys) and a frame of 500 key events spread over the keyboard
struct Frame
{
    nKernelServer ks{ninput_package};
    nInputServer* input;
    std::vector<const nInputEvent*> templates;
    std::vector<const nInputEvent*> events;

    Frame()
    {
        this->input = static_cast<nInputServer*>(this->ks.New("ninputserver", "/sys/servers/input"));
        this->input->BeginMap();
        for (int i = 0; i < NumMappings; i++)
        {
            const nKeyName& key = nKeyNames[i / 2];
            const std::string mapStr = std::string("keyb0:") + key.name + ((i & 1) ? ".up" : ".down");
            this->input->Map(mapStr.c_str(), (std::string("state") + std::to_string(i)).c_str());
            this->templates.push_back(this->input->FindMapping((mapStr + "_state" + std::to_string(i)).c_str())->GetTemplate());
        }
        this->input->EndMap();
        for (int i = 0; i < NumEvents; i++)
        {
            nInputEvent* e = this->input->NewEvent();
            e->SetType((i & 1) ? N_INPUT_KEY_UP : N_INPUT_KEY_DOWN);
            e->SetDeviceId((i % 10) ? N_INPUT_KEYBOARD0 : N_INPUT_MOUSE0);
            e->SetKey(4 + (i * 7) % 106);
            this->input->LinkEvent(e);
            this->events.push_back(e);
        }
    }
};

}  // namespace

static void BM_Trigger200Mappings500Events(benchmark::State& state)
{
    Frame frame;
    double t = 0.0;
    for (auto _ : state)
    {
        t += 0.01;
        frame.input->Trigger(t);
    }
    state.SetItemsProcessed(state.iterations() * NumMappings * NumEvents);
}
BENCHMARK(BM_Trigger200Mappings500Events);

static void BM_Baseline_IsEventMatch200x500(benchmark::State& state)
{
    Frame frame;
    for (auto _ : state)
    {
        int matches = 0;
        for (const nInputEvent* tmpl : frame.templates)
        {
            for (const nInputEvent* e : frame.events)
            {
                matches += nInputServer::IsEventMatch(tmpl, e) ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(matches);
    }
    state.SetItemsProcessed(state.iterations() * NumMappings * NumEvents);
}
BENCHMARK(BM_Baseline_IsEventMatch200x500);

BENCHMARK_MAIN();
