//------------------------------------------------------------------------------
//  A running application answers its remote-control clients: the frame
//  triggers the remote server right after the kernel.
//------------------------------------------------------------------------------
#include "appfixture.h"
#include "kernel/ipctestclient.h"

#include "kernel/nipcaddress.h"
#include "kernel/nremoteserver.h"

#include <algorithm>
#include <unistd.h>

namespace
{

class AppRemoteTest : public AppTest
{
protected:
    /// open under an application name whose port is free; the port name
    bool OpenOnFreePort(std::string& name)
    {
        for (int i = 0; i < 100; i++)
        {
            name = "apptest-" + std::to_string(getpid()) + "-" + std::to_string(i);
            this->app->SetAppName(nString(name.c_str()));
            this->OpenWithStates({"s"});
            if (nRemoteServer::Instance()->IsOpen()) return true;
            this->app->Close();
        }
        return false;
    }
};

}  // namespace

TEST_F(AppRemoteTest, TheFrameRunsWhatAClientSentAndAnswers)
{
    std::string name;
    ASSERT_TRUE(this->OpenOnFreePort(name));
    this->app->UpdateTimes();
    this->app->DoStateTransition();

    IpcTestClient client;
    ASSERT_TRUE(client.Connect(nIpcAddress::PortFromName(name.c_str())));
    ASSERT_TRUE(client.SendStrings({"~handshake " + name, "ping"}));
    std::string reply = "<timeout>";
    ASSERT_TRUE(PollUntil([&] {
        Trace().clear();
        this->app->DoFrame();
        reply = client.ReadString(0);
        return reply != "<timeout>";
    }));
    EXPECT_EQ(reply, "ok");
    EXPECT_EQ(TraceBetween("gfx.Trigger", "gui.Trigger"),
              (std::vector<std::string>{"gfx.Trigger", "script.Run ping", "input.Trigger"}));
}

TEST_F(AppRemoteTest, CloseStopsListening)
{
    std::string name;
    ASSERT_TRUE(this->OpenOnFreePort(name));
    this->app->Close();
    EXPECT_FALSE(nRemoteServer::Instance()->IsOpen());
    IpcTestClient client;
    EXPECT_FALSE(client.Connect(nIpcAddress::PortFromName(name.c_str())));
}

TEST_F(AppRemoteTest, AClientWithoutHandshakeRunsNothing)
{
    std::string name;
    ASSERT_TRUE(this->OpenOnFreePort(name));
    this->app->UpdateTimes();
    this->app->DoStateTransition();

    IpcTestClient client;
    ASSERT_TRUE(client.Connect(nIpcAddress::PortFromName(name.c_str())));
    ASSERT_TRUE(client.SendStrings({"ping"}));
    // a bounded stretch of frames: long enough for the listener to have the line
    PollUntil(
        [&] {
            this->app->DoFrame();
            return false;
        },
        300);
    EXPECT_EQ(std::count(Trace().begin(), Trace().end(), "script.Run ping"), 0);
    const std::string reply = client.ReadString(0);
    EXPECT_TRUE(reply == "<closed>" || reply == "<timeout>") << reply;
}
