//------------------------------------------------------------------------------
//  The script commands of nobject and nroot, run by name as scripts run
//  them, and by id as persistence files run them.
//------------------------------------------------------------------------------
#include "kernelfixture.h"
#include "scriptcall.h"

#include "kernel/nenv.h"

#include <string>
#include <vector>

namespace
{

typedef std::vector<std::string> Strings;

const Strings kRootCmds = {
    "b_save_v", "o_getparent_v", "o_gethead_v", "o_gettail_v", "o_getsucc_v", "o_getpred_v", "l_getchildren_v",
    "v_setname_s", "s_getname_v", "s_getfullname_v", "s_getrelpath_o", "o_find_s", "v_sort_v", "i_gettreesize_v",
};

const Strings kObjectCmds = {
    "b_saveas_s", "o_clone_s", "i_getrefcount_v", "s_getclass_v", "l_getclasses_v", "b_isa_s", "b_isinstanceof_s",
    "l_getcmds_v", "i_getinstancesize_v", "b_bindsignal_sosi", "b_unbindsignal_sos", "b_unbindsignalobject_so",
    "b_unbindobject_o", "v_unbindall_v", "l_getsignals_v", "b_addsignal_ss",
};

/// a tree /a with the children b and c, and an nenv value /a/b/v
class TreeCmdTest : public KernelTest
{
protected:
    void SetUp() override
    {
        KernelTest::SetUp();
        this->a = NewRoot("/a");
        this->b = NewRoot("/a/b");
        this->c = NewRoot("/a/c");
        this->v = static_cast<nEnv*>(this->ks->New("nenv", "/a/b/v"));
    }

    std::string GetS(nObject* o, const char* protoDef)
    {
        ScriptCall call(o, protoDef);
        const char* s = call.Run().Out()->GetS();
        return s ? s : "<null>";
    }
    void* GetO(nObject* o, const char* protoDef)
    {
        ScriptCall call(o, protoDef);
        return call.Run().Out()->GetO();
    }
    int GetI(nObject* o, const char* protoDef)
    {
        ScriptCall call(o, protoDef);
        return call.Run().Out()->GetI();
    }
    Strings GetStrings(nObject* o, const char* protoDef)
    {
        ScriptCall call(o, protoDef);
        return call.Run().OutStrings();
    }
    bool IsA(nObject* o, const char* protoDef, const char* className)
    {
        ScriptCall call(o, protoDef);
        call.In()->SetS(className);
        return call.Run().Out()->GetB();
    }
    void* Find(nObject* o, const char* name)
    {
        ScriptCall call(o, "o_find_s");
        call.In()->SetS(name);
        return call.Run().Out()->GetO();
    }
    std::string ChildNames(nRoot* parent)
    {
        std::string names;
        for (nRoot* child = parent->GetHead(); child; child = child->GetSucc()) names += child->GetName();
        return names;
    }

    nRoot* a = nullptr;
    nRoot* b = nullptr;
    nRoot* c = nullptr;
    nEnv* v = nullptr;
};

}  // namespace

TEST_F(TreeCmdTest, ClassQueries)
{
    nRoot* root = this->ks->GetRoot();
    EXPECT_EQ(GetS(root, "s_getclass_v"), "nroot");
    EXPECT_EQ(GetS(v, "s_getclass_v"), "nenv");
    EXPECT_EQ(GetStrings(root, "l_getclasses_v"), (Strings{"nroot", "nobject"}));
    EXPECT_EQ(GetStrings(v, "l_getclasses_v"), (Strings{"nenv", "nroot", "nobject"}));

    struct Case
    {
        nObject* obj;
        const char* className;
        bool isA;
        bool isInstanceOf;
    } cases[] = {
        {root, "nobject", true, false},
        {v, "nobject", true, false},
        {root, "nroot", true, true},
        {v, "nroot", true, false},
        {v, "nenv", true, true},
        {root, "nenv", false, false},
        {root, "nosuchclass", false, false},
    };
    testing::internal::CaptureStdout();
    for (const Case& cs : cases)
    {
        EXPECT_EQ(IsA(cs.obj, "b_isa_s", cs.className), cs.isA) << cs.className;
        EXPECT_EQ(IsA(cs.obj, "b_isinstanceof_s", cs.className), cs.isInstanceOf) << cs.className;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // unregistered names are no error

    EXPECT_EQ(GetI(root, "i_getinstancesize_v"), (int)sizeof(nRoot));
    EXPECT_EQ(GetI(v, "i_getinstancesize_v"), (int)sizeof(nEnv));
    EXPECT_EQ(GetI(a, "i_gettreesize_v"), 3 * (int)sizeof(nRoot) + (int)sizeof(nEnv));
    EXPECT_EQ(GetI(b, "i_getrefcount_v"), 1);
    b->AddRef();
    EXPECT_EQ(GetI(b, "i_getrefcount_v"), 2);
    b->Release();
}

TEST_F(TreeCmdTest, GetCmdsListsTheClassChainOwnFirst)
{
    Strings expected = kRootCmds;
    expected.insert(expected.end(), kObjectCmds.begin(), kObjectCmds.end());
    EXPECT_EQ(GetStrings(a, "l_getcmds_v"), expected);
    EXPECT_EQ(kRootCmds.size(), 14u);
    EXPECT_EQ(kObjectCmds.size(), 16u);
    // a subclass's own commands come first, in registration order
    Strings withEnv;
    nHashList* envCmds = v->GetClass()->GetCmdList();
    ASSERT_NE(envCmds, nullptr);
    for (nHashNode* node = envCmds->GetHead(); node; node = node->GetSucc())
    {
        withEnv.push_back(static_cast<nCmdProto*>(node)->GetProtoDef());
    }
    ASSERT_FALSE(withEnv.empty());
    withEnv.insert(withEnv.end(), expected.begin(), expected.end());
    EXPECT_EQ(GetStrings(v, "l_getcmds_v"), withEnv);
}

TEST_F(TreeCmdTest, EveryCommandIsFoundByItsId)
{
    struct Case
    {
        nFourCC id;
        const char* proto;
    } cases[] = {
        {N_FOURCC('S', 'V', 'A', 'S'), "b_saveas_s"},
        {N_FOURCC('C', 'L', 'O', 'N'), "o_clone_s"},
        {N_FOURCC('G', 'R', 'C', 'T'), "i_getrefcount_v"},
        {N_FOURCC('G', 'C', 'L', 'S'), "s_getclass_v"},
        {N_FOURCC('G', 'C', 'L', 'L'), "l_getclasses_v"},
        {N_FOURCC('I', 'S', 'A', '_'), "b_isa_s"},
        {N_FOURCC('I', 'S', 'I', 'O'), "b_isinstanceof_s"},
        {N_FOURCC('G', 'M', 'C', 'D'), "l_getcmds_v"},
        {N_FOURCC('G', 'I', 'S', 'Z'), "i_getinstancesize_v"},
        {N_FOURCC('B', 'I', 'S', 'I'), "b_bindsignal_sosi"},
        {N_FOURCC('U', 'N', 'S', 'I'), "b_unbindsignal_sos"},
        {N_FOURCC('U', 'N', 'S', 'O'), "b_unbindsignalobject_so"},
        {N_FOURCC('U', 'N', 'O', 'B'), "b_unbindobject_o"},
        {N_FOURCC('U', 'N', 'A', 'L'), "v_unbindall_v"},
        {N_FOURCC('G', 'S', 'I', 'G'), "l_getsignals_v"},
        {N_FOURCC('A', 'S', 'I', 'G'), "b_addsignal_ss"},
        {N_FOURCC('S', 'A', 'V', 'E'), "b_save_v"},
        {N_FOURCC('G', 'P', 'R', 'T'), "o_getparent_v"},
        {N_FOURCC('G', 'H', 'E', 'D'), "o_gethead_v"},
        {N_FOURCC('G', 'T', 'A', 'L'), "o_gettail_v"},
        {N_FOURCC('G', 'S', 'U', 'C'), "o_getsucc_v"},
        {N_FOURCC('G', 'P', 'R', 'D'), "o_getpred_v"},
        {N_FOURCC('G', 'C', 'H', 'D'), "l_getchildren_v"},
        {N_FOURCC('S', 'N', 'A', 'M'), "v_setname_s"},
        {N_FOURCC('G', 'N', 'A', 'M'), "s_getname_v"},
        {N_FOURCC('G', 'F', 'N', 'M'), "s_getfullname_v"},
        {N_FOURCC('G', 'R', 'P', 'H'), "s_getrelpath_o"},
        {N_FOURCC('F', 'I', 'N', 'D'), "o_find_s"},
        {N_FOURCC('S', 'O', 'R', 'T'), "v_sort_v"},
        {N_FOURCC('G', 'T', 'S', 'Z'), "i_gettreesize_v"},
    };
    nClass* env = this->ks->FindClass("nenv");
    for (const Case& cs : cases)
    {
        nCmdProto* proto = env->FindCmdById(cs.id);
        ASSERT_NE(proto, nullptr) << cs.proto;
        EXPECT_STREQ(proto->GetProtoDef(), cs.proto);
    }
    // dispatch by id, as a persistence file does
    nCmdProto* getName = env->FindCmdById(N_FOURCC('G', 'N', 'A', 'M'));
    nCmd* cmd = getName->NewCmd();
    v->Dispatch(cmd);
    EXPECT_STREQ(cmd->Out()->GetS(), "v");
    getName->RelCmd(cmd);
}

TEST_F(TreeCmdTest, Navigation)
{
    nRoot* root = this->ks->GetRoot();
    EXPECT_EQ(GetO(root, "o_getparent_v"), nullptr);
    EXPECT_EQ(GetO(b, "o_getparent_v"), a);
    EXPECT_EQ(GetO(a, "o_gethead_v"), b);
    EXPECT_EQ(GetO(a, "o_gettail_v"), c);
    EXPECT_EQ(GetO(b, "o_getsucc_v"), c);
    EXPECT_EQ(GetO(c, "o_getsucc_v"), nullptr);
    EXPECT_EQ(GetO(c, "o_getpred_v"), b);
    EXPECT_EQ(GetO(b, "o_getpred_v"), nullptr);
    EXPECT_EQ(GetO(c, "o_gethead_v"), nullptr);
    EXPECT_EQ(GetO(c, "o_gettail_v"), nullptr);

    {
        ScriptCall call(a, "l_getchildren_v");
        nArg* children = nullptr;
        ASSERT_EQ(call.Run().Out()->GetL(children), 2);
        EXPECT_EQ(children[0].GetO(), b);
        EXPECT_EQ(children[1].GetO(), c);
    }
    {
        ScriptCall call(c, "l_getchildren_v");
        nArg* children = nullptr;
        EXPECT_EQ(call.Run().Out()->GetL(children), 0);
    }

    EXPECT_EQ(Find(a, "c"), c);
    EXPECT_EQ(Find(a, "."), a);
    EXPECT_EQ(Find(a, ".."), root);
    EXPECT_EQ(Find(root, ".."), nullptr);
    EXPECT_EQ(Find(a, "nosuchchild"), nullptr);
}

TEST_F(TreeCmdTest, NamesAndPaths)
{
    EXPECT_EQ(GetS(v, "s_getname_v"), "v");
    EXPECT_EQ(GetS(v, "s_getfullname_v"), "/a/b/v");
    EXPECT_EQ(GetS(this->ks->GetRoot(), "s_getfullname_v"), "/");
    struct Case
    {
        nRoot* from;
        nRoot* to;
        const char* path;
    } cases[] = {{c, b, "../b"}, {a, v, "b/v"}, {v, c, "../../c"}, {b, b, "."}};
    for (const Case& cs : cases)
    {
        ScriptCall call(cs.from, "s_getrelpath_o");
        call.In()->SetO(cs.to);
        EXPECT_STREQ(call.Run().Out()->GetS(), cs.path);
    }
}

TEST_F(TreeCmdTest, RenameKeepsThePlaceAndDuplicatesAreFoundFirstInOrder)
{
    {
        ScriptCall call(c, "v_setname_s");
        call.In()->SetS("b");
        call.Run();
    }
    EXPECT_EQ(ChildNames(a), "bb");
    EXPECT_EQ(GetO(a, "o_gettail_v"), c);
    EXPECT_EQ(Find(a, "b"), b);
    {
        ScriptCall call(c, "v_setname_s");
        call.In()->SetS("a");
        call.Run();
    }
    ScriptCall(a, "v_sort_v").Run();
    EXPECT_EQ(ChildNames(a), "ab");
    EXPECT_EQ(GetO(a, "o_gethead_v"), c);
}

TEST_F(TreeCmdTest, SavingWithoutAScriptServerFailsButCloningWorks)
{
    testing::internal::CaptureStdout();
    {
        ScriptCall call(a, "b_saveas_s");
        call.In()->SetS("out.n2");
        EXPECT_FALSE(call.Run().Out()->GetB());
    }
    EXPECT_FALSE(ScriptCall(a, "b_save_v").Run().Out()->GetB());
    nObject* copy = nullptr;
    {
        ScriptCall call(a, "o_clone_s");
        call.In()->SetS("copy");
        copy = static_cast<nObject*>(call.Run().Out()->GetO());
    }
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(log.find("BeginObject() failed!"), std::string::npos) << log;
    EXPECT_NE(copy, nullptr);
    EXPECT_EQ(Find(ks->GetCwd(), "copy"), copy);
}

TEST_F(TreeCmdTest, AnObjectIsNotClonedIntoItself)
{
    for (nRoot* cwd : {this->a, this->b})
    {
        this->ks->SetCwd(cwd);
        ScriptCall call(a, "o_clone_s");
        call.In()->SetS("copy");
        EXPECT_TRUE(call.Run().Failed());
        EXPECT_EQ(Find(cwd, "copy"), nullptr);
    }
    this->ks->SetCwd(nullptr);
}

TEST_F(TreeCmdTest, NullArgumentsFromScriptsAreReportedNotFollowed)
{
    struct Case
    {
        const char* proto;
    } cases[] = {{"b_saveas_s"}, {"o_clone_s"}, {"b_isa_s"}, {"b_isinstanceof_s"}, {"v_setname_s"}, {"o_find_s"}, {"s_getrelpath_o"}};
    for (const Case& cs : cases)
    {
        SCOPED_TRACE(cs.proto);
        testing::internal::CaptureStdout();
        ScriptCall call(b, cs.proto);
        nArg* in = call.In();
        if (in->GetType() == nArg::String) in->SetS(nullptr);
        else in->SetO(nullptr);
        call.Run();
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_EQ(log.rfind(std::string(cs.proto) + ": null ", 0), 0u) << log;
        if (call.Valid() && std::string(cs.proto)[0] != 'v')
        {
            nArg* out = call.Out();
            switch (out->GetType())
            {
                case nArg::Bool: EXPECT_FALSE(out->GetB()); break;
                case nArg::Object: EXPECT_EQ(out->GetO(), nullptr); break;
                case nArg::String: EXPECT_EQ(out->GetS(), nullptr); break;
                default: ADD_FAILURE() << "unexpected output type"; break;
            }
        }
    }
    EXPECT_STREQ(b->GetName(), "b");
}

TEST_F(TreeCmdTest, RelativePathToAnObjectOutsideTheTreeIsAnError)
{
    nObject* loose = this->ks->NewUnnamedObject("nobject");
    ASSERT_NE(loose, nullptr);
    testing::internal::CaptureStdout();
    {
        ScriptCall call(b, "s_getrelpath_o");
        call.In()->SetO(loose);
        EXPECT_TRUE(call.Run().Failed());
    }
    EXPECT_NE(testing::internal::GetCapturedStdout().find("object is a 'nobject', not a 'nroot'"), std::string::npos);
    loose->Release();
}
