//------------------------------------------------------------------------------
//  nplatformwakeup.cc
//------------------------------------------------------------------------------
#include "platform/nplatformwakeup.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

nPlatformWakeup::nPlatformWakeup() :
    fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

nPlatformWakeup::~nPlatformWakeup()
{
    if (this->fd >= 0) close(this->fd);
}

/*
 * Signal --
 *     Side effects: the descriptor reads as readable until Clear.
 */
void nPlatformWakeup::Signal()
{
    const uint64_t one = 1;
    if (this->fd >= 0)
    {
        // a full counter already wakes the waiter, so a failed write loses nothing
        [[maybe_unused]] const ssize_t n = write(this->fd, &one, sizeof(one));
    }
}

/*
 * Clear --
 *     Side effects: consumes every pending signal.
 */
void nPlatformWakeup::Clear()
{
    uint64_t count = 0;
    if (this->fd >= 0)
    {
        [[maybe_unused]] const ssize_t n = read(this->fd, &count, sizeof(count));
    }
}

/*
 * Wait --
 *     Results: true when a signal is pending within timeoutMs.
 *     Side effects: none; the signal stays pending.
 */
bool nPlatformWakeup::Wait(int timeoutMs) const
{
    pollfd pfd = {this->fd, POLLIN, 0};
    int res;
    do
    {
        res = poll(&pfd, 1, timeoutMs);
    } while ((res < 0) && (EINTR == errno));
    return (res > 0) && (pfd.revents & POLLIN);
}
