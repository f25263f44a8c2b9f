//------------------------------------------------------------------------------
//  Signals: declaration, binding, emission and the signal commands of
//  nobject.
//------------------------------------------------------------------------------
#include "signalfixture.h"

#include "kernel/nsignalbindingcmdproto.h"
#include "util/assertdeath.h"

#include <string>
#include <vector>

namespace
{

typedef std::vector<std::string> Strings;

/// emits with plain function arguments through the signal's va_list path
bool EmitVa(nSignal* signal, nSignalEmitter* emitter, ...)
{
    va_list args;
    va_start(args, emitter);
    const bool result = signal->Dispatch(emitter, args);
    va_end(args);
    return result;
}

/// invokes a binding with plain function arguments
bool InvokeVa(nSignalBinding* binding, ...)
{
    va_list args;
    va_start(args, binding);
    const bool result = binding->Invoke(args);
    va_end(args);
    return result;
}

}  // namespace

TEST_F(SignalTest, DeclarationRules)
{
    nSignalRegistry& reg = this->targetClass->GetSignalRegistry();
    nSignalRegistry& child = this->ks->FindClass("nsigchild")->GetSignalRegistry();
    EXPECT_EQ(reg.GetNumSignals(), 4);

    struct Case
    {
        nSignalRegistry* registry;
        const char* proto;
        nFourCC id;
        bool added;
    } cases[] = {
        {&reg, "v_fire_i", N_FOURCC('N', 'E', 'W', '1'), false},     // name taken
        {&reg, "v_other_v", N_FOURCC('F', 'I', 'R', 'E'), false},    // id taken
        {&reg, "v_FIRE_v", N_FOURCC('N', 'E', 'W', '2'), false},     // the name is compared in lower case
        {&reg, "x_bad_v", N_FOURCC('N', 'E', 'W', '3'), false},      // invalid prototype
        {&reg, "v_bad", N_FOURCC('N', 'E', 'W', '4'), false},
        {&child, "v_fire_v", N_FOURCC('N', 'E', 'W', '5'), false},   // a superclass has the name
        {&child, "v_other_v", N_FOURCC('P', 'N', 'G', 'S'), false},  // a superclass has the id
        {&reg, "v_BigBang_v", N_FOURCC('B', 'I', 'G', 'B'), true},
        {&child, "v_childonly_f", N_FOURCC('C', 'H', 'L', 'D'), true},
    };
    testing::internal::CaptureStdout();
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.registry->AddSignal(c.proto, c.id), c.added) << c.proto;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // names are stored in lower case and found only that way
    EXPECT_EQ(reg.FindSignalByName("BigBang"), nullptr);
    nSignal* bigBang = reg.FindSignalByName("bigbang");
    ASSERT_NE(bigBang, nullptr);
    EXPECT_STREQ(bigBang->GetProtoDef(), "v_BigBang_v");
    EXPECT_EQ(reg.GetNumSignals(), 5);

    // lookups go up the class chain, never down
    EXPECT_EQ(child.FindSignalById(N_FOURCC('F', 'I', 'R', 'E')), reg.FindSignalByName("fire"));
    EXPECT_NE(child.FindSignalByName("childonly"), nullptr);
    EXPECT_EQ(reg.FindSignalByName("childonly"), nullptr);
    EXPECT_EQ(reg.FindSignalById(N_FOURCC('C', 'H', 'L', 'D')), nullptr);

    nSignal* duplicate = n_new(nSignal("v_fire_v", N_FOURCC('D', 'U', 'P', 'L')));
    EXPECT_FALSE(reg.AddSignal(duplicate));
    n_delete(duplicate);
}

TEST_F(SignalTest, BindingsRunInAscendingPriorityNewestFirstAmongEquals)
{
    EXPECT_TRUE(e->BindSignal("fire", t1, "record", 10));
    EXPECT_TRUE(e->BindSignal("fire", t2, "record", 5));
    EXPECT_TRUE(e->BindSignal("fire", e, "record", 5));
    EXPECT_TRUE(EmitFire(e, 3, "three"));
    EXPECT_EQ(g_calls, (Strings{"e:record:3:three", "t2:record:3:three", "t1:record:3:three"}));
}

TEST_F(SignalTest, IncompatibleOrMissingCommandsAreRefused)
{
    EXPECT_FALSE(e->BindSignal("fire", t1, "recordf", 0));        // inputs i s against f
    EXPECT_FALSE(e->BindSignal("firef", t1, "record", 0));        // f against i s
    EXPECT_FALSE(e->BindSignal("firef", t1, "ping", 0));          // f against nothing
    EXPECT_FALSE(e->BindSignal("fire", t1, "nosuchcommand", 0));  // nothing to compare with
    EXPECT_FALSE(e->BindSignal("nosuchsignal", t1, "record", 0));
    EXPECT_FALSE(e->BindSignal("fire", t1, N_FOURCC('N', 'O', 'N', 'E'), 0));
    EXPECT_TRUE(e->BindSignal("firef", t1, "recordf", 0));
    EXPECT_TRUE(e->BindSignal("fire", t1, N_FOURCC('R', 'C', 'R', 'D'), 0));
    EXPECT_TRUE(e->BindSignal("fire", t2, t2->GetClass()->FindCmdByName("record"), 1));
    EXPECT_EQ(NumBindings(e, "fire"), 2);
}

TEST_F(SignalTest, EmissionWithoutBindingsRunsNothing)
{
    EXPECT_TRUE(EmitFire(e, 1, "x"));
    EXPECT_TRUE(Emit(e, "ping"));
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(SignalTest, DeadTargetsAreRemovedAtTheNextEmission)
{
    ASSERT_TRUE(e->BindSignal("fire", t1, "record", 1));
    ASSERT_TRUE(e->BindSignal("fire", t2, "record", 2));
    t1->Release();
    EXPECT_TRUE(EmitFire(e, 9, "nine"));
    EXPECT_EQ(g_calls, (Strings{"t2:record:9:nine"}));
    EXPECT_EQ(NumBindings(e, "fire"), 1);
    t2->Release();
    g_calls.clear();
    EXPECT_TRUE(EmitFire(e, 9, "nine"));
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(NumBindings(e, "fire"), 0);  // the set stays, empty
}

TEST_F(SignalTest, EveryBindingGetsTheSameInputsWhateverOthersReturn)
{
    ASSERT_TRUE(this->targetClass->GetSignalRegistry().AddSignal("b_ask_is", N_FOURCC('A', 'S', 'K', 'S')));
    EXPECT_FALSE(e->BindSignal("fire", t1, "recordfalse", 0));  // the outputs differ
    ASSERT_TRUE(e->BindSignal("ask", t1, "recordfalse", 1));
    ASSERT_TRUE(e->BindSignal("ask", t2, "recordfalse", 2));
    nSignal* ask = Signal("ask");
    nCmd* cmd = ask->NewCmd();
    cmd->In()->SetI(-4);
    cmd->In()->SetS("same");
    EXPECT_TRUE(e->Dispatch(cmd));
    EXPECT_FALSE(cmd->Out()->GetB());  // the signal's own output is not filled
    ask->RelCmd(cmd);
    EXPECT_EQ(g_calls, (Strings{"t1:recordfalse:-4:same", "t2:recordfalse:-4:same"}));

    g_calls.clear();
    EXPECT_TRUE(EmitVa(ask, e, 12, "va"));
    EXPECT_EQ(g_calls, (Strings{"t1:recordfalse:12:va", "t2:recordfalse:12:va"}));
}

TEST_F(SignalTest, LateResolutionBindings)
{
    const nFourCC fire = N_FOURCC('F', 'I', 'R', 'E');
    nSignalBindingCmdProto* byId = n_new(nSignalBindingCmdProto(t1, N_FOURCC('R', 'C', 'R', 'D'), 1, true));
    nSignalBindingCmdProto* byName = n_new(nSignalBindingCmdProto(t2, "record", 2, true));
    EXPECT_EQ(byId->GetBindType(), nSignalBindingCmdProto::ById);
    EXPECT_EQ(byName->GetBindType(), nSignalBindingCmdProto::ByName);
    ASSERT_TRUE(e->BindSignal(fire, byId));
    ASSERT_TRUE(e->BindSignal(fire, byName));
    EXPECT_STREQ(byName->GetProtoDef(), "v_record_is");
    EXPECT_TRUE(byId->IsBoundWithCmdName("record"));
    EXPECT_TRUE(byName->IsBoundWithCmdId(N_FOURCC('R', 'C', 'R', 'D')));
    EXPECT_TRUE(byName->IsBoundWithCmdProto(t2->GetClass()->FindCmdByName("record")));
    EXPECT_TRUE(byId->IsBoundWithObject(t1));
    EXPECT_FALSE(byId->IsBoundWithObject(t2));

    EXPECT_TRUE(EmitFire(e, 1, "late"));
    EXPECT_EQ(g_calls, (Strings{"t1:record:1:late", "t2:record:1:late"}));
    g_calls.clear();
    EXPECT_TRUE(InvokeVa(byName, 2, "direct"));
    EXPECT_EQ(g_calls, (Strings{"t2:record:2:direct"}));

    // a dead target leaves nothing to resolve
    t2->Release();
    EXPECT_EQ(byName->GetProtoDef(), nullptr);
    EXPECT_FALSE(InvokeVa(byName, 3, "gone"));
    EXPECT_TRUE(e->UnbindSignal("fire", t1, N_FOURCC('R', 'C', 'R', 'D')));
    EXPECT_EQ(NumBindings(e, "fire"), 1);
}

TEST_F(SignalTest, UnbindVariants)
{
    nCmdProto* record = t1->GetClass()->FindCmdByName("record");
    auto bindAll = [&]() {
        ASSERT_TRUE(e->BindSignal("fire", t1, "record", 1));
        ASSERT_TRUE(e->BindSignal("fire", e, "record", 2));
        ASSERT_TRUE(e->BindSignal("fire", t2, "record", 3));
        ASSERT_TRUE(e->BindSignal("ping", t1, "ping", 1));
    };
    bindAll();
    EXPECT_TRUE(e->UnbindSignal("fire", t1, "record"));
    EXPECT_FALSE(e->UnbindSignal("fire", t1, "record"));
    EXPECT_FALSE(e->UnbindSignal("nosuchsignal", t1, "record"));
    EXPECT_EQ(NumBindings(e, "fire"), 2);
    EXPECT_TRUE(e->UnbindSignal("fire", t2, record));
    EXPECT_TRUE(e->UnbindTargetObject("fire", e));
    EXPECT_EQ(NumBindings(e, "fire"), 0);
    EXPECT_EQ(NumBindings(e, "ping"), 1);
    EXPECT_TRUE(e->UnbindTargetObject(N_FOURCC('P', 'N', 'G', 'S'), t1));
    EXPECT_FALSE(e->UnbindTargetObject(N_FOURCC('P', 'N', 'G', 'S'), t1));

    bindAll();
    EXPECT_TRUE(e->UnbindTargetObject(t1));
    EXPECT_EQ(NumBindings(e, "fire"), 2);
    EXPECT_EQ(NumBindings(e, "ping"), 0);
    nSignalBinding* first = e->FindBindingSet(N_FOURCC('F', 'I', 'R', 'E'))->GetHead();
    EXPECT_TRUE(first->IsBoundWithObject(e));
    EXPECT_TRUE(e->UnbindSignal("fire", first));
    EXPECT_EQ(NumBindings(e, "fire"), 1);

    bindAll();
    EXPECT_TRUE(e->UnbindAllSignals());
    EXPECT_EQ(e->FindBindingSet(N_FOURCC('F', 'I', 'R', 'E')), nullptr);
    EXPECT_FALSE(e->UnbindTargetObject(t1));
}

TEST_F(SignalTest, ABoundCommandThatUnbindsEverythingStopsTheRestOfTheEmission)
{
    ASSERT_TRUE(e->BindSignal("ping", t1, "ping", 0));
    ASSERT_TRUE(e->BindSignal("ping", e, "unbindall", 1));
    ASSERT_TRUE(e->BindSignal("ping", t2, "ping", 2));
    EXPECT_TRUE(Emit(e, "ping"));
    EXPECT_EQ(g_calls, (Strings{"t1:ping"}));
    EXPECT_EQ(NumBindings(e, "ping"), 0);
    g_calls.clear();
    EXPECT_TRUE(Emit(e, "ping"));
    EXPECT_TRUE(g_calls.empty());
    // binding again after the walk works as usual
    ASSERT_TRUE(e->BindSignal("ping", t2, "ping", 0));
    EXPECT_TRUE(Emit(e, "ping"));
    EXPECT_EQ(g_calls, (Strings{"t2:ping"}));
}

TEST_F(SignalTest, ABindingRemovedByAnEarlierOneDoesNotRun)
{
    g_cutEmitter = e;
    g_cutTarget = t2;
    g_cutSignal = "ping";
    ASSERT_TRUE(e->BindSignal("ping", t1, "cut", 1));
    ASSERT_TRUE(e->BindSignal("ping", t2, "ping", 2));
    ASSERT_TRUE(e->BindSignal("ping", t1, "ping", 3));
    EXPECT_TRUE(Emit(e, "ping"));
    EXPECT_EQ(g_calls, (Strings{"t1:cut", "t1:ping"}));
    EXPECT_EQ(NumBindings(e, "ping"), 2);
}

TEST_F(SignalTest, ReleasingTheEmitterDuringAnEmissionStopsIt)
{
    ASSERT_TRUE(e->BindSignal("fireo", t1, "pingo", 1));
    ASSERT_TRUE(e->BindSignal("fireo", t1, "releaseobj", 2));
    ASSERT_TRUE(e->BindSignal("fireo", t2, "pingo", 3));
    EXPECT_TRUE(EmitFireO(e, e));
    EXPECT_EQ(g_calls, (Strings{"t1:pingo:e", "t1:releaseobj:e"}));
    EXPECT_EQ(this->ks->Lookup("/e"), nullptr);
}

TEST_F(SignalTest, ReleasingALaterTargetDuringAnEmissionSkipsIt)
{
    ASSERT_TRUE(e->BindSignal("fireo", t1, "releaseobj", 1));
    ASSERT_TRUE(e->BindSignal("fireo", t2, "touch", 2));
    ASSERT_TRUE(e->BindSignal("fireo", t1, "touch", 3));
    EXPECT_TRUE(EmitFireO(e, t2));
    EXPECT_EQ(g_calls, (Strings{"t1:releaseobj:t2", "t1:touch"}));
    EXPECT_EQ(NumBindings(e, "fireo"), 2);
}

TEST_F(SignalTest, RemovalsInAnotherSetDuringAnEmissionTakeEffectAfterIt)
{
    g_cutEmitter = e;
    g_cutTarget = t2;
    g_cutSignal = "fire";
    ASSERT_TRUE(e->BindSignal("ping", t1, "cut", 0));
    ASSERT_TRUE(e->BindSignal("fire", t2, "record", 0));
    ASSERT_TRUE(e->BindSignal("fire", t1, "record", 1));
    EXPECT_TRUE(Emit(e, "ping"));
    EXPECT_EQ(NumBindings(e, "fire"), 1);
    EXPECT_TRUE(EmitFire(e, 5, "after"));
    EXPECT_EQ(g_calls, (Strings{"t1:cut", "t1:record:5:after"}));
}

//--- the signal commands of nobject -------------------------------------------

TEST_F(SignalTest, AddSignalCommandPacksTextIdsLowByteFirst)
{
    struct Case
    {
        const char* proto;
        const char* idText;
        bool added;
        nFourCC id;
        bool logged;
    } cases[] = {
        {"v_wxyz_i", "WXYZ", true, (nFourCC)'W' | ((nFourCC)'X' << 8) | ((nFourCC)'Y' << 16) | ((nFourCC)'Z' << 24), false},
        {"v_answer_i", "42", true, 42, false},
        {"v_neg_i", "-7", true, (nFourCC)-7, false},
        {"v_again_i", "42", false, 0, false},      // the id is taken
        {"v_wxyz_v", "ABCD", false, 0, false},     // the name is taken
        {"v_bad", "BAD1", false, 0, false},        // invalid prototype
        {"v_text_i", "4x2", false, 0, true},       // not a number
        {"v_empty_i", "", false, 0, true},
        {"v_zero_i", "0", false, 0, true},
        {"v_long_i", "12345678901", false, 0, true},
        {"v_five_i", "ABCDE", false, 0, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.proto);
        testing::internal::CaptureStdout();
        ScriptCall call(t1, "b_addsignal_ss");
        call.In()->SetS(c.proto);
        call.In()->SetS(c.idText);
        EXPECT_EQ(call.Run().Out()->GetB(), c.added);
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(!log.empty(), c.logged) << log;
        if (c.added)
        {
            // declared on the class: every object of it has the signal
            nSignal* signal = e->GetClass()->GetSignalRegistry().FindSignalById(c.id);
            ASSERT_NE(signal, nullptr);
            EXPECT_STREQ(signal->GetProtoDef(), c.proto);
        }
    }
}

TEST_F(SignalTest, SignalCommandsByName)
{
    auto bind = [&](const char* signal, nObject* target, const char* cmd, int prio) {
        ScriptCall call(e, "b_bindsignal_sosi");
        call.In()->SetS(signal);
        call.In()->SetO(target);
        call.In()->SetS(cmd);
        call.In()->SetI(prio);
        return call.Run().Out()->GetB();
    };
    EXPECT_TRUE(bind("fire", t1, "record", 2));
    EXPECT_TRUE(bind("fire", t2, "record", 1));
    EXPECT_TRUE(bind("ping", t1, "ping", 0));
    EXPECT_FALSE(bind("fire", t1, "recordf", 0));
    EXPECT_TRUE(EmitFire(e, 1, "one"));
    EXPECT_EQ(g_calls, (Strings{"t2:record:1:one", "t1:record:1:one"}));

    {
        ScriptCall call(e, "b_unbindsignal_sos");
        call.In()->SetS("fire");
        call.In()->SetO(t2);
        call.In()->SetS("record");
        EXPECT_TRUE(call.Run().Out()->GetB());
    }
    EXPECT_EQ(NumBindings(e, "fire"), 1);
    {
        ScriptCall call(e, "b_unbindsignalobject_so");
        call.In()->SetS("fire");
        call.In()->SetO(t1);
        EXPECT_TRUE(call.Run().Out()->GetB());
    }
    EXPECT_EQ(NumBindings(e, "fire"), 0);
    {
        ScriptCall call(e, "b_unbindobject_o");
        call.In()->SetO(t1);
        EXPECT_TRUE(call.Run().Out()->GetB());
    }
    EXPECT_EQ(NumBindings(e, "ping"), 0);
    EXPECT_TRUE(bind("ping", t1, "ping", 0));
    ScriptCall(e, "v_unbindall_v").Run();
    EXPECT_EQ(e->FindBindingSet(N_FOURCC('P', 'N', 'G', 'S')), nullptr);

    // the class's own signals first, then the superclass's
    nObject* child = this->ks->New("nsigchild", "/child");
    ASSERT_TRUE(child->GetClass()->GetSignalRegistry().AddSignal("b_childsig_o", 77));
    EXPECT_EQ(ScriptCall(child, "l_getsignals_v").Run().OutStrings(),
              (Strings{"b_childsig_o", "v_fire_is", "v_ping_v", "v_fireo_o", "v_firef_f"}));
    EXPECT_EQ(ScriptCall(this->ks->GetRoot(), "l_getsignals_v").Run().OutStrings(), Strings{});
}

TEST_F(SignalTest, SignalCommandsReportNullArguments)
{
    struct Case
    {
        const char* proto;
        int nullIndex;
    } cases[] = {
        {"b_bindsignal_sosi", 0}, {"b_bindsignal_sosi", 1}, {"b_bindsignal_sosi", 2},
        {"b_unbindsignal_sos", 0}, {"b_unbindsignal_sos", 1}, {"b_unbindsignal_sos", 2},
        {"b_unbindsignalobject_so", 0}, {"b_unbindsignalobject_so", 1},
        {"b_unbindobject_o", 0},
        {"b_addsignal_ss", 0}, {"b_addsignal_ss", 1},
    };
    ASSERT_TRUE(e->BindSignal("fire", t1, "record", 0));
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.proto) + " " + std::to_string(c.nullIndex));
        testing::internal::CaptureStdout();
        ScriptCall call(e, c.proto);
        const char* protoText = c.proto;
        int index = 0;
        for (const char* letter = strrchr(protoText, '_') + 1; *letter; letter++, index++)
        {
            nArg* in = call.In();
            const bool isNull = index == c.nullIndex;
            switch (*letter)
            {
                case 's': in->SetS(isNull ? nullptr : (index == 0 ? "fire" : "record")); break;
                case 'o': in->SetO(isNull ? nullptr : t1); break;
                case 'i': in->SetI(0); break;
            }
        }
        EXPECT_FALSE(call.Run().Out()->GetB());
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(log.rfind(std::string(c.proto) + ": null ", 0), 0u) << log;
    }
    EXPECT_EQ(NumBindings(e, "fire"), 1);
}

TEST_F(SignalTest, MisuseIsFatal)
{
    EXPECT_ASSERT_DEATH(e->BindSignal("fire", nullptr, "record", 0), "object");
    EXPECT_ASSERT_DEATH(e->BindSignal("fire", t1, (nCmdProto*)nullptr, 0), "cmdProto");
    EXPECT_ASSERT_DEATH(this->targetClass->GetSignalRegistry().AddSignal("v_x_v", 0), "id");
    EXPECT_ASSERT_DEATH(this->targetClass->GetSignalRegistry().BeginSignals(4), "!this->signalList");
    ASSERT_TRUE(this->targetClass->GetSignalRegistry().AddSignal("v_listy_l", N_FOURCC('L', 'I', 'S', 'T')));
    EXPECT_ASSERT_DEATH(EmitVa(Signal("listy"), e, nullptr), "0");
}
