//------------------------------------------------------------------------------
//  The variable server: declarations and handles, fourcc texts, global
//  values and the script commands.
//------------------------------------------------------------------------------
#include "kernel/kernelfixture.h"

#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "variable/nvariablepackage.h"
#include "variable/nvariableserver.h"

#include <string>

namespace
{

class VariableServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nvariable_package});
        this->vs = static_cast<nVariableServer*>(this->ks->New("nvariableserver", "/sys/servers/variable"));
    }
    void TearDown() override { this->ks.reset(); }

    /// a command record of the server's class, its inputs filled by the caller
    nCmd* Cmd(const char* name)
    {
        nCmdProto* proto = this->vs->GetClass()->FindCmdByName(name);
        EXPECT_NE(proto, nullptr) << name;
        nCmd* cmd = proto->NewCmd();
        cmd->Rewind();
        return cmd;
    }
    /// dispatch the filled command and rewind it for reading the outputs
    nCmd* Run(nCmd* cmd)
    {
        cmd->Rewind();
        EXPECT_TRUE(this->vs->Dispatch(cmd));
        cmd->Rewind();
        return cmd;
    }
    void Done(nCmd* cmd) { cmd->GetProto()->RelCmd(cmd); }

    float GetFloat(const char* name)
    {
        nCmd* cmd = this->Cmd("getfloatvariable");
        cmd->In()->SetS(name);
        const float f = this->Run(cmd)->Out()->GetF();
        this->Done(cmd);
        return f;
    }
    void SetFloat(const char* name, float f)
    {
        nCmd* cmd = this->Cmd("setfloatvariable");
        cmd->In()->SetS(name);
        cmd->In()->SetF(f);
        this->Run(cmd);
        this->Done(cmd);
    }
    int NumVariables()
    {
        nCmd* cmd = this->Cmd("getnumvariables");
        const int n = this->Run(cmd)->Out()->GetI();
        this->Done(cmd);
        return n;
    }

    std::unique_ptr<nKernelServer> ks;
    nVariableServer* vs = nullptr;
};

const nFourCC TimeFourCC = nVariableServer::StringToFourCC("time");

}  // namespace

TEST_F(VariableServerTest, IsARegisteredSingletonServer)
{
    EXPECT_EQ(nVariableServer::Instance(), vs);
    EXPECT_STREQ(vs->GetClass()->GetProperName(), "nVariableServer");
    EXPECT_TRUE(vs->IsA("nroot"));
    EXPECT_EQ(ks->NewNoFail("nvariableserver", "/second"), nullptr);  // the class refuses a second one
}

TEST_F(VariableServerTest, DeclaringTheSameNameAndFourCCGivesOneHandle)
{
    const int h = vs->DeclareVariable("time", TimeFourCC);
    EXPECT_EQ(vs->DeclareVariable("time", TimeFourCC), h);
    EXPECT_EQ(vs->GetNumVariables(), 1);
    EXPECT_EQ(vs->FindVariableHandleByName("time"), h);
    EXPECT_EQ(vs->FindVariableHandleByFourCC(TimeFourCC), h);
    EXPECT_STREQ(vs->GetVariableName(h), "time");
    EXPECT_EQ(vs->GetVariableFourCC(h), TimeFourCC);
    const int other = vs->DeclareVariable("other", nVariableServer::StringToFourCC("othr"));
    EXPECT_EQ(other, h + 1);
}

TEST_F(VariableServerTest, InconsistentDeclarationsStopTheProgram)
{
    vs->DeclareVariable("time", TimeFourCC);
    vs->DeclareVariable("speed", nVariableServer::StringToFourCC("sped"));
    const char* msg = "Inconsistent variable declaration: 'time'/'tick'!\nEither the name or the fourcc code is already used";
    EXPECT_FATAL(vs->DeclareVariable("time", nVariableServer::StringToFourCC("tick")), msg);
    EXPECT_FATAL(vs->DeclareVariable("clock", TimeFourCC), "'clock'/'time'");
    EXPECT_FATAL(vs->DeclareVariable("speed", TimeFourCC), "'speed'/'time'");
    EXPECT_FATAL(vs->DeclareVariable("time", 0), ASSERTION_TEXT("0 != varFourCC"));
    EXPECT_FATAL(vs->GetVariableName(nVariable::InvalidHandle), ASSERTION_TEXT("nVariable::InvalidHandle != h"));
}

TEST_F(VariableServerTest, GetHandleDeclaresUnknownNamesAndFourCCs)
{
    const int byName = vs->GetVariableHandleByName("color");
    EXPECT_EQ(vs->GetVariableHandleByName("color"), byName);
    EXPECT_EQ(vs->GetVariableFourCC(byName), 0u);
    const nFourCC fcc = nVariableServer::StringToFourCC("colr");
    const int byFourCC = vs->GetVariableHandleByFourCC(fcc);
    EXPECT_NE(byFourCC, byName);
    EXPECT_EQ(vs->GetVariableHandleByFourCC(fcc), byFourCC);
    EXPECT_EQ(vs->GetVariableName(byFourCC), nullptr);
    EXPECT_EQ(vs->GetNumVariables(), 2);
    EXPECT_EQ(vs->FindVariableHandleByName("missing"), nVariable::InvalidHandle);

    const char* name = nullptr;
    nFourCC fourcc = 1;
    vs->GetVariableAt(byFourCC, name, fourcc);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(fourcc, fcc);
}

TEST_F(VariableServerTest, FourCCTextPutsTheFirstCharacterInTheLowByte)
{
    struct
    {
        const char* text;
        nFourCC fourcc;
        const char* back;
    } cases[] = {
        {"colr", 0x726C6F63u, "colr"},
        {"abc-", 0x20636261u, "abc "},
        {"ab", 0x20206261u, "ab  "},
        {"", 0x20202020u, "    "},
        {"a.b!c", 0x20622061u, "a b "},
        {"toolong", 0x6C6F6F74u, "tool"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(nVariableServer::StringToFourCC(c.text), c.fourcc) << c.text;
        char buf[5];
        EXPECT_STREQ(nVariableServer::FourCCToString(c.fourcc, buf, sizeof(buf)), c.back) << c.text;
    }
    char small[4];
    EXPECT_FATAL(nVariableServer::FourCCToString(1, small, sizeof(small)), ASSERTION_TEXT("bufSize >= 5"));
}

TEST_F(VariableServerTest, GlobalValuesAreSetAndReadByHandle)
{
    const int f = vs->GetVariableHandleByName("f");
    const int i = vs->GetVariableHandleByName("i");
    const int v = vs->GetVariableHandleByName("v");
    const int s = vs->GetVariableHandleByName("s");
    vs->SetFloatVariable(f, 0.5f);
    vs->SetIntVariable(i, 3);
    vs->SetVectorVariable(v, vector4(1, 2, 3, 4));
    vs->SetStringVariable(s, "one");
    vs->SetStringVariable(s, "two");
    vs->SetFloatVariable(f, 1.5f);
    EXPECT_FLOAT_EQ(vs->GetFloatVariable(f), 1.5f);
    EXPECT_EQ(vs->GetIntVariable(i), 3);
    EXPECT_FLOAT_EQ(vs->GetVectorVariable(v).w, 4.0f);
    EXPECT_STREQ(vs->GetStringVariable(s), "two");
    EXPECT_EQ(vs->GetGlobalVariableContext().GetVariable(f)->GetType(), nVariable::Float);
    // engine code that changes a global's type is a programming error
    EXPECT_FATAL(vs->SetIntVariable(f, 1), ASSERTION_TEXT("Int == this->type"));
}

TEST_F(VariableServerTest, ReadingAMissingGlobalStopsWithItsMessage)
{
    const int h = vs->GetVariableHandleByName("never");
    EXPECT_FATAL(vs->GetFloatVariable(h), "Variable  never does not exist in global variable context!");
    EXPECT_FATAL(vs->GetIntVariable(h), "Variable 'never' does not exist in global variable context!");
    EXPECT_FATAL(vs->GetVectorVariable(h), "Variable 'never' does not exist");
    EXPECT_FATAL(vs->GetStringVariable(h), "Variable 'never' does not exist");
    // a variable known only by its fourcc is named by it
    const int byFourCC = vs->GetVariableHandleByFourCC(TimeFourCC);
    EXPECT_FATAL(vs->GetIntVariable(byFourCC), "Variable 'time' does not exist");
}

TEST_F(VariableServerTest, ScriptFloatCommandsDeclareAndSetGlobals)
{
    // a script that reads a global never set gets a script error, not a stop
    nCmd* cmd = Cmd("getfloatvariable");
    cmd->In()->SetS("speed");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(Run(cmd)->HasError());
    EXPECT_NE(testing::internal::GetCapturedStdout().find("f_getfloatvariable_s: variable 'speed' has no global value"),
              std::string::npos);
    Done(cmd);
    SetFloat("speed", 2.5f);
    EXPECT_FLOAT_EQ(GetFloat("speed"), 2.5f);
}

TEST_F(VariableServerTest, EachNewNameUsedByACommandAddsADeclaration)
{
    EXPECT_EQ(NumVariables(), 0);
    SetFloat("a", 1.0f);
    EXPECT_EQ(NumVariables(), 1);
    SetFloat("a", 2.0f);
    EXPECT_EQ(NumVariables(), 1);

    nCmd* cmd = Cmd("setintvariable");
    cmd->In()->SetS("b");
    cmd->In()->SetI(4);
    Run(cmd);
    Done(cmd);
    cmd = Cmd("setvectorvariable");
    cmd->In()->SetS("c");
    for (int k = 0; k < 4; k++) cmd->In()->SetF((float)k);
    Run(cmd);
    Done(cmd);
    cmd = Cmd("setstringvariable");
    cmd->In()->SetS("d");
    cmd->In()->SetS("text");
    Run(cmd);
    Done(cmd);
    EXPECT_EQ(NumVariables(), 4);

    cmd = Cmd("getintvariable");
    cmd->In()->SetS("b");
    EXPECT_EQ(Run(cmd)->Out()->GetI(), 4);
    Done(cmd);
    cmd = Cmd("getvectorvariable");
    cmd->In()->SetS("c");
    Run(cmd);
    for (int k = 0; k < 4; k++) EXPECT_FLOAT_EQ(cmd->Out()->GetF(), (float)k);
    Done(cmd);
    cmd = Cmd("getstringvariable");
    cmd->In()->SetS("d");
    EXPECT_STREQ(Run(cmd)->Out()->GetS(), "text");
    Done(cmd);
}

TEST_F(VariableServerTest, DeclareAndListCommands)
{
    nCmd* cmd = Cmd("declarevariable");
    cmd->In()->SetS("time");
    cmd->In()->SetS("time");
    EXPECT_EQ(Run(cmd)->Out()->GetI(), 0);
    Done(cmd);
    EXPECT_EQ(vs->GetVariableFourCC(0), TimeFourCC);

    vs->GetVariableHandleByName("plain");
    struct
    {
        int index;
        const char* name;
        const char* fourcc;
    } cases[] = {{0, "time", "time"}, {1, "plain", ""}};
    for (const auto& c : cases)
    {
        cmd = Cmd("getvariableat");
        cmd->In()->SetI(c.index);
        Run(cmd);
        EXPECT_STREQ(cmd->Out()->GetS(), c.name) << c.index;
        EXPECT_STREQ(cmd->Out()->GetS(), c.fourcc) << c.index;
        Done(cmd);
    }
    // an index without a variable is a script error
    testing::internal::CaptureStdout();
    for (int index : {2, -1})
    {
        cmd = Cmd("getvariableat");
        cmd->In()->SetI(index);
        EXPECT_TRUE(Run(cmd)->HasError()) << index;
        Done(cmd);
    }
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ss_getvariableat_i: no variable at index -1\n"),
              std::string::npos);
}

TEST_F(VariableServerTest, ScriptsCannotChangeTheTypeOfAGlobal)
{
    SetFloat("x", 1.0f);
    nCmd* cmd = Cmd("setintvariable");
    cmd->In()->SetS("x");
    cmd->In()->SetI(7);
    Run(cmd);
    Done(cmd);
    cmd = Cmd("setstringvariable");
    cmd->In()->SetS("x");
    cmd->In()->SetS("seven");
    Run(cmd);
    Done(cmd);
    EXPECT_FLOAT_EQ(GetFloat("x"), 1.0f);

    // reading it as another type is a script error
    for (const char* name : {"getintvariable", "getstringvariable"})
    {
        cmd = Cmd(name);
        cmd->In()->SetS("x");
        EXPECT_TRUE(Run(cmd)->HasError()) << name;
        Done(cmd);
    }
}

TEST_F(VariableServerTest, NullStringsFromScriptsAreReportedNotFatal)
{
    // ":null:" in a script reaches a command as a null string
    SetFloat("x", 1.0f);
    const int before = NumVariables();
    for (const char* name : {"declarevariable", "getfloatvariable", "getintvariable", "getvectorvariable",
                             "getstringvariable", "setfloatvariable", "setintvariable", "setvectorvariable",
                             "setstringvariable"})
    {
        nCmd* cmd = Cmd(name);
        const int numIn = cmd->GetNumInArgs();
        for (int i = 0; i < numIn; i++)
        {
            nArg* arg = cmd->In();
            if (arg->GetType() == nArg::String) arg->SetS(nullptr);
            else if (arg->GetType() == nArg::Float) arg->SetF(0.0f);
            else arg->SetI(0);
        }
        testing::internal::CaptureStdout();
        Run(cmd);
        EXPECT_NE(testing::internal::GetCapturedStdout().find("null name argument"), std::string::npos) << name;
        Done(cmd);
    }
    nCmd* cmd = Cmd("setstringvariable");
    cmd->In()->SetS("x");
    cmd->In()->SetS(nullptr);
    testing::internal::CaptureStdout();
    Run(cmd);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("null text argument"), std::string::npos);
    Done(cmd);
    EXPECT_EQ(NumVariables(), before);
    EXPECT_FLOAT_EQ(GetFloat("x"), 1.0f);
}
