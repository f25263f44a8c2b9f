#ifndef TESTS_KERNEL_IPCTESTCLIENT_H
#define TESTS_KERNEL_IPCTESTCLIENT_H
//------------------------------------------------------------------------------
//  A remote-control client on the loopback address for tests, and a
//  bounded wait for conditions that another thread or process makes true.
//------------------------------------------------------------------------------
#include "platform/nplatformsocket.h"
#include "kernel/nloghandler.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include <arpa/inet.h>
#include <chrono>
#include <string>
#include <thread>

/// a generous bound for anything on the loopback to happen
constexpr int IpcTestTimeoutMs = 10000;

/// polls the condition until it holds or the bound runs out; whether it held
template <class PRED>
bool PollUntil(PRED pred, int timeoutMs = IpcTestTimeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred())
    {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

/// a log handler that echoes to standard error and notes when a text shows up
class LogWatcher : public nLogHandler
{
public:
    explicit LogWatcher(const char* text) : watched(text) {}
    void Print(const char* msg, va_list args) override
    {
        char buf[1024];
        vsnprintf(buf, sizeof(buf), msg, args);
        fputs(buf, stderr);
        if (strstr(buf, this->watched))
        {
            this->seen = true;
            this->matches++;
        }
        this->lines++;
    }
    void Message(const char* msg, va_list args) override { this->Print(msg, args); }
    bool Seen() const { return this->seen; }
    int Lines() const { return this->lines; }
    /// the lines that held the text
    int Matches() const { return this->matches; }

private:
    const char* watched;
    std::atomic<bool> seen{false};
    std::atomic<int> lines{0};
    std::atomic<int> matches{0};
};

class IpcTestClient
{
public:
    /// connect to the port on 127.0.0.1
    bool Connect(int port)
    {
        this->sock = nPlatformSocket::NewTcp();
        nPlatformInetAddr addr;
        addr.ip = 0x7f000001u;  // 127.0.0.1
        addr.port = (uint16_t)port;
        return this->sock.IsValid() && this->sock.Connect(addr);
    }
    /// send bytes as they are (zero bytes included)
    bool SendRaw(const std::string& bytes)
    {
        return this->sock.Send(bytes.data(), (int)bytes.size()) == (int)bytes.size();
    }
    /// send strings, each with its terminator, in one chunk
    bool SendStrings(std::initializer_list<std::string> strs)
    {
        std::string bytes;
        for (const std::string& s : strs)
        {
            bytes += s;
            bytes += '\0';
        }
        return this->SendRaw(bytes);
    }
    /// the next zero-terminated reply, "<closed>" or "<timeout>"
    std::string ReadString(int timeoutMs = IpcTestTimeoutMs)
    {
        for (;;)
        {
            const size_t zero = this->received.find('\0');
            if (zero != std::string::npos)
            {
                std::string s = this->received.substr(0, zero);
                this->received.erase(0, zero + 1);
                return s;
            }
            if (this->sock.WaitReadable(timeoutMs) != nPlatformSocket::Readable) return "<timeout>";
            char buf[8192];
            int n = 0;
            if (this->sock.Receive(buf, sizeof(buf), n) != nPlatformSocket::Received) return "<closed>";
            this->received.append(buf, (size_t)n);
        }
    }
    /// true once the server has closed the connection
    bool WaitClosed(int timeoutMs = IpcTestTimeoutMs)
    {
        return this->ReadString(timeoutMs) == "<closed>";
    }
    nPlatformSocket& Socket() { return this->sock; }

private:
    nPlatformSocket sock;
    std::string received;
};
#endif
