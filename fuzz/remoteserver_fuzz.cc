//------------------------------------------------------------------------------
//  Fuzzes the remote server's connection layer on real loopback sockets:
//  the input is a script of client steps (connect, handshake, send bytes,
//  close, reset, read replies) and of frames of the program. The script
//  server is a small fake whose commands move the client's current object,
//  make and delete objects and close the remote server. Whatever happens,
//  nothing may crash, and once every client has gone the server keeps no
//  context for any of them.
//------------------------------------------------------------------------------
#include "kernel/nipcaddress.h"
#include "kernel/nipcframer.h"
#include "kernel/nipcserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nloghandler.h"
#include "kernel/nmodule.h"
#include "kernel/nremoteserver.h"
#include "kernel/nscriptserver.h"
#include "platform/nplatformsocket.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>

namespace
{

/// "sel PATH", "new PATH" and "delete PATH" (under /fuzz), "close", "long"; echoes the rest
class nFuzzScriptServer : public nScriptServer
{
public:
    bool Run(const char* str, nString& result) override
    {
        const std::string cmd(str);
        nKernelServer* ks = nKernelServer::Instance();
        if (cmd.rfind("sel ", 0) == 0)
        {
            nRoot* obj = ks->Lookup(cmd.substr(4).c_str());
            if (obj) ks->SetCwd(obj);
            result = obj ? obj->GetFullName().Get() : "";
        }
        else if (cmd.rfind("new /fuzz/", 0) == 0)
        {
            ks->New("nroot", cmd.substr(4).c_str());
        }
        else if (cmd.rfind("delete /fuzz/", 0) == 0)
        {
            nRoot* obj = ks->Lookup(cmd.substr(7).c_str());
            if (obj) obj->Release();
        }
        else if (cmd == "close")
        {
            nRemoteServer::Instance()->Close();
        }
        else if (cmd == "long")
        {
            result = std::string(2 * nIpcFramer::BufferSize, 'x').c_str();
        }
        else
        {
            result = cmd.c_str();
        }
        return true;
    }
};

N_IMPLEMENT_MODULE(nfuzzscriptserver, nFuzzScriptServer, "nscriptserver", nullptr)

void fuzz_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nfuzzscriptserver);
}

/// keeps the log quiet and counts the connections the listener accepted
class AcceptCounter : public nLogHandler
{
public:
    void Print(const char* msg, va_list args) override
    {
        char buf[512];
        vsnprintf(buf, sizeof(buf), msg, args);
        if (strstr(buf, "connection accepted")) this->accepted++;
    }
    void Message(const char* msg, va_list args) override { this->Print(msg, args); }
    void Error(const char* msg, va_list args) override { this->Print(msg, args); }
    std::atomic<int> accepted{0};
};

/// a generous bound for anything on the loopback to happen
constexpr auto Patience = std::chrono::seconds(5);

/// frames of the program until the predicate holds or patience runs out
template <class PRED>
bool TriggerUntil(nRemoteServer* remote, PRED pred)
{
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    while (!pred())
    {
        if (std::chrono::steady_clock::now() > deadline) return false;
        remote->Trigger();
        std::this_thread::yield();
    }
    return true;
}

struct World
{
    World() : ks({fuzz_package})
    {
        this->ks.SetLogHandler(&this->log);
        this->ks.New("nfuzzscriptserver", "/sys/servers/script");
        this->ks.New("nroot", "/fuzz");
        this->remote = static_cast<nRemoteServer*>(this->ks.Lookup("/sys/servers/remote"));
        for (int i = 0; (i < 100) && !this->remote->IsOpen(); i++)
        {
            this->portName = "remotefuzz-" + std::to_string(getpid()) + "-" + std::to_string(i);
            this->remote->Open(this->portName.c_str());
        }
        if (!this->remote->IsOpen()) __builtin_trap();
        this->port = nIpcAddress::PortFromName(this->portName.c_str());
    }

    AcceptCounter log;
    nKernelServer ks;
    nRemoteServer* remote = nullptr;
    std::string portName;
    int port = 0;
};

/// more clients than the server has slots, so that they push each other out
constexpr int NumClients = nIpcServer::MaxClients + 4;

void SendBytes(nPlatformSocket& sock, const std::string& bytes)
{
    if (sock.IsValid()) sock.Send(bytes.data(), (int)bytes.size());
}

void DrainReplies(nPlatformSocket& sock)
{
    char buf[4096];
    int n = 0;
    while (sock.IsValid() && (sock.WaitReadable(0) == nPlatformSocket::Readable) &&
           (sock.Receive(buf, sizeof(buf), n) == nPlatformSocket::Received))
    {
    }
}

/*
 * Connect --
 *     Side effects: the client connects and, when the server is open,
 *     waits until the listener has taken it (so that a burst never
 *     overruns the small backlog, which would make connects wait for the
 *     system's retry).
 */
void Connect(World& w, nPlatformSocket& sock)
{
    if (sock.IsValid()) return;
    sock = nPlatformSocket::NewTcp();
    nPlatformInetAddr addr;
    addr.ip = 0x7f000001u;  // 127.0.0.1
    addr.port = (uint16_t)w.port;
    const int before = w.log.accepted;
    if (!sock.Connect(addr))
    {
        sock.Close();
        return;
    }
    TriggerUntil(w.remote, [&] { return !w.remote->IsOpen() || w.log.accepted > before; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static World* world = new World();
    World& w = *world;
    if (!w.remote->IsOpen() && !w.remote->Open(w.portName.c_str())) __builtin_trap();

    nPlatformSocket clients[NumClients];
    size_t pos = 0;
    // each step: what to do (low 3 bits) with its detail (the rest), then which client
    while (pos + 2 <= size)
    {
        const uint8_t what = data[pos] & 7;
        const uint8_t detail = data[pos] >> 3;
        nPlatformSocket& sock = clients[data[pos + 1] % NumClients];
        pos += 2;
        switch (what)
        {
            case 0:
                Connect(w, sock);
                break;
            case 1:
                SendBytes(sock, "~handshake " + w.portName + std::string(1, '\0'));
                break;
            case 2:
            {
                // the next detail * 8 + 1 bytes as they are
                const size_t len = (size_t)detail * 8 + 1;
                const size_t take = (len < size - pos) ? len : size - pos;
                SendBytes(sock, std::string(reinterpret_cast<const char*>(data + pos), take));
                pos += take;
                break;
            }
            case 3:
                sock.Close();
                break;
            case 4:
                sock.SetAbortiveClose();
                sock.Close();
                break;
            case 5:
                for (int i = 0; i <= detail; i++) w.remote->Trigger();
                break;
            case 6:
                DrainReplies(sock);
                break;
            case 7:
                SendBytes(sock, (detail & 1) ? std::string("~close") + '\0' : std::string("~handshake x") + '\0');
                break;
        }
        if (!w.remote->IsOpen() && !w.remote->Open(w.portName.c_str())) __builtin_trap();
    }

    // every client goes; what the server kept for them must go too
    for (nPlatformSocket& sock : clients)
    {
        sock.SetAbortiveClose();
        sock.Close();
    }
    if (!TriggerUntil(w.remote, [&] { return w.remote->GetNumClientContexts() == 0; })) __builtin_trap();
    return 0;
}
