//------------------------------------------------------------------------------
//  Environment values and their script commands.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/nenv.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace
{

/// runs one script command on an object: inputs are filled by the caller
/// through In(), outputs read through Out() after Run()
class Call
{
public:
    Call(nObject* obj, const char* name) : obj(obj)
    {
        this->proto = obj->GetClass()->FindCmdByName(name);
        EXPECT_NE(this->proto, nullptr) << name;
        this->cmd = this->proto->NewCmd();
    }
    ~Call() { this->proto->RelCmd(this->cmd); }
    nArg* In() { return this->cmd->In(); }
    nArg* Out() { return this->cmd->Out(); }
    /// true when the handler refused its arguments as a script error
    bool Failed() const { return this->cmd->HasError(); }
    Call& Run()
    {
        this->obj->Dispatch(this->cmd);
        return *this;
    }

private:
    nObject* obj;
    nCmdProto* proto;
    nCmd* cmd;
};

nArg ArgOf(int i)
{
    nArg a;
    a.SetI(i);
    return a;
}

nArg ArgOf(float f)
{
    nArg a;
    a.SetF(f);
    return a;
}

nArg ArgOf(bool b)
{
    nArg a;
    a.SetB(b);
    return a;
}

nArg ArgOf(const char* s)
{
    nArg a;
    a.SetS(s);
    return a;
}

nArg ArgOf(nObject* o)
{
    nArg a;
    a.SetO(o);
    return a;
}

/// runs a command with one input
void Set(nObject* obj, const char* name, const nArg& value)
{
    Call set(obj, name);
    *set.In() = value;
    set.Run();
}

class EnvTest : public KernelTest
{
protected:
    nEnv* NewEnv(const char* path) { return static_cast<nEnv*>(ks->New("nenv", path)); }
    std::string TypeOf(nEnv* env) { return Call(env, "gettype").Run().Out()->GetS(); }
};

}  // namespace

TEST_F(EnvTest, CommandsAreRegisteredInTableOrder)
{
    nClass* cl = ks->FindClass("nenv");
    EXPECT_STREQ(cl->GetProperName(), "nEnv");
    EXPECT_STREQ(cl->GetSuperClass()->GetName(), "nroot");
    std::vector<std::pair<std::string, nFourCC>> cmds;
    for (nHashNode* n = cl->GetCmdList()->GetHead(); n; n = n->GetSucc())
    {
        const nCmdProto* proto = static_cast<nCmdProto*>(n);
        cmds.emplace_back(proto->GetProtoDef(), proto->GetId());
    }
    const std::vector<std::pair<std::string, nFourCC>> expected = {
        {"s_gettype_v", N_FOURCC('G', 'T', 'Y', 'P')},  {"i_geti_v", N_FOURCC('G', 'E', 'T', 'I')},
        {"f_getf_v", N_FOURCC('G', 'E', 'T', 'F')},     {"b_getb_v", N_FOURCC('G', 'E', 'T', 'B')},
        {"s_gets_v", N_FOURCC('G', 'E', 'T', 'S')},     {"o_geto_v", N_FOURCC('G', 'E', 'T', 'O')},
        {"ffff_getf4_v", N_FOURCC('G', 'T', 'V', '4')}, {"v_seti_i", N_FOURCC('S', 'E', 'T', 'I')},
        {"v_setf_f", N_FOURCC('S', 'E', 'T', 'F')},     {"v_setb_b", N_FOURCC('S', 'E', 'T', 'B')},
        {"v_sets_s", N_FOURCC('S', 'E', 'T', 'S')},     {"v_seto_o", N_FOURCC('S', 'E', 'T', 'O')},
        {"v_setf4_ffff", N_FOURCC('S', 'T', 'V', '4')},
    };
    EXPECT_EQ(cmds, expected);
}

TEST_F(EnvTest, EachTypeRoundTripsThroughTheScriptCommands)
{
    nEnv* env = NewEnv("/env/void");
    EXPECT_EQ(TypeOf(env), "void");

    env = NewEnv("/env/int");
    Set(env, "seti", ArgOf(5));
    EXPECT_EQ(TypeOf(env), "int");
    EXPECT_EQ(Call(env, "geti").Run().Out()->GetI(), 5);

    env = NewEnv("/env/float");
    Set(env, "setf", ArgOf(2.5f));
    EXPECT_EQ(TypeOf(env), "float");
    EXPECT_EQ(Call(env, "getf").Run().Out()->GetF(), 2.5f);

    env = NewEnv("/env/bool");
    Set(env, "setb", ArgOf(true));
    EXPECT_EQ(TypeOf(env), "bool");
    EXPECT_TRUE(Call(env, "getb").Run().Out()->GetB());

    env = NewEnv("/env/string");
    Set(env, "sets", ArgOf("first"));
    Set(env, "sets", ArgOf("second and longer than the first"));  // replaces the owned copy
    EXPECT_EQ(TypeOf(env), "string");
    EXPECT_STREQ(Call(env, "gets").Run().Out()->GetS(), "second and longer than the first");

    env = NewEnv("/env/float4");
    {
        Call set(env, "setf4");
        for (float f : {1.0f, 2.0f, 3.0f, 4.0f}) set.In()->SetF(f);
        set.Run();
    }
    EXPECT_EQ(TypeOf(env), "float4");
    Call get(env, "getf4");
    get.Run();
    for (float f : {1.0f, 2.0f, 3.0f, 4.0f}) EXPECT_EQ(get.Out()->GetF(), f);  // x, y, z, w
}

TEST_F(EnvTest, ObjectValueClearsWhenTheObjectDies)
{
    nEnv* env = NewEnv("/env/obj");
    nRoot* target = NewRoot("/target");
    Set(env, "seto", ArgOf(target));
    EXPECT_EQ(TypeOf(env), "object");
    EXPECT_EQ(Call(env, "geto").Run().Out()->GetO(), target);
    EXPECT_EQ(target->GetRefCount(), 1);
    target->Release();
    EXPECT_EQ(env->GetO(), nullptr);
    EXPECT_EQ(Call(env, "geto").Run().Out()->GetO(), nullptr);
    EXPECT_EQ(TypeOf(env), "object");

    // an object value pointing at itself dies with it
    env->SetO(env);
    env->Release();
}

TEST_F(EnvTest, ScriptTypeMismatchIsAScriptErrorAndHarmless)
{
    nEnv* env = NewEnv("/env/x");
    env->SetI(7);
    testing::internal::CaptureStdout();
    const char* const mismatched[] = {"getf", "gets", "geto", "getf4", "getb"};
    for (const char* name : mismatched)
    {
        EXPECT_TRUE(Call(env, name).Run().Failed()) << name;
    }
    Call setf(env, "setf");
    setf.In()->SetF(1.5f);
    EXPECT_TRUE(setf.Run().Failed());
    Call sets(env, "sets");
    sets.In()->SetS("text");
    EXPECT_TRUE(sets.Run().Failed());
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(env->GetI(), 7);
    EXPECT_NE(out.find("v_setf_f: nEnv '/env/x' expects type float, but the value has type int\n"), std::string::npos);
    EXPECT_NE(out.find("s_gets_v: nEnv '/env/x' expects type string, but the value has type int\n"), std::string::npos);

    nEnv* unset = NewEnv("/env/unset");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(Call(unset, "geti").Run().Failed());
    EXPECT_TRUE(Call(unset, "getb").Run().Failed());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(TypeOf(unset), "void");
}

TEST_F(EnvTest, NullScriptValuesAreScriptErrorsButAnyFloatIsAValue)
{
    nEnv* env = NewEnv("/env/y");
    testing::internal::CaptureStdout();
    Call sets(env, "sets");
    sets.In()->SetS(nullptr);
    EXPECT_TRUE(sets.Run().Failed());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("v_sets_s: null text argument\n"), std::string::npos);
    EXPECT_EQ(TypeOf(env), "void");
    // any float is a value: what a save writes loads again
    Call setf(env, "setf");
    setf.In()->SetF(NAN);
    EXPECT_FALSE(setf.Run().Failed());
    EXPECT_TRUE(std::isnan(env->GetF()));
}

TEST_F(EnvTest, EngineTypeMismatchIsFatal)
{
    nEnv* env = NewEnv("/env/x");
    env->SetI(1);
    EXPECT_FATAL(env->GetF(), ASSERTION_TEXT("Float == this->type"));
    EXPECT_FATAL(env->SetS("a"), ASSERTION_TEXT("\\(Void == this->type\\) \\|\\| \\(String == this->type\\)"));
    EXPECT_FATAL(env->GetO(), ASSERTION_TEXT("Object == this->type"));
    EXPECT_FATAL(env->SetO(nullptr), ASSERTION_TEXT("\\(Void == this->type\\) \\|\\| \\(Object == this->type\\)"));
}
