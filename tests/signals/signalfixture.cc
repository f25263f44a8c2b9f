//------------------------------------------------------------------------------
//  The signal tests' kernel and test class.
//------------------------------------------------------------------------------
#include "signalfixture.h"

#include "kernel/nmodule.h"
#include "signals/nsignalspackage.h"

std::vector<std::string> g_calls;
nObject* g_cutEmitter = nullptr;
nObject* g_cutTarget = nullptr;
const char* g_cutSignal = nullptr;

namespace
{

class nSigTarget : public nRoot
{
};

std::string NameOf(void* slf)
{
    return static_cast<nRoot*>(static_cast<nObject*>(slf))->GetName();
}

std::string ObjName(void* o)
{
    return o ? NameOf(o) : "null";
}

void n_record(void* slf, nCmd* cmd)
{
    const int i = cmd->In()->GetI();
    const char* s = cmd->In()->GetS();
    g_calls.push_back(NameOf(slf) + ":record:" + std::to_string(i) + ":" + (s ? s : "null"));
}

void n_recordfalse(void* slf, nCmd* cmd)
{
    const int i = cmd->In()->GetI();
    const char* s = cmd->In()->GetS();
    g_calls.push_back(NameOf(slf) + ":recordfalse:" + std::to_string(i) + ":" + (s ? s : "null"));
    cmd->Out()->SetB(false);
}

void n_recordf(void* slf, nCmd* cmd)
{
    g_calls.push_back(NameOf(slf) + ":recordf:" + std::to_string(cmd->In()->GetF()));
}

void n_ping(void* slf, nCmd*)
{
    g_calls.push_back(NameOf(slf) + ":ping");
}

void n_pingo(void* slf, nCmd* cmd)
{
    g_calls.push_back(NameOf(slf) + ":pingo:" + ObjName(cmd->In()->GetO()));
}

/// takes an object but never looks at it (it may have died)
void n_touch(void* slf, nCmd*)
{
    g_calls.push_back(NameOf(slf) + ":touch");
}

void n_releaseobj(void* slf, nCmd* cmd)
{
    nObject* victim = static_cast<nObject*>(cmd->In()->GetO());
    g_calls.push_back(NameOf(slf) + ":releaseobj:" + ObjName(victim));
    victim->Release();
}

void n_cut(void* slf, nCmd*)
{
    g_calls.push_back(NameOf(slf) + ":cut");
    g_cutEmitter->UnbindTargetObject(g_cutSignal, g_cutTarget);
}

void nsigtarget_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_record_is", N_FOURCC('R', 'C', 'R', 'D'), n_record);
    cl->AddCmd("b_recordfalse_is", N_FOURCC('R', 'C', 'F', 'L'), n_recordfalse);
    cl->AddCmd("v_recordf_f", N_FOURCC('R', 'C', 'F', 'F'), n_recordf);
    cl->AddCmd("v_ping_v", N_FOURCC('P', 'I', 'N', 'G'), n_ping);
    cl->AddCmd("v_pingo_o", N_FOURCC('P', 'N', 'G', 'O'), n_pingo);
    cl->AddCmd("v_touch_o", N_FOURCC('T', 'O', 'C', 'H'), n_touch);
    cl->AddCmd("v_releaseobj_o", N_FOURCC('R', 'E', 'L', 'O'), n_releaseobj);
    cl->AddCmd("v_cut_v", N_FOURCC('C', 'U', 'T', '_'), n_cut);
    cl->EndCmds();
}

N_IMPLEMENT_MODULE(nsigtarget, nSigTarget, "nroot", nsigtarget_initcmds)
N_IMPLEMENT_MODULE(nsigchild, nSigTarget, "nsigtarget", nullptr)

}  // namespace

void sigtest_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nsigtarget);
    N_ADD_MODULE(nKernelServer::Instance(), nsigchild);
}

void SignalTest::SetUp()
{
    g_calls.clear();
    this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nsignals_package, sigtest_package});
    this->targetClass = this->ks->FindClass("nsigtarget");
    nSignalRegistry& reg = this->targetClass->GetSignalRegistry();
    ASSERT_TRUE(reg.AddSignal("v_fire_is", N_FOURCC('F', 'I', 'R', 'E')));
    ASSERT_TRUE(reg.AddSignal("v_ping_v", N_FOURCC('P', 'N', 'G', 'S')));
    ASSERT_TRUE(reg.AddSignal("v_fireo_o", N_FOURCC('F', 'I', 'R', 'O')));
    ASSERT_TRUE(reg.AddSignal("v_firef_f", N_FOURCC('F', 'I', 'R', 'F')));
    this->e = static_cast<nRoot*>(this->ks->New("nsigtarget", "/e"));
    this->t1 = static_cast<nRoot*>(this->ks->New("nsigtarget", "/t1"));
    this->t2 = static_cast<nRoot*>(this->ks->New("nsigtarget", "/t2"));
}

void SignalTest::TearDown()
{
    KernelTest::TearDown();
    g_cutEmitter = nullptr;
    g_cutTarget = nullptr;
    g_cutSignal = nullptr;
}

nSignal* SignalTest::Signal(const char* name)
{
    nSignal* signal = this->targetClass->GetSignalRegistry().FindSignalByName(name);
    EXPECT_NE(signal, nullptr) << name;
    return signal;
}

bool SignalTest::Emit(nObject* obj, const char* signalName)
{
    nSignal* signal = this->Signal(signalName);
    nCmd* cmd = signal->NewCmd();
    const bool result = signal->Dispatch(obj, cmd);
    signal->RelCmd(cmd);
    return result;
}

bool SignalTest::EmitFire(nObject* obj, int i, const char* s)
{
    nSignal* signal = this->Signal("fire");
    nCmd* cmd = signal->NewCmd();
    cmd->In()->SetI(i);
    cmd->In()->SetS(s);
    const bool result = obj->Dispatch(cmd);
    signal->RelCmd(cmd);
    return result;
}

bool SignalTest::EmitFireO(nObject* obj, nObject* arg)
{
    nSignal* signal = this->Signal("fireo");
    nCmd* cmd = signal->NewCmd();
    cmd->In()->SetO(arg);
    const bool result = signal->Dispatch(obj, cmd);
    signal->RelCmd(cmd);
    return result;
}

int SignalTest::NumBindings(nObject* obj, const char* signalName)
{
    nSignalBindingSet* bs = obj->FindBindingSet(this->Signal(signalName)->GetId());
    if (!bs) return -1;
    int num = 0;
    for (nSignalBinding* b = bs->GetHead(); b; b = b->GetSucc())
    {
        if (!b->IsRemoved()) ++num;
    }
    return num;
}
