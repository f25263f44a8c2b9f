#ifndef N_PLATFORMSOCKET_H
#define N_PLATFORMSOCKET_H
//------------------------------------------------------------------------------
/**
    @class nPlatformSocket
    @ingroup Platform

    One IPv4 TCP socket descriptor, closed when the object dies. Sends
    never raise SIGPIPE; calls interrupted by a signal are repeated.
*/
#include <netinet/in.h>

class nPlatformWakeup;

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
    bool Bind(const sockaddr_in& addr);
    bool Listen(int backlog);
    /// accept a connection (invalid on failure)
    nPlatformSocket Accept();
    bool Connect(const sockaddr_in& addr);
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
    /// wait until readable, woken or timed out (timeoutMs < 0: no limit)
    WaitStatus WaitReadable(int timeoutMs, const nPlatformWakeup* wakeup = nullptr) const;

private:
    int fd = -1;
};
#endif
