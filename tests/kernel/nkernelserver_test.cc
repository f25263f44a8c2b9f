//------------------------------------------------------------------------------
//  The kernel server: registry, object creation, lookup, cwd and teardown.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/nenv.h"
#include "kernel/nmodule.h"
#include "kernel/nref.h"

#include <string>

namespace
{

class nTestNode : public nRoot
{
public:
    static int initializeCount;
    void Initialize() override { ++initializeCount; }
};
int nTestNode::initializeCount = 0;

N_IMPLEMENT_MODULE(ntestnode, nTestNode, "nroot", nullptr)
N_IMPLEMENT_MODULE(norphan, nTestNode, "nnosuchsuperclass", nullptr)

void test_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), ntestnode);
}

void orphan_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), norphan);
}

}  // namespace

TEST_F(KernelTest, LookupResolvesPathsLikeTheTree)
{
    nRoot* a = NewRoot("/a");
    nRoot* b = NewRoot("/a/b");
    EXPECT_EQ(ks->Lookup(""), nullptr);
    EXPECT_EQ(ks->Lookup("/"), ks->GetRoot());
    EXPECT_EQ(ks->Lookup("///"), ks->GetRoot());
    EXPECT_EQ(ks->Lookup("/a//b"), b);
    EXPECT_EQ(ks->Lookup("/a/b/.."), a);
    EXPECT_EQ(ks->Lookup("/a/./b"), b);
    EXPECT_EQ(ks->Lookup("/a/c"), nullptr);
    EXPECT_EQ(ks->Lookup(".."), nullptr);  // the cwd is the root
    EXPECT_EQ(ks->Lookup("."), ks->GetRoot());
    ks->SetCwd(a);
    EXPECT_EQ(ks->Lookup("b"), b);
    EXPECT_EQ(ks->Lookup(".."), ks->GetRoot());
}

TEST_F(KernelTest, NewCreatesIntermediateRootsAndReturnsExistingObjects)
{
    nObject* env = ks->New("nenv", "/x/y/z");
    ASSERT_NE(env, nullptr);
    EXPECT_STREQ(env->GetClass()->GetName(), "nenv");
    EXPECT_STREQ(ks->Lookup("/x")->GetClass()->GetName(), "nroot");
    EXPECT_STREQ(ks->Lookup("/x/y")->GetClass()->GetName(), "nroot");
    EXPECT_EQ(env->GetRefCount(), 1);
    EXPECT_EQ(ks->New("nroot", "/x/y/z"), env);
    EXPECT_EQ(env->GetRefCount(), 1);
}

TEST_F(KernelTest, NewInitializesEachNewObjectOnce)
{
    ks->AddPackage(test_package);
    nTestNode::initializeCount = 0;
    ks->New("ntestnode", "/t");
    ks->New("ntestnode", "/t");
    EXPECT_EQ(nTestNode::initializeCount, 1);
    EXPECT_STREQ(ks->FindClass("ntestnode")->GetProperName(), "nTestNode");
    EXPECT_TRUE(ks->Lookup("/t")->IsA("nroot"));
}

TEST_F(KernelTest, NewNoFailReportsUnknownClassesAndReturnsNull)
{
    testing::internal::CaptureStdout();
    nObject* o = ks->NewNoFail("nnosuchclass", "/a/b");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(o, nullptr);
    EXPECT_NE(out.find("nKernelServer: Couldn't create object '/a/b' of class 'nnosuchclass'.\n"
                       "nKernelServer: Couldn't create object of class 'nnosuchclass'.\n"),
              std::string::npos);
    EXPECT_EQ(ks->NewUnnamedObject("nnosuchclass"), nullptr);
}

TEST_F(KernelTest, FatalCreationErrors)
{
    EXPECT_FATAL(ks->New("nnosuchclass", "/a"), "Couldn't create object '/a' of class 'nnosuchclass'");
    EXPECT_FATAL(ks->New("nroot", "/"), "Empty name for new object of class 'nroot'!");
    EXPECT_FATAL(ks->NewUnnamed("nnosuchclass"), "Couldn't create object of class 'nnosuchclass'");
    EXPECT_FATAL(ks->AddPackage(orphan_package), "Could not open super class 'nnosuchsuperclass'");
}

TEST_F(KernelTest, KernelClassesAreRegisteredInPackageOrder)
{
    const char* expected[] = {"nobject", "nroot", "nenv", "nfilenode", "nfileserver2", "npersistserver",
                              "nremoteserver", "nscriptserver", "ntimeserver", "nbinscriptserver"};
    nHashNode* node = ks->GetClassList()->GetHead();
    for (const char* name : expected)
    {
        ASSERT_NE(node, nullptr);
        EXPECT_STREQ(node->GetName(), name);
        node = node->GetSucc();
    }
}

TEST_F(KernelTest, AddModuleTwiceKeepsTheFirstClass)
{
    ks->AddPackage(test_package);
    nClass* first = ks->FindClass("ntestnode");
    ks->AddPackage(test_package);
    EXPECT_EQ(ks->FindClass("ntestnode"), first);
}

TEST_F(KernelTest, PathsThatDoNotFitAreNeverCutToAPrefix)
{
    NewRoot("/a/b");
    const std::string padded = "/a/b" + std::string(600, '/') + "zzz";
    EXPECT_EQ(ks->Lookup(padded.c_str()), nullptr);
    testing::internal::CaptureStdout();
    EXPECT_EQ(ks->NewNoFail("nroot", padded.c_str()), nullptr);
    EXPECT_EQ(ks->NewNoFail("nroot", ("/" + std::string(600, 'n')).c_str()), nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(ks->GetRoot()->Find("a")->GetHead()->GetSucc(), nullptr);

    // the longest path that fits still works
    const std::string longest = "/" + std::string(N_MAXPATH - 2, 'n');
    EXPECT_NE(ks->NewNoFail("nroot", longest.c_str()), nullptr);
    EXPECT_NE(ks->Lookup(longest.c_str()), nullptr);
}

TEST_F(KernelTest, PathsNeverMakeDotComponents)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(ks->NewNoFail("nroot", "../y"), nullptr);
    EXPECT_EQ(ks->NewNoFail("nroot", "/../../x"), nullptr);
    EXPECT_EQ(ks->NewNoFail("nroot", "/p/../../q"), nullptr);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(ks->GetRoot()->Find(".."), nullptr);
    for (nRoot* c = ks->GetRoot()->GetHead(); c; c = c->GetSucc())
    {
        EXPECT_TRUE(nRoot::IsValidName(c->GetName())) << c->GetName();
    }
    // dots that stay inside the tree resolve as they always did
    nRoot* q = static_cast<nRoot*>(ks->NewNoFail("nroot", "/p/./../q"));
    ASSERT_NE(q, nullptr);
    EXPECT_STREQ(q->GetFullName().Get(), "/q");
}

TEST_F(KernelTest, NamesThatNoPathReachesAreInvalid)
{
    for (const char* bad : {"", ".", "..", "a/b", "/", "tab\there"})
    {
        EXPECT_FALSE(nRoot::IsValidName(bad)) << bad;
    }
    EXPECT_FALSE(nRoot::IsValidName(std::string(N_MAXPATH, 'n').c_str()));
    for (const char* good : {"a", "...", ".hidden", "x y", "_main"})
    {
        EXPECT_TRUE(nRoot::IsValidName(good)) << good;
    }
}

TEST_F(KernelTest, CwdStackRestoresAndSurvivesDeadObjects)
{
    nRoot* a = NewRoot("/a");
    nRoot* b = NewRoot("/b");
    ks->PushCwd(a);
    ks->PushCwd(b);
    EXPECT_EQ(ks->GetCwd(), b);
    a->Release();  // a saved cwd dies
    b->Release();  // the cwd dies
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
    EXPECT_EQ(ks->PopCwd(), ks->GetRoot());
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());  // was a
    ks->PopCwd();
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
    ks->SetCwd(nullptr);
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
}

TEST_F(KernelTest, TriggerSurvivesDeletedMemoryValues)
{
    nRoot* env = ks->Lookup("/sys/var/mem_totalsize");
    ASSERT_NE(env, nullptr);
    ks->Trigger();
    EXPECT_GT(static_cast<nEnv*>(env)->GetI(), 0);
    env->Release();
    ks->Trigger();  // must not write into the freed value
    nEnv* replaced = static_cast<nEnv*>(ks->New("nenv", "/sys/var/mem_totalsize"));
    replaced->SetS("text");
    ks->Trigger();
    EXPECT_STREQ(replaced->GetS(), "text");
}

TEST(KernelLifetime, BuildsTearsDownAndBuildsAgain)
{
    for (int i = 0; i < 3; i++)
    {
        auto ks = std::make_unique<nKernelServer>();
        EXPECT_EQ(nKernelServer::Instance(), ks.get());
        nObject* o = ks->New("nenv", "/sys/env/x");
        ASSERT_NE(o, nullptr);
        EXPECT_TRUE(o->IsA("nroot"));
        ks.reset();
        EXPECT_EQ(nKernelServer::Instance(), nullptr);
    }
}

TEST(KernelLifetime, ClassesStillReferencedAtShutdownAreFatal)
{
    EXPECT_FATAL(
        {
            nKernelServer* ks = new nKernelServer();
            ks->OpenClass("nenv");
            delete ks;
        },
        "nenv: refcount 1(.|\n)*Refcount errors occured during cleanup");
}

TEST_F(KernelTest, ASecondServerOfASingletonClassIsRefused)
{
    nRoot* time = ks->Lookup("/sys/servers/time");
    ASSERT_NE(time, nullptr);
    testing::internal::CaptureStdout();
    EXPECT_EQ(ks->NewNoFail("ntimeserver", "/usr/another"), nullptr);
    EXPECT_EQ(ks->NewUnnamedObject("ntimeserver"), nullptr);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("an object of class 'ntimeserver' exists already"), std::string::npos) << out;
    EXPECT_EQ(ks->FindClass("ntimeserver")->GetNumObjects(), 1);

    // once the server is gone, a new one may be made
    time->Release();
    nObject* again = ks->NewNoFail("ntimeserver", "/usr/again");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ks->FindClass("ntimeserver")->GetNumObjects(), 1);
}
