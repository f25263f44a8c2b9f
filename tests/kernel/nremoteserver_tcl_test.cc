//------------------------------------------------------------------------------
//  Remote control with the real Tcl server: what a tool on the loopback
//  sees when it sends engine commands.
//------------------------------------------------------------------------------
#include "kernelfixture.h"
#include "remotefixture.h"

#include "script/nscriptpackage.h"

#include <string>

namespace
{

class RemoteTclTest : public RemoteFixture
{
protected:
    void SetUp() override { this->Start({nscript_package}, "ntclserver"); }
};

}  // namespace

TEST_F(RemoteTclTest, ClientsSelectAndListTheirOwnObjects)
{
    ks->New("nroot", "/one/a");
    ks->New("nroot", "/one/b");
    ks->New("nroot", "/two/c");
    IpcTestClient first, second;
    ASSERT_TRUE(Admit(first));
    ASSERT_TRUE(Admit(second));
    EXPECT_EQ(Send(first, "sel /one"), "/one");
    EXPECT_EQ(Send(second, "sel /two"), "/two");
    EXPECT_EQ(Send(first, "dir"), "a b ");
    EXPECT_EQ(Send(second, "dir"), "c ");
    EXPECT_EQ(Send(second, "psel"), "/two");
    EXPECT_EQ(Send(first, "expr 6*7"), "42");
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
}

TEST_F(RemoteTclTest, ScriptErrorsAreRepliedNotFatal)
{
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    EXPECT_EQ(Send(client, "nosuchcommand 1 2"), "unknown command 'nosuchcommand'");
    EXPECT_EQ(Send(client, "sel /no/such/object"), "Object '/no/such/object' does not exist.");
    // a guard's refusal is a reply too, and the program goes on
    EXPECT_EQ(Send(client, "/sys/servers/file2.manglepath :null:"), "s_manglepath_s: null path argument");
    EXPECT_EQ(Send(client, "new nfilenode /f; /f.open :null: w"), "b_open_ss: null file name argument");
    EXPECT_EQ(Send(client, "set x 5"), "5");
    EXPECT_TRUE(scriptServer->GetFailOnError());
}
