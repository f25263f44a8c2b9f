//------------------------------------------------------------------------------
//  The remote server end to end on the loopback: a client's commands run
//  through the script server in order, each client with its own current
//  object, with fail-on-error off. The script server here is a small fake
//  that understands just enough commands to show what the server does.
//------------------------------------------------------------------------------
#include "kernelfixture.h"
#include "remotefixture.h"

#include "kernel/nipcframer.h"
#include "kernel/nmodule.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

/// answers "sel PATH", "dir", "close", "delete PATH", "long"; echoes the rest
class nFakeScriptServer : public nScriptServer
{
public:
    bool Run(const char* str, nString& result) override
    {
        const std::string cmd(str);
        this->failOnErrorSeen.push_back(this->GetFailOnError());
        nKernelServer* ks = nKernelServer::Instance();
        if (cmd.rfind("sel ", 0) == 0)
        {
            nRoot* obj = ks->Lookup(cmd.substr(4).c_str());
            if (obj) ks->SetCwd(obj);
            result = obj ? obj->GetFullName().Get() : "";
        }
        else if (cmd == "dir")
        {
            std::string names;
            for (nRoot* c = ks->GetCwd()->GetHead(); c; c = c->GetSucc())
            {
                names += names.empty() ? "" : " ";
                names += c->GetName();
            }
            result = names.c_str();
        }
        else if (cmd == "close")
        {
            nRemoteServer::Instance()->Close();
        }
        else if (cmd.rfind("delete ", 0) == 0)
        {
            nRoot* obj = ks->Lookup(cmd.substr(7).c_str());
            if (obj) obj->Release();
        }
        else if (cmd == "long")
        {
            result = std::string(5000, 'x').c_str();
        }
        else
        {
            result = ("echo:" + cmd).c_str();
        }
        return true;
    }

    std::vector<bool> failOnErrorSeen;
};

N_IMPLEMENT_MODULE(nfakescriptserver, nFakeScriptServer, "nscriptserver", nullptr)

void fake_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nfakescriptserver);
}

class RemoteServerTest : public RemoteFixture
{
protected:
    void SetUp() override
    {
        this->Start({fake_package}, "nfakescriptserver");
        this->script = static_cast<nFakeScriptServer*>(this->scriptServer);
    }
    void NewRoot(const char* path) { this->ks->New("nroot", path); }

    nFakeScriptServer* script = nullptr;
};

}  // namespace

TEST_F(RemoteServerTest, TheKernelMakesAClosedRemoteServer)
{
    remote->Close();
    EXPECT_FALSE(remote->IsOpen());
    EXPECT_STREQ(remote->GetClass()->GetName(), "nremoteserver");
    EXPECT_EQ(ks->GetRemoteServerObject(), remote);
    remote->Trigger();  // closed: nothing to do
    EXPECT_TRUE(script->failOnErrorSeen.empty());
}

TEST_F(RemoteServerTest, CommandsRunInOrderAndEachGetsOneReply)
{
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    ASSERT_TRUE(client.SendStrings({"first", "second", "long"}));
    EXPECT_EQ(Reply(client), "echo:first");
    EXPECT_EQ(Reply(client), "echo:second");
    EXPECT_EQ(Reply(client), std::string(nIpcFramer::BufferSize - 1, 'x'));
    // script errors do not stop the program while remote commands run
    EXPECT_EQ(script->failOnErrorSeen, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(script->GetFailOnError());
}

TEST_F(RemoteServerTest, EachClientKeepsItsOwnCurrentObject)
{
    NewRoot("/one/a");
    NewRoot("/one/b");
    NewRoot("/two/c");
    IpcTestClient one, two;
    ASSERT_TRUE(Admit(one));
    ASSERT_TRUE(Admit(two));
    ASSERT_TRUE(one.SendStrings({"sel /one"}));
    EXPECT_EQ(Reply(one), "/one");
    ASSERT_TRUE(two.SendStrings({"sel /two"}));
    EXPECT_EQ(Reply(two), "/two");
    ASSERT_TRUE(one.SendStrings({"dir"}));
    EXPECT_EQ(Reply(one), "a b");
    ASSERT_TRUE(two.SendStrings({"dir"}));
    EXPECT_EQ(Reply(two), "c");
    // the program's own current object is left alone
    EXPECT_EQ(ks->GetCwd(), ks->GetRoot());
}

TEST_F(RemoteServerTest, AClientWhoseCurrentObjectDiedContinuesAtTheRoot)
{
    NewRoot("/tmp/gone/child");
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    ASSERT_TRUE(client.SendStrings({"sel /tmp/gone"}));
    EXPECT_EQ(Reply(client), "/tmp/gone");
    ASSERT_TRUE(client.SendStrings({"delete /tmp/gone", "dir"}));
    EXPECT_EQ(Reply(client), "");
    EXPECT_EQ(Reply(client), "sys tmp");
}

TEST_F(RemoteServerTest, AClientsContextGoesWithItsConnection)
{
    NewRoot("/one/a");
    IpcTestClient stays, leaves, resets;
    for (IpcTestClient* c : {&stays, &leaves, &resets})
    {
        ASSERT_TRUE(Admit(*c));
        EXPECT_EQ(Send(*c, "sel /one"), "/one");
    }
    EXPECT_EQ(remote->GetNumClientContexts(), 3);
    // a client that leaves right after a command still has it run
    ASSERT_TRUE(leaves.SendStrings({"sel /"}));
    leaves.Socket().Close();
    ASSERT_TRUE(resets.Socket().SetAbortiveClose());
    resets.Socket().Close();
    EXPECT_TRUE(PollUntil([&] {
        remote->Trigger();
        return remote->GetNumClientContexts() == 1;
    }));
    EXPECT_EQ(script->failOnErrorSeen.size(), 4u);
    EXPECT_EQ(Send(stays, "dir"), "a");
}

TEST_F(RemoteServerTest, ACommandThatClosesTheServerEndsTheTrigger)
{
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    ASSERT_TRUE(client.SendStrings({"close", "never run"}));
    EXPECT_TRUE(PollUntil([&] {
        remote->Trigger();
        return !remote->IsOpen();
    }));
    EXPECT_EQ(script->failOnErrorSeen.size(), 1u);
    EXPECT_TRUE(script->GetFailOnError());
    EXPECT_TRUE(client.WaitClosed());
    ASSERT_TRUE(OpenFreePort());  // and it can be opened again
}

TEST_F(RemoteServerTest, WithoutAScriptServerCommandsGetEmptyReplies)
{
    script->Release();
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    ASSERT_TRUE(client.SendStrings({"anything"}));
    EXPECT_EQ(Reply(client), "");
}

TEST_F(RemoteServerTest, APortInUseMakesOpenFail)
{
    const std::string used = portName;
    remote->Close();
    nPlatformSocket blocker = nPlatformSocket::NewTcp();
    nPlatformInetAddr addr;
    addr.ip = 0x7f000001u;  // 127.0.0.1
    addr.port = nIpcAddress::PortFromName(used.c_str());
    ASSERT_TRUE(blocker.SetReuseAddress());
    ASSERT_TRUE(blocker.Bind(addr)) << nPlatformSocket::LastError();
    ASSERT_TRUE(blocker.Listen(1));
    EXPECT_FALSE(remote->Open(used.c_str()));
    EXPECT_FALSE(remote->IsOpen());
    ASSERT_TRUE(OpenFreePort());
}

TEST_F(RemoteServerTest, ItListensOnTheLoopbackAddressOnly)
{
    // the kernel's table of TCP sockets: local address and port in hex,
    // state 0A for listening
    std::ifstream tcp("/proc/net/tcp");
    ASSERT_TRUE(tcp.good());
    char port[8];
    snprintf(port, sizeof(port), ":%04X", Port());
    std::string line, local;
    while (std::getline(tcp, line))
    {
        std::istringstream fields(line);
        std::string slot, localAddr, remoteAddr, state;
        fields >> slot >> localAddr >> remoteAddr >> state;
        if ((state == "0A") && (localAddr.size() > 5) && (localAddr.substr(localAddr.size() - 5) == port))
        {
            local = localAddr;
        }
    }
    EXPECT_EQ(local, std::string("0100007F") + port);
}

TEST_F(RemoteServerTest, ClosingAndDyingWithConnectedClientsIsPrompt)
{
    IpcTestClient a, b;
    ASSERT_TRUE(Admit(a));
    ASSERT_TRUE(Admit(b));
    ASSERT_TRUE(a.SendStrings({"x"}));
    EXPECT_EQ(Reply(a), "echo:x");
    ks.reset();  // the kernel releases the open server
    EXPECT_TRUE(a.WaitClosed());
    EXPECT_TRUE(b.WaitClosed());
}
