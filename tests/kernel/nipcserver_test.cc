//------------------------------------------------------------------------------
//  The remote-control server on real loopback connections: admission (of
//  the user's own sockets only), replies, lost, idle and flooding clients,
//  limits and shutdown.
//------------------------------------------------------------------------------
#include "kernelfixture.h"
#include "ipctestclient.h"

#include "kernel/nipcbuffer.h"
#include "kernel/nipcframer.h"
#include "kernel/nipcminiserver.h"
#include "kernel/nipcserver.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <fcntl.h>
#include <string>
#include <vector>

namespace
{

class IpcServerTest : public ::testing::Test
{
protected:
    /// a server on a port name of this process whose port is free
    void SetUp() override
    {
        for (int i = 0; (i < 100) && !this->server; i++)
        {
            this->portName = "ipctest-" + std::to_string(getpid()) + "-" + std::to_string(i);
            auto s = std::make_unique<nIpcServer>(nIpcAddress("127.0.0.1", this->portName.c_str()));
            if (s->IsListening()) this->server = std::move(s);
        }
        ASSERT_TRUE(this->server);
    }

    /// connect and shake hands
    bool Admit(IpcTestClient& client)
    {
        return client.Connect(this->server->GetPortNum()) && client.SendStrings({"~handshake " + this->portName});
    }

    /// poll until a message arrives; its text and client id
    std::string NextMessage(int& clientId)
    {
        if (!PollUntil([this] { return this->server->Poll(); })) return "<none>";
        nIpcBuffer buf(nIpcFramer::BufferSize);
        if (!this->server->GetMsg(buf, clientId)) return "<none>";
        return buf.GetFirstString() ? buf.GetFirstString() : "<invalid>";
    }

    void Reply(int clientId, const char* text)
    {
        nIpcBuffer buf(nIpcFramer::BufferSize);
        buf.SetString(text);
        EXPECT_TRUE(this->server->Send(clientId, buf));
    }

    std::string portName;
    std::unique_ptr<nIpcServer> server;
};

}  // namespace

TEST_F(IpcServerTest, AnAdmittedClientsCommandsArriveAndItGetsReplies)
{
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    ASSERT_TRUE(client.SendStrings({"first", "second"}));
    int id1 = -1, id2 = -1;
    EXPECT_EQ(NextMessage(id1), "first");
    EXPECT_EQ(NextMessage(id2), "second");
    EXPECT_EQ(id1, id2);
    Reply(id1, "one");
    Reply(id1, "");
    EXPECT_EQ(client.ReadString(), "one");
    EXPECT_EQ(client.ReadString(), "");
}

TEST_F(IpcServerTest, ClientsWithoutTheRightHandshakeAreClosedUnheard)
{
    IpcTestClient wrong, none, late;
    ASSERT_TRUE(wrong.Connect(server->GetPortNum()));
    ASSERT_TRUE(wrong.SendStrings({"~handshake SomethingElse", "exit"}));
    ASSERT_TRUE(none.Connect(server->GetPortNum()));
    ASSERT_TRUE(none.SendStrings({"exit"}));
    EXPECT_TRUE(PollUntil([&] {
        server->Poll();
        return wrong.Socket().WaitReadable(0) == nPlatformSocket::Readable &&
               none.Socket().WaitReadable(0) == nPlatformSocket::Readable;
    }));
    EXPECT_TRUE(wrong.WaitClosed());
    EXPECT_TRUE(none.WaitClosed());
    EXPECT_FALSE(server->Poll());

    // a proper client afterwards is served
    ASSERT_TRUE(Admit(late));
    ASSERT_TRUE(late.SendStrings({"ok"}));
    int id = -1;
    EXPECT_EQ(NextMessage(id), "ok");
}

TEST_F(IpcServerTest, CommandsSplitOverSeveralSendsAndFullBuffersArriveWhole)
{
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    ASSERT_TRUE(client.SendRaw("half of a"));
    server->Poll();
    ASSERT_TRUE(client.SendRaw(std::string(" command") + '\0'));
    int id = -1;
    EXPECT_EQ(NextMessage(id), "half of a command");

    // one string filling the whole receive buffer, then an overlong one
    const std::string longest(nIpcFramer::BufferSize - 1, 'x');
    ASSERT_TRUE(client.SendStrings({longest, std::string(3 * nIpcFramer::BufferSize, 'y'), "after"}));
    EXPECT_EQ(NextMessage(id), longest);
    EXPECT_EQ(NextMessage(id), "after");
}

TEST_F(IpcServerTest, AnUnterminatedChunkFromALeavingClientIsIgnored)
{
    IpcTestClient client;
    ASSERT_TRUE(Admit(client));
    ASSERT_TRUE(client.SendRaw("no terminator"));
    client.Socket().Close();
    IpcTestClient other;
    ASSERT_TRUE(Admit(other));
    ASSERT_TRUE(other.SendStrings({"marker"}));
    int id = -1;
    EXPECT_EQ(NextMessage(id), "marker");
    EXPECT_FALSE(server->Poll());
}

TEST_F(IpcServerTest, LostClientsAreDroppedAndSendsToThemFailQuietly)
{
    IpcTestClient reset, gone, stays;
    ASSERT_TRUE(Admit(reset));
    ASSERT_TRUE(Admit(gone));
    ASSERT_TRUE(Admit(stays));
    ASSERT_TRUE(reset.SendStrings({"r"}));
    ASSERT_TRUE(gone.SendStrings({"g"}));
    int resetId = -1, goneId = -1, id = -1;
    EXPECT_EQ(NextMessage(resetId), "r");
    EXPECT_EQ(NextMessage(goneId), "g");

    // a connection reset is a hard receive error; a closed peer makes
    // sends fail, which must not raise SIGPIPE
    ASSERT_TRUE(reset.Socket().SetAbortiveClose());
    reset.Socket().Close();
    gone.Socket().Close();
    nIpcBuffer reply("reply");
    EXPECT_TRUE(PollUntil([&] {
        const bool sent = server->Send(goneId, reply);
        server->Poll();
        return !sent;
    }));
    EXPECT_TRUE(PollUntil([&] {
        server->Poll();
        return !server->Send(resetId, reply);
    }));

    ASSERT_TRUE(stays.SendStrings({"s"}));
    EXPECT_EQ(NextMessage(id), "s");
    Reply(id, "still here");
    EXPECT_EQ(stays.ReadString(), "still here");
}

TEST_F(IpcServerTest, WhenTheSlotsAreFullTheClientIdleLongestMakesRoom)
{
    std::vector<std::unique_ptr<IpcTestClient>> clients;
    // one at a time, so that the small backlog never drops a connect
    std::vector<int> ids;
    for (int i = 0; i < nIpcServer::MaxClients; i++)
    {
        clients.push_back(std::make_unique<IpcTestClient>());
        ASSERT_TRUE(Admit(*clients.back()));
        ASSERT_TRUE(clients.back()->SendStrings({"c" + std::to_string(i)}));
        int id = -1;
        ASSERT_EQ(NextMessage(id), "c" + std::to_string(i));
        ids.push_back(id);
    }
    // the first client speaks again, so the second is now idle longest
    ASSERT_TRUE(clients[0]->SendStrings({"again"}));
    int id = -1;
    ASSERT_EQ(NextMessage(id), "again");

    IpcTestClient next;
    ASSERT_TRUE(Admit(next));
    ASSERT_TRUE(next.SendStrings({"new"}));
    EXPECT_EQ(NextMessage(id), "new");
    Reply(id, "welcome");
    EXPECT_EQ(next.ReadString(), "welcome");
    EXPECT_TRUE(clients[1]->WaitClosed());
    nIpcBuffer reply("x");
    EXPECT_FALSE(server->Send(ids[1], reply));
    Reply(ids[0], "still here");
    EXPECT_EQ(clients[0]->ReadString(), "still here");
}

TEST_F(IpcServerTest, EachPollTakesABoundedShareOfAFloodingClient)
{
    IpcTestClient flood, other;
    int floodId = -1, otherId = -1;
    ASSERT_TRUE(Admit(flood));
    ASSERT_TRUE(flood.SendStrings({"start"}));
    ASSERT_EQ(NextMessage(floodId), "start");
    ASSERT_TRUE(Admit(other));
    ASSERT_TRUE(other.SendStrings({"start"}));
    ASSERT_EQ(NextMessage(otherId), "start");
    std::string bytes;
    const int numFlood = 2000;
    for (int i = 0; i < numFlood; i++) bytes += "f" + std::to_string(i) + '\0';
    ASSERT_TRUE(flood.SendRaw(bytes));
    int id = -1;
    ASSERT_EQ(NextMessage(id), "f0");
    ASSERT_EQ(id, floodId);

    // the other client is heard at once, though most of the flood waits
    ASSERT_TRUE(other.SendStrings({"o"}));
    std::vector<std::string> got = {"f0"};
    nIpcBuffer rest(nIpcFramer::BufferSize);
    while (server->GetMsg(rest, id)) got.emplace_back(rest.GetFirstString());
    EXPECT_LE(got.size(), (size_t)nIpcMiniServer::MaxCommandsPerPoll);
    bool otherHeard = false;
    ASSERT_TRUE(PollUntil([&] {
        int perPoll = 0;
        if (server->Poll())
        {
            nIpcBuffer buf(nIpcFramer::BufferSize);
            int id = -1;
            while (server->GetMsg(buf, id))
            {
                if (id == floodId)
                {
                    got.emplace_back(buf.GetFirstString());
                    perPoll++;
                }
                else
                {
                    EXPECT_LT(got.size(), (size_t)numFlood);
                    otherHeard = true;
                }
            }
        }
        EXPECT_LE(perPoll, nIpcMiniServer::MaxCommandsPerPoll);
        return (got.size() == (size_t)numFlood) && otherHeard;
    }));
    for (int i = 0; i < numFlood; i++) ASSERT_EQ(got[i], "f" + std::to_string(i));
}

TEST_F(IpcServerTest, AConnectionWithoutAHandshakeIsClosedAfterAFewSeconds)
{
    nKernelServer kernel;
    LogWatcher watcher("no handshake within");
    kernel.SetLogHandler(&watcher);
    IpcTestClient idle, admitted;
    ASSERT_TRUE(idle.Connect(server->GetPortNum()));
    ASSERT_TRUE(Admit(admitted));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(PollUntil([&] {
        server->Poll();
        return idle.Socket().WaitReadable(0) == nPlatformSocket::Readable;
    }));
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(idle.ReadString(0), "<closed>");
    EXPECT_GE(waited, nIpcServer::HandshakeTimeout * 0.9);
    EXPECT_TRUE(watcher.Seen());

    // the client that shook hands in time stays
    ASSERT_TRUE(admitted.SendStrings({"still"}));
    int id = -1;
    EXPECT_EQ(NextMessage(id), "still");
    Reply(id, "here");
    EXPECT_EQ(admitted.ReadString(), "here");
    kernel.SetLogHandler(nullptr);
}

TEST_F(IpcServerTest, IdleConnectionsNeverKeepALegitimateClientOut)
{
    nKernelServer kernel;
    LogWatcher watcher("connection accepted");
    kernel.SetLogHandler(&watcher);
    std::vector<std::unique_ptr<IpcTestClient>> idle;
    for (int i = 0; i < nIpcServer::MaxClients; i++)
    {
        idle.push_back(std::make_unique<IpcTestClient>());
        ASSERT_TRUE(idle.back()->Connect(server->GetPortNum()));
        ASSERT_TRUE(PollUntil([&] {
            server->Poll();
            return watcher.Matches() == i + 1;
        }));
    }
    IpcTestClient legit;
    ASSERT_TRUE(Admit(legit));
    ASSERT_TRUE(legit.SendStrings({"hello"}));
    int id = -1;
    EXPECT_EQ(NextMessage(id), "hello");
    Reply(id, "welcome");
    EXPECT_EQ(legit.ReadString(), "welcome");
    // the oldest idle connection made room
    EXPECT_TRUE(idle.front()->WaitClosed());
    kernel.SetLogHandler(nullptr);
}

TEST_F(IpcServerTest, ListenerLinesWaitingForAPollAreBounded)
{
    nKernelServer kernel;
    LogWatcher watcher("more lines of the listener dropped");
    kernel.SetLogHandler(&watcher);
    std::vector<std::unique_ptr<IpcTestClient>> clients;
    for (int i = 0; i < nIpcServer::MaxClients; i++)
    {
        clients.push_back(std::make_unique<IpcTestClient>());
        ASSERT_TRUE(Admit(*clients.back()));
        ASSERT_TRUE(clients.back()->SendStrings({"c"}));
        int id = -1;
        ASSERT_EQ(NextMessage(id), "c");
    }
    server->Poll();
    const int before = watcher.Lines();

    // a program that does not poll meanwhile: each connection makes lines,
    // and each takes the place of the one before (which has not been heard
    // shaking hands)
    std::unique_ptr<IpcTestClient> previous;
    for (int i = 0; i < nIpcServer::MaxLogLines; i++)
    {
        auto client = std::make_unique<IpcTestClient>();
        ASSERT_TRUE(Admit(*client));
        if (previous) ASSERT_TRUE(previous->WaitClosed());
        previous = std::move(client);
    }
    server->Poll();
    EXPECT_TRUE(watcher.Seen());
    EXPECT_EQ(watcher.Lines() - before, nIpcServer::MaxLogLines + 1);
    kernel.SetLogHandler(nullptr);
}

TEST_F(IpcServerTest, ShutdownWithConnectedClientsClosesThem)
{
    IpcTestClient a, b, idle;
    ASSERT_TRUE(Admit(a));
    ASSERT_TRUE(Admit(b));
    ASSERT_TRUE(idle.Connect(server->GetPortNum()));
    ASSERT_TRUE(a.SendStrings({"pending"}));
    EXPECT_TRUE(PollUntil([&] { return server->Poll(); }));
    server.reset();
    EXPECT_TRUE(a.WaitClosed());
    EXPECT_TRUE(b.WaitClosed());
    EXPECT_TRUE(idle.WaitClosed());
}

TEST_F(IpcServerTest, APortInUseIsReportedNotFatal)
{
    nIpcServer second(nIpcAddress("127.0.0.1", portName.c_str()));
    EXPECT_FALSE(second.IsListening());
    EXPECT_FALSE(second.Poll());
}

/*
 * AcceptWithoutDescriptors --
 *     Runs a server whose first accepts find no free descriptor, then
 *     gives descriptors back. Results: 0 when the failure was reported and
 *     the waiting client was served afterwards, else the failing step.
 */
int AcceptWithoutDescriptors(int port, const std::string& name)
{
    nKernelServer kernel;
    LogWatcher watcher("accept() failed!");
    kernel.SetLogHandler(&watcher);
    int result = 0;
    {
        nIpcServer srv(nIpcAddress("127.0.0.1", name.c_str()));
        // the sanitizers need descriptors for their first look at a type,
        // so the log handler is used once before they run out
        if (!PollUntil([&] {
                srv.Poll();
                return watcher.Lines() > 0;
            }))
            result = 7;
        rlimit lim = {};
        getrlimit(RLIMIT_NOFILE, &lim);
        rlimit low = lim;
        low.rlim_cur = (rlim_t)dup(0) + 2;
        setrlimit(RLIMIT_NOFILE, &low);
        IpcTestClient client;
        std::vector<int> fillers;
        if (!srv.IsListening()) result = 2;
        else if (!client.Connect(port)) result = 3;
        for (int fd; (fd = dup(0)) >= 0;) fillers.push_back(fd);
        if (!result && !client.SendStrings({"~handshake " + name, "after"})) result = 4;
        if (!result && !PollUntil([&] {
                srv.Poll();
                return watcher.Seen();
            }))
            result = 5;
        for (int fd : fillers) close(fd);
        setrlimit(RLIMIT_NOFILE, &lim);
        if (!result && !PollUntil([&] { return srv.Poll(); })) result = 6;
    }
    kernel.SetLogHandler(nullptr);
    return result;
}

TEST_F(IpcServerTest, AFailedAcceptIsRetriedAndTheListenerGoesOn)
{
    const int port = server->GetPortNum();
    const std::string name = portName;
    server.reset();
    EXPECT_EXIT(exit(AcceptWithoutDescriptors(port, name)), ::testing::ExitedWithCode(0), "accept\\(\\) failed!");
}

/*
 * ConnectAsUser --
 *     Runs in a child process: takes the user id, connects to the port and
 *     shakes hands properly, then sends a command. Results: 0 when the
 *     server closed the connection without a byte of reply, else the
 *     failing step. Only system calls: the parent has threads.
 */
int ConnectAsUser(uid_t uid, int port, const std::string& bytes)
{
    if (0 != setuid(uid)) return 2;
    IpcTestClient client;
    if (!client.Connect(port)) return 3;
    if (!client.SendRaw(bytes)) return 4;
    if (client.Socket().WaitReadable(IpcTestTimeoutMs) != nPlatformSocket::Readable) return 5;
    char buf[64];
    int n = 0;
    return (client.Socket().Receive(buf, sizeof(buf), n) == nPlatformSocket::Received) ? 6 : 0;
}

TEST_F(IpcServerTest, OnlyTheUserWhoRunsTheProgramIsServed)
{
    if (0 != geteuid()) GTEST_SKIP() << "connecting as another user needs root";
    // the watcher outlives the kernel, which lets go of it when it dies,
    // on every way out of the test
    LogWatcher watcher("connection of user 65534 refused");
    nKernelServer kernel;
    kernel.SetLogHandler(&watcher);
    const std::string bytes = "~handshake " + portName + std::string(1, '\0') + "exec id" + std::string(1, '\0');
    const int port = server->GetPortNum();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (0 == child) _exit(ConnectAsUser(65534, port, bytes));
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    // root inside a user namespace may not take another user's id
    if (2 == WEXITSTATUS(status)) GTEST_SKIP() << "this root cannot act as another user";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(PollUntil([&] {
        server->Poll();
        return watcher.Seen();
    }));
    EXPECT_FALSE(server->Poll());

    // the same bytes from this user are a command
    IpcTestClient same;
    ASSERT_TRUE(same.Connect(port));
    ASSERT_TRUE(same.SendRaw(bytes));
    int id = -1;
    EXPECT_EQ(NextMessage(id), "exec id");
    kernel.SetLogHandler(nullptr);
}

TEST_F(IpcServerTest, AnotherUsersRefusedConnectionsAreLoggedAtABoundedRate)
{
    if (0 != geteuid()) GTEST_SKIP() << "connecting as another user needs root";
    LogWatcher watcher("refused");
    nKernelServer kernel;
    kernel.SetLogHandler(&watcher);
    const int port = server->GetPortNum();
    const int attempts = 200;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (0 == child)
    {
        // each attempt waits until the server has closed it: all are refused when the child ends
        if (0 != setuid(65534)) _exit(2);
        for (int i = 0; i < attempts; i++)
        {
            const int step = ConnectAsUser(65534, port, "~handshake x");
            if (step != 0) _exit(10 + step);
        }
        _exit(0);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (2 == WEXITSTATUS(status)) GTEST_SKIP() << "this root cannot act as another user";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    // the owner's client, connecting after all of them, is served
    IpcTestClient same;
    ASSERT_TRUE(Admit(same));
    ASSERT_TRUE(same.SendStrings({"mine"}));
    int id = -1;
    EXPECT_EQ(NextMessage(id), "mine");
    // within a minute only the first refusal is logged
    EXPECT_EQ(watcher.Matches(), 1);
    kernel.SetLogHandler(nullptr);
}

TEST_F(IpcServerTest, AClientOnAnIpv6SocketOfTheUserIsServedToo)
{
    // such a socket reaches the IPv4 port with a mapped address and is
    // listed in the kernel's IPv6 table only
    nPlatformSocket sock(socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!sock.IsValid()) GTEST_SKIP() << "no IPv6 sockets here";
    sockaddr_in6 sa = {};
    sa.sin6_family = AF_INET6;
    sa.sin6_port = htons((uint16_t)server->GetPortNum());
    ASSERT_EQ(inet_pton(AF_INET6, "::ffff:127.0.0.1", &sa.sin6_addr), 1);
    if (0 != connect(sock.GetFd(), reinterpret_cast<const sockaddr*>(&sa), sizeof(sa)))
    {
        GTEST_SKIP() << "no IPv4-mapped addresses here";
    }
    const std::string bytes = "~handshake " + portName + std::string(1, '\0') + "over six" + std::string(1, '\0');
    ASSERT_EQ(sock.Send(bytes.data(), (int)bytes.size()), (int)bytes.size());
    int id = -1;
    EXPECT_EQ(NextMessage(id), "over six");
}
