#ifndef N_PLATFORMSOCKET_H
#define N_PLATFORMSOCKET_H
//------------------------------------------------------------------------------
/**
    @class nPlatformSocket
    @ingroup Platform

    One IPv4 TCP socket descriptor, closed when the object dies. Sends
    never raise SIGPIPE; calls interrupted by a signal are repeated.
*/
#include <cstdint>

class nPlatformWakeup;

/// an IPv4 address and port, both in host byte order
struct nPlatformInetAddr
{
    uint32_t ip = 0;
    uint16_t port = 0;
};

class nPlatformSocket
{
public:
    /// what a receive found
    enum RecvStatus
    {
        Received,    ///< bytes arrived
        Closed,      ///< the peer closed the connection in order
        WouldBlock,  ///< nothing there yet on a non-blocking socket
        Failed,      ///< a hard error: the connection is unusable
    };
    /// what a wait found
    enum WaitStatus
    {
        Readable,
        Woken,
        TimedOut,
        WaitFailed,
    };

    /// no socket
    nPlatformSocket() = default;
    /// take over a descriptor
    explicit nPlatformSocket(int fd) : fd(fd) {}
    ~nPlatformSocket();
    nPlatformSocket(nPlatformSocket&& rhs) noexcept;
    nPlatformSocket& operator=(nPlatformSocket&& rhs) noexcept;
    nPlatformSocket(const nPlatformSocket&) = delete;
    nPlatformSocket& operator=(const nPlatformSocket&) = delete;

    /// a new TCP socket (invalid on failure)
    static nPlatformSocket NewTcp();
    /// the text of the last failed call on this thread
    static const char* LastError();
    /// the IPv4 addresses of a host name or dotted address, at most max of
    /// them, in the resolver's order; the number found (0 when none)
    static int ResolveIpv4(const char* name, uint32_t* addrs, int max);
    /// this machine's host name; false when it cannot be had
    static bool LocalHostName(char* buf, int size);
    /// the dotted text of an address into buf (at least 16 bytes)
    static void FormatIpv4(uint32_t ip, char* buf, int size);

    bool IsValid() const { return this->fd >= 0; }
    int GetFd() const { return this->fd; }
    /// close the descriptor now
    void Close();

    bool SetReuseAddress();
    bool SetNonBlocking();
    /// send small writes at once instead of gathering them
    bool SetNoDelay();
    /// abort the connection on close instead of a graceful shutdown
    bool SetAbortiveClose();
    bool Bind(const nPlatformInetAddr& addr);
    bool Listen(int backlog);
    /// accept a connection (invalid on failure)
    nPlatformSocket Accept();
    bool Connect(const nPlatformInetAddr& addr);
    /// send bytes; the count sent, -1 on failure
    int Send(const void* data, int size);
    /// receive at most size bytes; numBytes is set when Received
    RecvStatus Receive(void* buf, int size, int& numBytes);
    /// stop receiving
    void ShutdownRead();
    /// stop sending and receiving
    void ShutdownBoth();
    /// the local port in host order, 0 when unknown
    int GetLocalPort() const;
    /// the user owning the socket at the other end of this connection, as
    /// the kernel's TCP tables name it; false when it is no socket of this
    /// machine or has gone
    bool GetPeerUid(uint32_t& uid) const;
    /// the user this process acts as, who owns the sockets it makes
    static uint32_t OwnUid();
    /// wait until readable, woken or timed out (timeoutMs < 0: no limit)
    WaitStatus WaitReadable(int timeoutMs, const nPlatformWakeup* wakeup = nullptr) const;

private:
    int fd = -1;
};
#endif
