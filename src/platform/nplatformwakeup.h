#ifndef N_PLATFORMWAKEUP_H
#define N_PLATFORMWAKEUP_H
//------------------------------------------------------------------------------
/**
    @class nPlatformWakeup
    @ingroup Platform

    A descriptor that a thread blocked in a wait for readable sockets can
    also wait on, so that another thread can wake it at once. Signals
    stay pending until cleared.
*/
class nPlatformWakeup
{
public:
    nPlatformWakeup();
    ~nPlatformWakeup();
    nPlatformWakeup(const nPlatformWakeup&) = delete;
    nPlatformWakeup& operator=(const nPlatformWakeup&) = delete;

    /// true when the descriptor could be made
    bool IsValid() const { return this->fd >= 0; }
    /// make the descriptor readable (any thread)
    void Signal();
    /// consume pending signals
    void Clear();
    /// wait at most timeoutMs for a signal (kept pending); true when signalled
    bool Wait(int timeoutMs) const;
    /// the descriptor to wait on
    int GetFd() const { return this->fd; }

private:
    int fd;
};
#endif
