//------------------------------------------------------------------------------
//  nplatformsocket.cc
//------------------------------------------------------------------------------
#include "platform/nplatformsocket.h"
#include "platform/nplatformwakeup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
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

namespace
{

/// an endpoint as the kernel's TCP tables print it: each 32-bit word of the
/// address as it lies in memory, in hex, then the port
void FormatTableEndpoint(const uint32_t* words, int numWords, uint16_t port, char* buf, size_t size)
{
    size_t len = 0;
    for (int i = 0; i < numWords && len < size; i++) len += (size_t)snprintf(buf + len, size - len, "%08X", words[i]);
    if (len < size) snprintf(buf + len, size - len, ":%04X", port);
}

/*
 * FindTableOwner --
 *     Results: true when the table (a file of the /proc/net/tcp layout)
 *     has a socket with the local and remote endpoints; uid is then its
 *     owner (the eighth field).
 */
bool FindTableOwner(const char* path, const char* local, const char* remote, uint32_t& uid)
{
    const std::unique_ptr<FILE, int (*)(FILE*)> table(fopen(path, "re"), fclose);
    if (!table) return false;
    char line[1024];
    while (fgets(line, sizeof(line), table.get()))
    {
        char loc[64], rem[64];
        unsigned owner = 0;
        if ((3 == sscanf(line, "%*s %63s %63s %*s %*s %*s %*s %u", loc, rem, &owner)) && (0 == strcmp(loc, local)) &&
            (0 == strcmp(rem, remote)))
        {
            uid = owner;
            return true;
        }
    }
    return false;
}

}  // namespace

/*
 * GetPeerUid --
 *     Results: true, with the owner's uid, when the other end of this
 *     connection is a socket of this machine listed in /proc/net/tcp (an
 *     IPv4 socket) or /proc/net/tcp6 (an IPv6 socket that reached us with
 *     an IPv4-mapped address): its local endpoint is our peer's, its
 *     remote endpoint ours. False when neither table lists it.
 */
bool nPlatformSocket::GetPeerUid(uint32_t& uid) const
{
    sockaddr_in self = {}, peer = {};
    socklen_t selfLen = sizeof(self), peerLen = sizeof(peer);
    if ((0 != getsockname(this->fd, reinterpret_cast<sockaddr*>(&self), &selfLen)) ||
        (0 != getpeername(this->fd, reinterpret_cast<sockaddr*>(&peer), &peerLen)) || (AF_INET != peer.sin_family))
    {
        return false;
    }
    char local[48], remote[48];
    FormatTableEndpoint(&peer.sin_addr.s_addr, 1, ntohs(peer.sin_port), local, sizeof(local));
    FormatTableEndpoint(&self.sin_addr.s_addr, 1, ntohs(self.sin_port), remote, sizeof(remote));
    if (FindTableOwner("/proc/net/tcp", local, remote, uid)) return true;
    const uint32_t peer6[4] = {0, 0, htonl(0xffffu), peer.sin_addr.s_addr};
    const uint32_t self6[4] = {0, 0, htonl(0xffffu), self.sin_addr.s_addr};
    FormatTableEndpoint(peer6, 4, ntohs(peer.sin_port), local, sizeof(local));
    FormatTableEndpoint(self6, 4, ntohs(self.sin_port), remote, sizeof(remote));
    return FindTableOwner("/proc/net/tcp6", local, remote, uid);
}

uint32_t nPlatformSocket::OwnUid()
{
    return (uint32_t)geteuid();
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
