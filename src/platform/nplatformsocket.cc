//------------------------------------------------------------------------------
//  nplatformsocket.cc
//------------------------------------------------------------------------------
#include "platform/nplatformsocket.h"
#include "platform/nplatformwakeup.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

nPlatformSocket::~nPlatformSocket()
{
    this->Close();
}

nPlatformSocket::nPlatformSocket(nPlatformSocket&& rhs) noexcept :
    fd(rhs.fd)
{
    rhs.fd = -1;
}

nPlatformSocket& nPlatformSocket::operator=(nPlatformSocket&& rhs) noexcept
{
    if (&rhs != this)
    {
        this->Close();
        this->fd = rhs.fd;
        rhs.fd = -1;
    }
    return *this;
}

nPlatformSocket nPlatformSocket::NewTcp()
{
    return nPlatformSocket(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
}

const char* nPlatformSocket::LastError()
{
    return strerror(errno);
}

void nPlatformSocket::Close()
{
    if (this->fd >= 0)
    {
        close(this->fd);
        this->fd = -1;
    }
}

bool nPlatformSocket::SetReuseAddress()
{
    const int on = 1;
    return 0 == setsockopt(this->fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
}

bool nPlatformSocket::SetNonBlocking()
{
    const int flags = fcntl(this->fd, F_GETFL, 0);
    return (flags >= 0) && (0 == fcntl(this->fd, F_SETFL, flags | O_NONBLOCK));
}

bool nPlatformSocket::SetNoDelay()
{
    const int on = 1;
    return 0 == setsockopt(this->fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
}

bool nPlatformSocket::SetAbortiveClose()
{
    const linger l = {1, 0};
    return 0 == setsockopt(this->fd, SOL_SOCKET, SO_LINGER, &l, sizeof(l));
}

namespace
{

sockaddr_in ToSockaddr(const nPlatformInetAddr& addr)
{
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(addr.port);
    sa.sin_addr.s_addr = htonl(addr.ip);
    return sa;
}

}  // namespace

bool nPlatformSocket::Bind(const nPlatformInetAddr& addr)
{
    const sockaddr_in sa = ToSockaddr(addr);
    return 0 == bind(this->fd, reinterpret_cast<const sockaddr*>(&sa), sizeof(sa));
}

/*
 * ResolveIpv4 --
 *     Results: the number of addresses stored (host order).
 *     Side effects: may ask the system's resolver.
 */
int nPlatformSocket::ResolveIpv4(const char* name, uint32_t* addrs, int max)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (0 != getaddrinfo(name, nullptr, &hints, &list)) return 0;
    int num = 0;
    for (const addrinfo* ai = list; ai && num < max; ai = ai->ai_next)
    {
        addrs[num++] = ntohl(reinterpret_cast<const sockaddr_in*>(ai->ai_addr)->sin_addr.s_addr);
    }
    freeaddrinfo(list);
    return num;
}

bool nPlatformSocket::LocalHostName(char* buf, int size)
{
    if (size <= 0 || 0 != gethostname(buf, (size_t)size)) return false;
    buf[size - 1] = 0;
    return true;
}

void nPlatformSocket::FormatIpv4(uint32_t ip, char* buf, int size)
{
    in_addr inAddr = {};
    inAddr.s_addr = htonl(ip);
    if (!inet_ntop(AF_INET, &inAddr, buf, (socklen_t)size) && size > 0) buf[0] = 0;
}

bool nPlatformSocket::Listen(int backlog)
{
    return 0 == listen(this->fd, backlog);
}

/*
 * Accept --
 *     Results: the accepted connection, or an invalid socket (errno set).
 */
nPlatformSocket nPlatformSocket::Accept()
{
    int res;
    do
    {
        res = accept4(this->fd, nullptr, nullptr, SOCK_CLOEXEC);
    } while ((res < 0) && (EINTR == errno));
    return nPlatformSocket(res);
}

bool nPlatformSocket::Connect(const nPlatformInetAddr& addr)
{
    const sockaddr_in sa = ToSockaddr(addr);
    int res;
    do
    {
        res = connect(this->fd, reinterpret_cast<const sockaddr*>(&sa), sizeof(sa));
    } while ((res < 0) && (EINTR == errno));
    return 0 == res;
}

/*
 * Send --
 *     Results: the number of bytes sent (possibly fewer than size on a
 *     non-blocking socket), -1 on failure. A closed peer gives -1, never
 *     SIGPIPE.
 */
int nPlatformSocket::Send(const void* data, int size)
{
    ssize_t res;
    do
    {
        res = send(this->fd, data, (size_t)size, MSG_NOSIGNAL);
    } while ((res < 0) && (EINTR == errno));
    return (int)res;
}

/*
 * Receive --
 *     Results: what the receive found; numBytes holds the count when bytes
 *     arrived.
 */
nPlatformSocket::RecvStatus nPlatformSocket::Receive(void* buf, int size, int& numBytes)
{
    ssize_t res;
    do
    {
        res = recv(this->fd, buf, (size_t)size, 0);
    } while ((res < 0) && (EINTR == errno));
    numBytes = 0;
    if (res > 0)
    {
        numBytes = (int)res;
        return Received;
    }
    if (0 == res) return Closed;
    return ((EAGAIN == errno) || (EWOULDBLOCK == errno)) ? WouldBlock : Failed;
}

void nPlatformSocket::ShutdownRead()
{
    if (this->fd >= 0) shutdown(this->fd, SHUT_RD);
}

void nPlatformSocket::ShutdownBoth()
{
    if (this->fd >= 0) shutdown(this->fd, SHUT_RDWR);
}

int nPlatformSocket::GetLocalPort() const
{
    sockaddr_in addr = {};
    socklen_t len = sizeof(addr);
    if (0 != getsockname(this->fd, reinterpret_cast<sockaddr*>(&addr), &len)) return 0;
    return ntohs(addr.sin_port);
}

/*
 * WaitReadable --
 *     Results: Readable when the socket has data or a connection waiting,
 *     Woken when the wakeup was signalled first, TimedOut, or WaitFailed.
 *     A signal interrupting the wait restarts it with the full time.
 */
nPlatformSocket::WaitStatus nPlatformSocket::WaitReadable(int timeoutMs, const nPlatformWakeup* wakeup) const
{
    pollfd fds[2] = {{this->fd, POLLIN, 0}, {wakeup ? wakeup->GetFd() : -1, POLLIN, 0}};
    int res;
    do
    {
        res = poll(fds, wakeup ? 2 : 1, timeoutMs);
    } while ((res < 0) && (EINTR == errno));
    if (res < 0) return WaitFailed;
    if (0 == res) return TimedOut;
    if (wakeup && (fds[1].revents & POLLIN)) return Woken;
    return Readable;
}
