//------------------------------------------------------------------------------
//  The remote-control protocol without sockets: framing and handshake,
//  string buffers and addresses.
//------------------------------------------------------------------------------
#include "kernelfixture.h"

#include "kernel/nipcaddress.h"
#include "kernel/nipcbuffer.h"
#include "kernel/nipcframer.h"

#include <arpa/inet.h>
#include <string>
#include <vector>

namespace
{

std::string Strings(std::initializer_list<std::string> strs)
{
    std::string bytes;
    for (const std::string& s : strs)
    {
        bytes += s;
        bytes += '\0';
    }
    return bytes;
}

/// feeds the chunks in turn; the keep result of each and all commands
struct FeedResult
{
    std::vector<bool> keep;
    std::vector<std::string> commands;
};

FeedResult FeedChunks(nIpcFramer& framer, const std::vector<std::string>& chunks)
{
    FeedResult result;
    for (const std::string& chunk : chunks)
    {
        nArray<nString> cmds;
        const int taken = framer.Feed(chunk.data(), (int)chunk.size(), cmds);
        EXPECT_EQ(taken, (int)chunk.size());
        result.keep.push_back(framer.IsOpen());
        for (const nString& c : cmds) result.commands.emplace_back(c.Get());
    }
    return result;
}

}  // namespace

TEST(nIpcFramerTest, HandshakeAdmitsTheClientAndQueuesItsCommands)
{
    struct
    {
        const char* what;
        std::vector<std::string> chunks;
        std::vector<bool> keep;
        std::vector<std::string> commands;
    } cases[] = {
        {"handshake and command in one chunk", {Strings({"~handshake Boxing", "dir"})}, {true}, {"dir"}},
        {"two commands keep their order", {Strings({"~handshake Boxing", "a", "b"})}, {true}, {"a", "b"}},
        {"handshake first, commands later", {Strings({"~handshake Boxing"}), Strings({"sel /sys"})}, {true, true}, {"sel /sys"}},
        {"another port name refuses", {Strings({"~handshake Other", "dir"})}, {false}, {}},
        {"a longer name refuses", {Strings({"~handshake BoxingX", "dir"})}, {false}, {}},
        {"commands before the handshake are dropped", {Strings({"dir", "~handshake Boxing", "x"})}, {true}, {"x"}},
        {"a command alone refuses", {Strings({"dir"})}, {false}, {}},
        {"only the word after the handshake counts", {Strings({"~handshake Boxing extra", "x"})}, {true}, {"x"}},
        {"~close ends the client", {Strings({"~handshake Boxing", "a", "~close", "b"})}, {false}, {"a"}},
        {"the first word must be exact", {Strings({"~handshakeBoxing", "a"})}, {false}, {}},
        {"an empty command is a command", {Strings({"~handshake Boxing", ""})}, {true}, {""}},
    };
    for (const auto& c : cases)
    {
        nIpcFramer framer("Boxing");
        const FeedResult r = FeedChunks(framer, c.chunks);
        EXPECT_EQ(r.keep, c.keep) << c.what;
        EXPECT_EQ(r.commands, c.commands) << c.what;
    }
}

TEST(nIpcFramerTest, StringsCutAnywhereAreReassembled)
{
    const std::string stream = Strings({"~handshake Boxing", "first command", "second"});
    for (size_t cut = 0; cut <= stream.size(); cut++)
    {
        nIpcFramer framer("Boxing");
        const FeedResult r = FeedChunks(framer, {stream.substr(0, cut), stream.substr(cut)});
        EXPECT_EQ(r.commands, (std::vector<std::string>{"first command", "second"})) << cut;
        EXPECT_EQ(r.keep, (std::vector<bool>{true, true})) << cut;
    }
    // byte by byte
    nIpcFramer framer("Boxing");
    std::vector<std::string> bytes;
    for (char ch : stream) bytes.emplace_back(1, ch);
    const FeedResult r = FeedChunks(framer, bytes);
    EXPECT_EQ(r.commands, (std::vector<std::string>{"first command", "second"}));
}

TEST(nIpcFramerTest, AnUnfinishedStringWaitsForItsEnd)
{
    nIpcFramer framer("Boxing");
    const FeedResult r = FeedChunks(framer, {Strings({"~handshake Boxing"}) + "di", std::string("r")});
    EXPECT_TRUE(r.commands.empty());
    EXPECT_EQ(r.keep, (std::vector<bool>{true, true}));
    nArray<nString> cmds;
    framer.Feed("\0", 1, cmds);
    ASSERT_EQ(cmds.Size(), 1);
    EXPECT_STREQ(cmds[0].Get(), "dir");
}

TEST(nIpcFramerTest, OverlongStringsAreDroppedWithoutLosingTheStream)
{
    const std::string longest(nIpcFramer::BufferSize - 1, 'a');
    const std::string tooLong(nIpcFramer::BufferSize, 'b');
    nIpcFramer framer("Boxing");
    const FeedResult r = FeedChunks(framer, {Strings({"~handshake Boxing", longest, tooLong, "after"})});
    ASSERT_EQ(r.commands.size(), 2u);
    EXPECT_EQ(r.commands[0], longest);
    EXPECT_EQ(r.commands[1], "after");
    EXPECT_EQ(r.keep, std::vector<bool>{true});

    // spread over several receives
    const FeedResult split = FeedChunks(framer, {std::string(3000, 'c'), std::string(3000, 'c'), Strings({"", "next"})});
    EXPECT_EQ(split.commands, std::vector<std::string>{"next"});

    // a client that has not shaken hands may not fill the buffer
    nIpcFramer stranger("Boxing");
    EXPECT_EQ(FeedChunks(stranger, {tooLong}).keep, std::vector<bool>{false});
}

TEST(nIpcFramerTest, ABoundedFeedLeavesTheRestOfTheReceiveForLater)
{
    const std::string stream = Strings({"~handshake Boxing", "a", "b", "c"}) + "d";
    nIpcFramer framer("Boxing");
    std::vector<std::string> got;
    std::vector<int> taken;
    for (int pos = 0; pos < (int)stream.size();)
    {
        nArray<nString> cmds;
        const int n = framer.Feed(stream.data() + pos, (int)stream.size() - pos, cmds, 2);
        ASSERT_GT(n, 0);
        ASSERT_LE(cmds.Size(), 2);
        for (const nString& c : cmds) got.emplace_back(c.Get());
        taken.push_back(n);
        pos += n;
    }
    // the first call stops right after the terminator of "b"
    EXPECT_EQ(taken, (std::vector<int>{(int)Strings({"~handshake Boxing", "a", "b"}).size(), 3}));
    EXPECT_EQ(got, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(framer.IsOpen());
}

TEST(nIpcBufferTest, StringsAreCutToTheBufferAndTerminated)
{
    nIpcBuffer buf(8);
    buf.SetString("0123456789");
    EXPECT_EQ(buf.GetSize(), 8);
    EXPECT_STREQ(buf.GetPointer(), "0123456");
    buf.SetString("");
    EXPECT_EQ(buf.GetSize(), 1);
    EXPECT_TRUE(buf.IsValidString());

    const nIpcBuffer exact("abc");
    EXPECT_EQ(exact.GetMaxSize(), 4);
    EXPECT_EQ(exact.GetSize(), 4);
}

TEST(nIpcBufferTest, StringSequencesAreWalkedOneByOne)
{
    nIpcBuffer buf(16);
    const char data[] = {'a', 'b', 0, 0, 'c', 0};
    buf.Set(data, sizeof(data));
    EXPECT_STREQ(buf.GetFirstString(), "ab");
    EXPECT_STREQ(buf.GetNextString(), "");
    EXPECT_STREQ(buf.GetNextString(), "c");
    EXPECT_EQ(buf.GetNextString(), nullptr);

    buf.Set(data, 5);  // not terminated
    EXPECT_FALSE(buf.IsValidString());
    EXPECT_EQ(buf.GetFirstString(), nullptr);
    buf.Set(data, 0);
    EXPECT_FALSE(buf.IsValidString());

    const char big[32] = {};
    buf.Set(big, sizeof(big));
    EXPECT_EQ(buf.GetSize(), 16);
}

TEST(nIpcAddressTest, PortsComeFromTheNameHash)
{
    EXPECT_EQ(nIpcAddress::PortFromName("Boxing"), 12238);
    EXPECT_EQ(nIpcAddress::PortFromName(""), 12000);
    EXPECT_EQ(nIpcAddress::PortFromName("\xff"), 12000 + 255);
    nIpcAddress addr("127.0.0.1", "Boxing");
    EXPECT_EQ(addr.GetPortNum(), 12238);
    addr.SetPortName("");
    EXPECT_EQ(addr.GetPortNum(), 12000);
}

TEST(nIpcAddressTest, HostWordsGiveAddresses)
{
    struct
    {
        const char* host;
        const char* dotted;
    } cases[] = {{"any", "0.0.0.0"}, {"broadcast", "255.255.255.255"}, {"127.0.0.1", "127.0.0.1"}};
    for (const auto& c : cases)
    {
        nIpcAddress addr(c.host, "Boxing");
        EXPECT_STREQ(addr.GetIpAddrString(), c.dotted) << c.host;
        nPlatformInetAddr sa;
        ASSERT_TRUE(addr.GetInetAddr(sa)) << c.host;
        EXPECT_EQ(sa.port, 12238);
    }
    nIpcAddress addr;
    EXPECT_STREQ(addr.GetHostName(), "localhost");
    addr.SetHostName("127.0.0.2");
    EXPECT_STREQ(addr.GetIpAddrString(), "127.0.0.2");
    addr.SetHostName("any");
    EXPECT_STREQ(addr.GetIpAddrString(), "0.0.0.0");
}

TEST(nIpcAddressTest, PrivateAndMulticastAddressesAreNotInternetAddresses)
{
    struct
    {
        const char* dotted;
        bool internet;
    } cases[] = {
        {"10.0.0.1", false},     {"10.255.0.1", true},   {"172.15.0.1", true},   {"172.16.0.1", false},
        {"172.31.9.9", false},   {"172.32.0.1", true},   {"192.168.1.1", false}, {"192.168.255.1", true},
        {"192.169.0.1", true},   {"8.8.8.8", true},      {"223.0.0.1", true},    {"224.0.0.1", false},
        {"255.255.255.255", false},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(nIpcAddress::IsInternetAddress(ntohl(inet_addr(c.dotted))), c.internet) << c.dotted;
    }
}
