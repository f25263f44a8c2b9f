//------------------------------------------------------------------------------
//  Remote control with the real Tcl server: what a tool on the loopback
//  sees when it sends engine commands.
//------------------------------------------------------------------------------
#include "kernelfixture.h"
#include "ipctestclient.h"

#include "kernel/nipcaddress.h"
#include "kernel/nremoteserver.h"
#include "kernel/nscriptserver.h"
#include "script/nscriptpackage.h"

#include <string>

namespace
{

class RemoteTclTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        this->ks = std::make_unique<nKernelServer>(std::initializer_list<nPackageFunc>{nscript_package});
        this->script = static_cast<nScriptServer*>(this->ks->New("ntclserver", "/sys/servers/script"));
        this->remote = static_cast<nRemoteServer*>(this->ks->Lookup("/sys/servers/remote"));
        for (int i = 0; (i < 100) && !this->remote->IsOpen(); i++)
        {
            this->portName = "remotetcl-" + std::to_string(getpid()) + "-" + std::to_string(i);
            this->remote->Open(this->portName.c_str());
        }
        ASSERT_TRUE(this->remote->IsOpen());
    }
    void TearDown() override { this->ks.reset(); }

    bool Admit(IpcTestClient& client)
    {
        return client.Connect(nIpcAddress::PortFromName(this->portName.c_str())) &&
               client.SendStrings({"~handshake " + this->portName});
    }

    /// send one command and trigger the server until its reply is there
    std::string Send(IpcTestClient& client, const std::string& cmd)
    {
        if (!client.SendStrings({cmd})) return "<send failed>";
        std::string reply = "<timeout>";
        PollUntil([&] {
            this->remote->Trigger();
            reply = client.ReadString(0);
            return reply != "<timeout>";
        });
        return reply;
    }

    std::unique_ptr<nKernelServer> ks;
    nScriptServer* script = nullptr;
    nRemoteServer* remote = nullptr;
    std::string portName;
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
    EXPECT_NE(Send(client, "nosuchcommand 1 2"), "");
    EXPECT_NE(Send(client, "sel /no/such/object"), "");
    EXPECT_EQ(Send(client, "set x 5"), "5");
    EXPECT_TRUE(script->GetFailOnError());
}
