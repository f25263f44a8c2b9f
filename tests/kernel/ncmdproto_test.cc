//------------------------------------------------------------------------------
//  Command prototypes: the grammar, the template command, class command
//  tables and their lookups, and the two byte orders of four-character ids.
//------------------------------------------------------------------------------
#include "kernelfixture.h"
#include "scriptcall.h"
#include "util/assertdeath.h"

#include "kernel/nmodule.h"

#include <string>

namespace
{

void n_nothing(void*, nCmd*)
{
}

/// "i_depth_i": runs itself again on the same object until the input is
/// 0, so the prototype's template is busy while the inner calls run
void n_depth(void* slf, nCmd* cmd)
{
    const int n = cmd->In()->GetI();
    int result = 0;
    if (n > 0)
    {
        nObject* self = static_cast<nObject*>(slf);
        nCmdProto* proto = cmd->GetProto();
        nCmd* inner = proto->NewCmd();
        EXPECT_NE(inner, cmd);
        inner->In()->SetI(n - 1);
        self->Dispatch(inner);
        result = inner->Out()->GetI() + 1;
        proto->RelCmd(inner);
    }
    cmd->Out()->SetI(result);
}

class nCmdTestNode : public nRoot
{
};

void ncmdtestnode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("i_depth_i", N_FOURCC('D', 'E', 'P', 'T'), n_depth);
    cl->EndCmds();
}

/// redeclares the id of nroot's "s_getname_v"
void ncollider_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_foo_v", N_FOURCC('G', 'N', 'A', 'M'), n_nothing);
    cl->EndCmds();
}

N_IMPLEMENT_MODULE(ncmdtestnode, nCmdTestNode, "nroot", ncmdtestnode_initcmds)
N_IMPLEMENT_MODULE(nplainnode, nCmdTestNode, "ncmdtestnode", nullptr)
N_IMPLEMENT_MODULE(ncollider, nCmdTestNode, "nroot", ncollider_initcmds)

void cmdtest_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), ncmdtestnode);
    N_ADD_MODULE(nKernelServer::Instance(), nplainnode);
}

void collider_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), ncollider);
}

class CmdTest : public KernelTest
{
protected:
    void SetUp() override { this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{cmdtest_package}); }
};

/// the letters of a command's arguments read through its cursors
std::string TypeLetters(nCmd* cmd, bool outputs)
{
    std::string letters;
    const int num = outputs ? cmd->GetNumOutArgs() : cmd->GetNumInArgs();
    for (int i = 0; i < num; i++)
    {
        nArg* arg = outputs ? cmd->Out() : cmd->In();
        letters += nArg::TypeToChar(arg->GetType());
    }
    return letters;
}

}  // namespace

TEST(CmdProto, PrototypeGrammar)
{
    struct Case
    {
        const char* proto;
        bool valid;
        const char* name;
        const char* outs;
        const char* ins;
    } cases[] = {
        {"v_setname_s", true, "setname", "", "s"},
        {"l_getchildren_v", true, "getchildren", "l", ""},
        {"b_bindsignal_sosi", true, "bindsignal", "b", "sosi"},
        {"vv_x_vv", true, "x", "", ""},
        {"v__v", true, "", "", ""},
        {"ifsbol_all_ifsbol", true, "all", "ifsbol", "ifsbol"},
        {"iiiiiiii_sixteen_iiiiiiii", true, "sixteen", "iiiiiiii", "iiiiiiii"},
        {"vvvvvvvvvvvvvvvvvvvvi_manyv_v", true, "manyv", "i", ""},
        // invalid: unknown letters, missing or extra '_', too many arguments
        {"x_name_v", false, nullptr, nullptr, nullptr},
        {"v_name_q", false, nullptr, nullptr, nullptr},
        {"V_name_v", false, nullptr, nullptr, nullptr},
        {"v_name", false, nullptr, nullptr, nullptr},
        {"v", false, nullptr, nullptr, nullptr},
        {"", false, nullptr, nullptr, nullptr},
        {"v_name_s_", false, nullptr, nullptr, nullptr},
        {"v_a_b_c", false, nullptr, nullptr, nullptr},
        {"iiiiiiiii_seventeen_iiiiiiii", false, nullptr, nullptr, nullptr},
        {"v_seventeen_iiiiiiiiiiiiiiiii", false, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.proto);
        if (!c.valid)
        {
            EXPECT_FATAL(nCmdProtoNative(c.proto, 1, n_nothing), "Invalid prototype definition for nCmdProto");
            continue;
        }
        nCmdProtoNative proto(c.proto, 1, n_nothing);
        // an empty name leaves the node unnamed
        EXPECT_STREQ(proto.GetName() ? proto.GetName() : "", c.name);
        EXPECT_STREQ(proto.GetProtoDef(), c.proto);
        EXPECT_EQ(proto.GetNumOutArgs(), (int)strlen(c.outs));
        EXPECT_EQ(proto.GetNumInArgs(), (int)strlen(c.ins));
        nCmd* cmd = proto.NewCmd();
        EXPECT_EQ(TypeLetters(cmd, true), c.outs);
        EXPECT_EQ(TypeLetters(cmd, false), c.ins);
        proto.RelCmd(cmd);
    }
}

TEST(CmdProto, TemplateArgumentsStartEmpty)
{
    nCmdProtoNative proto("ifsbol_all_v", 1, n_nothing);
    nCmd* cmd = proto.NewCmd();
    EXPECT_EQ(cmd->Out()->GetI(), 0);
    EXPECT_EQ(cmd->Out()->GetF(), 0.0f);
    EXPECT_EQ(cmd->Out()->GetS(), nullptr);
    EXPECT_FALSE(cmd->Out()->GetB());
    EXPECT_EQ(cmd->Out()->GetO(), nullptr);
    nArg* list = cmd->Out();
    nArg* elements = nullptr;
    EXPECT_EQ(list->GetL(elements), 0);
    EXPECT_EQ(elements, nullptr);
    proto.RelCmd(cmd);
}

TEST(CmdProto, NewCmdHandsOutTheTemplateThenCopies)
{
    nCmdProtoNative proto("i_add_ii", 1, n_nothing);
    nCmd* first = proto.NewCmd();
    first->In()->SetI(7);
    nCmd* second = proto.NewCmd();
    EXPECT_NE(first, second);
    EXPECT_EQ(second->GetProto(), &proto);
    // the copy is rewound: its first In() is the first input again
    EXPECT_EQ(second->In()->GetI(), 7);
    nCmd* third = proto.NewCmd();
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);
    proto.RelCmd(second);
    proto.RelCmd(third);
    // the template is still handed out
    nCmd* fourth = proto.NewCmd();
    EXPECT_NE(fourth, first);
    proto.RelCmd(fourth);
    proto.RelCmd(first);
    EXPECT_EQ(proto.NewCmd(), first);
    proto.RelCmd(first);
    EXPECT_ASSERT_DEATH(proto.RelCmd(first), "cmdLocked");
}

TEST(CmdProto, MisuseIsFatal)
{
    nCmdProtoNative proto("i_add_ii", 1, n_nothing);
    nCmdProtoNative noHandler("v_x_v", 2, nullptr);
    nCmd* cmd = proto.NewCmd();
    cmd->In();
    cmd->In();
    EXPECT_ASSERT_DEATH(cmd->In(), "this->inArgIndex < this->cmdProto->GetNumArgs()");
    cmd->Out();
    EXPECT_ASSERT_DEATH(cmd->Out(), "this->outArgIndex < this->GetNumOutArgs()");
    proto.RelCmd(cmd);
    nCmd* idle = noHandler.NewCmd();
    EXPECT_ASSERT_DEATH(noHandler.Dispatch(nullptr, idle), "this->cmd_proc");
    noHandler.RelCmd(idle);
    EXPECT_ASSERT_DEATH(nCmdProtoNative(nullptr, 1, n_nothing), "proto_def");
}

TEST_F(CmdTest, ACommandMayRunItselfWhileItRuns)
{
    nObject* obj = this->ks->New("ncmdtestnode", "/t");
    ScriptCall call(obj, "i_depth_i");
    call.In()->SetI(5);
    EXPECT_EQ(call.Run().Out()->GetI(), 5);
}

TEST_F(CmdTest, IdLookupCoversInheritedCommands)
{
    nClass* own = this->ks->FindClass("ncmdtestnode");
    nClass* plain = this->ks->FindClass("nplainnode");
    nClass* root = this->ks->FindClass("nroot");
    ASSERT_TRUE(own && plain && root);
    EXPECT_EQ(plain->GetCmdList(), nullptr);

    nCmdProto* depth = own->FindCmdById(N_FOURCC('D', 'E', 'P', 'T'));
    ASSERT_NE(depth, nullptr);
    EXPECT_STREQ(depth->GetName(), "depth");
    EXPECT_EQ(plain->FindCmdById(N_FOURCC('D', 'E', 'P', 'T')), depth);
    EXPECT_EQ(plain->FindCmdById(N_FOURCC('G', 'N', 'A', 'M')), root->FindCmdById(N_FOURCC('G', 'N', 'A', 'M')));
    EXPECT_STREQ(plain->FindCmdById(N_FOURCC('S', 'V', 'A', 'S'))->GetName(), "saveas");
    EXPECT_EQ(plain->FindCmdById(N_FOURCC('N', 'O', 'N', 'E')), nullptr);
    EXPECT_EQ(root->FindCmdById(N_FOURCC('D', 'E', 'P', 'T')), nullptr);

    EXPECT_EQ(plain->FindCmdByName("depth"), depth);
    EXPECT_EQ(plain->FindNativeCmdByName("depth"), depth);
    EXPECT_EQ(plain->FindScriptCmdByName("depth"), nullptr);
    EXPECT_STREQ(plain->FindCmdByName("getclass")->GetProtoDef(), "s_getclass_v");
    EXPECT_EQ(plain->FindCmdByName("nosuchcommand"), nullptr);
}

TEST_F(CmdTest, ScriptCommandsAreFoundAfterNativeOnesOfTheSameClass)
{
    nClass* own = this->ks->FindClass("ncmdtestnode");
    own->BeginScriptCmds(4);
    nCmdProtoNative* scripted = n_new(nCmdProtoNative("v_scripted_v", N_FOURCC('S', 'C', 'R', 'P'), n_nothing));
    own->AddScriptCmd(scripted);
    EXPECT_EQ(this->ks->FindClass("nplainnode")->FindCmdByName("scripted"), scripted);
    EXPECT_EQ(own->FindScriptCmdByName("scripted"), scripted);
    EXPECT_EQ(own->FindNativeCmdByName("scripted"), nullptr);
    EXPECT_ASSERT_DEATH(own->BeginScriptCmds(4), "!this->scriptCmdList");
}

TEST(CmdTable, InheritedIdCollisionNamesTheSubclass)
{
    EXPECT_FATAL(nKernelServer ks({collider_package}),
                 "Command id collision in class 'ncollider'\ncmd 'foo' and cmd 'getname' both have id '0x474e414d'");
}

TEST(FourCC, TextOrderAndCommandOrderDiffer)
{
    EXPECT_EQ(N_FOURCC('S', 'A', 'V', 'E'), 0x53415645u);
    EXPECT_EQ(n_strtofourcc("WXYZ"), (nFourCC)'W' | ((nFourCC)'X' << 8) | ((nFourCC)'Y' << 16) | ((nFourCC)'Z' << 24));
    EXPECT_EQ(N_FOURCC('W', 'X', 'Y', 'Z'), ((nFourCC)'W' << 24) | ((nFourCC)'X' << 16) | ((nFourCC)'Y' << 8) | (nFourCC)'Z');
    EXPECT_NE(n_strtofourcc("WXYZ"), N_FOURCC('W', 'X', 'Y', 'Z'));
    EXPECT_EQ(n_strtofourcc("ABBA"), N_FOURCC('A', 'B', 'B', 'A'));
    EXPECT_EQ(n_strtofourcc("colr"), 0x726C6F63u);
    EXPECT_STREQ(n_fourcctostr(n_strtofourcc("colr")), "colr");
    EXPECT_STREQ(n_fourcctostr(N_FOURCC('S', 'A', 'V', 'E')), "EVAS");
    EXPECT_STREQ(n_fourcctostr(n_strtofourcc("\xff\x01 z")), "\xff\x01 z");
    EXPECT_ASSERT_DEATH(n_strtofourcc("abc"), "strlen(str) == 4");
    EXPECT_ASSERT_DEATH(n_strtofourcc("abcde"), "strlen(str) == 4");
    EXPECT_ASSERT_DEATH(n_strtofourcc(nullptr), "str");
}
