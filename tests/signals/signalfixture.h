#ifndef TESTS_SIGNALS_SIGNALFIXTURE_H
#define TESTS_SIGNALS_SIGNALFIXTURE_H
//------------------------------------------------------------------------------
//  A kernel with the signal server's class and a test class whose commands
//  record their calls: an emitter /e and two targets /t1 and /t2.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"
#include "kernel/scriptcall.h"

#include "kernel/nsignal.h"
#include "kernel/nsignalbindingset.h"
#include "kernel/nsignalbinding.h"

#include <string>
#include <vector>

/// the calls of the test commands, "object:command:arguments"
extern std::vector<std::string> g_calls;
/// what the command "v_cut_v" unbinds: the bindings of signal g_cutSignal
/// of g_cutEmitter to g_cutTarget
extern nObject* g_cutEmitter;
extern nObject* g_cutTarget;
extern const char* g_cutSignal;

/// registers "nsigtarget" (below nroot) and "nsigchild" (below nsigtarget)
void sigtest_package();

class SignalTest : public KernelTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// a signal of the test class by name
    nSignal* Signal(const char* name);
    /// emit a signal without inputs on an object
    bool Emit(nObject* obj, const char* signalName);
    /// emit "v_fire_is" with its inputs
    bool EmitFire(nObject* obj, int i, const char* s);
    /// emit "v_fireo_o" with its input
    bool EmitFireO(nObject* obj, nObject* arg);
    /// the number of bindings (removed ones not counted) of a signal
    int NumBindings(nObject* obj, const char* signalName);

    nClass* targetClass = nullptr;
    nRoot* e = nullptr;
    nRoot* t1 = nullptr;
    nRoot* t2 = nullptr;
};
#endif
