//------------------------------------------------------------------------------
//  Calling a script command from Tcl: 200,000 calls of a one-float setter
//  from a Tcl loop, by path (/bench/obj.setf) and on the selected object
//  (.setf), beside the same calls dispatched directly in C++ and beside a
//  Tcl loop calling a no-op command registered straight with Tcl.
//------------------------------------------------------------------------------
#include <benchmark/benchmark.h>

#include "kernel/nkernelserver.h"
#include "kernel/nmodule.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/nroot.h"
#include "kernel/nscriptserver.h"
#include "script/nscriptpackage.h"

#include <tcl.h>

#include <memory>

namespace
{

const int numCalls = 200000;

/// the object whose setter is called
class nBenchObj : public nRoot
{
public:
    float value = 0.0f;
};

void n_setf(void* slf, nCmd* cmd)
{
    static_cast<nBenchObj*>(slf)->value = cmd->In()->GetF();
}

void nbenchobj_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setf_f", N_FOURCC('S', 'E', 'T', 'F'), n_setf);
    cl->EndCmds();
}

}  // namespace

N_IMPLEMENT_MODULE(nbenchobj, nBenchObj, "nroot", nbenchobj_initcmds)

namespace
{

void nbench_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nbenchobj);
}

/// a kernel with a Tcl server and the object /bench/obj
struct ScriptBench
{
    ScriptBench() :
        ks(std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nscript_package, nbench_package}))
    {
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->obj = static_cast<nBenchObj*>(this->ks->New("nbenchobj", "/bench/obj"));
    }

    void Run(const char* str)
    {
        nString result;
        this->script->Run(str, result);
    }

    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nBenchObj* obj = nullptr;
};

/// the loop body of every Tcl variant, compiled once inside a procedure
const char* const loopProc =
    "proc loop {n} { for {set i 0} {$i < $n} {incr i} { %s 1.5 } }";

void DefineLoop(ScriptBench& b, const char* call)
{
    char buf[256];
    snprintf(buf, sizeof(buf), loopProc, call);
    b.Run(buf);
}

/*
 * RunTclLoop --
 *     Times the loop procedure calling 'call' 200,000 times per iteration;
 *     'setup' runs once before.
 */
void RunTclLoop(benchmark::State& state, const char* call, const char* setup)
{
    ScriptBench b;
    DefineLoop(b, call);
    b.Run(setup);
    for (auto _ : state)
    {
        b.Run("loop 200000");
    }
    state.SetItemsProcessed(state.iterations() * numCalls);
}

void BM_Tcl_PathCommand(benchmark::State& state)
{
    RunTclLoop(state, "/bench/obj.setf", "");
}
BENCHMARK(BM_Tcl_PathCommand)->Unit(benchmark::kMillisecond);

void BM_Tcl_SelectedCommand(benchmark::State& state)
{
    RunTclLoop(state, ".setf", "sel /bench/obj");
}
BENCHMARK(BM_Tcl_SelectedCommand)->Unit(benchmark::kMillisecond);

void BM_Baseline_CppDispatch(benchmark::State& state)
{
    ScriptBench b;
    nCmdProto* proto = b.obj->GetClass()->FindCmdByName("setf");
    for (auto _ : state)
    {
        for (int i = 0; i < numCalls; i++)
        {
            nCmd* cmd = proto->NewCmd();
            cmd->In()->SetF(1.5f);
            b.obj->Dispatch(cmd);
            proto->RelCmd(cmd);
        }
        benchmark::DoNotOptimize(b.obj->value);
    }
    state.SetItemsProcessed(state.iterations() * numCalls);
}
BENCHMARK(BM_Baseline_CppDispatch)->Unit(benchmark::kMillisecond);

int NoopCmd(ClientData, Tcl_Interp*, int, Tcl_Obj* const*)
{
    return TCL_OK;
}

void BM_Baseline_TclNoopCommand(benchmark::State& state)
{
    // after the server's construction, which set Tcl up for the process
    ScriptBench b;
    Tcl_Interp* interp = Tcl_CreateInterp();
    Tcl_CreateObjCommand(interp, "noop", NoopCmd, nullptr, nullptr);
    char buf[256];
    snprintf(buf, sizeof(buf), loopProc, "noop");
    Tcl_EvalEx(interp, buf, -1, 0);
    for (auto _ : state)
    {
        Tcl_EvalEx(interp, "loop 200000", -1, 0);
    }
    Tcl_DeleteInterp(interp);
    state.SetItemsProcessed(state.iterations() * numCalls);
}
BENCHMARK(BM_Baseline_TclNoopCommand)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
