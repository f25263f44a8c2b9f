#ifndef N_IPCSERVER_H
#define N_IPCSERVER_H
//------------------------------------------------------------------------------
/**
    @class nIpcServer
    @ingroup Kernel

    The listening side of remote control. A listener thread accepts
    clients and adds them to the mini-server list; the main thread polls
    the clients, takes their commands from the message list and sends the
    replies. Only connections from sockets of the user who runs the
    program are accepted: a remote command runs with the program's rights.
    Lock order: mini-server list, then message list. What the listener has
    to say is printed by the main thread, at the next poll.
*/
#include "util/narray.h"
#include "kernel/nipcaddress.h"
#include "kernel/nthreadsafelist.h"
#include "platform/nplatformsocket.h"
#include "platform/nplatformwakeup.h"

class nIpcBuffer;
class nIpcMiniServer;
class nThread;

class nIpcServer
{
public:
    /// a connection beyond this many takes the place of one that has not
    /// shaken hands, or else of the client idle longest
    static constexpr int MaxClients = 32;
    /// seconds a connection may stay without its handshake
    static constexpr double HandshakeTimeout = 3.0;
    /// pending connections the system queues: enough that the owner's
    /// client is not kept waiting behind a burst of refused ones
    static constexpr int Backlog = 128;
    /// seconds between two logged refusals of connections; those between are counted
    static constexpr double RefusalReportSeconds = 60.0;
    /// listener lines kept until the next poll; more are counted, not kept
    static constexpr int MaxLogLines = 256;

    /// bind to the address and start listening
    explicit nIpcServer(const nIpcAddress& addr);
    /// stop the listener, drop the clients and the waiting messages
    ~nIpcServer();
    nIpcServer(const nIpcServer&) = delete;
    nIpcServer& operator=(const nIpcServer&) = delete;

    /// true when the socket is bound and the listener runs
    bool IsListening() const { return this->listening; }
    /// the port the clients connect to
    int GetPortNum() const { return this->portNum; }
    /// the port name clients must give in their handshake
    const char* GetPortName() const { return this->selfAddr.GetPortName(); }

    /// print the listener's news and read every client; true when a message waits
    bool Poll();
    /// take the oldest message; false when there is none
    bool GetMsg(nIpcBuffer& buffer, int& clientId);
    /// send to a client; false when it is gone or the send failed
    bool Send(int clientId, const nIpcBuffer& buffer);
    /// append a client's command to the message list
    void QueueMessage(int clientId, const char* str);
    /// take the id of a client that is gone after it sent commands; false when there is none
    bool GetGoneClient(int& clientId);

private:
    /// the listener thread: accepts clients until stopped
    static int ListenerThread(nThread* thread);
    /// make the listener leave its wait
    static void WakeupListener(nThread* thread);
    /// accept one waiting client; false when the accept failed
    bool AcceptClient();
    /// count a refused connection; true when it is to be logged
    bool CountRefusal();
    /// drop a connection when a new one would be too many
    void MakeRoom();
    /// unlink and delete a connection (the mini-server list's lock held)
    void RemoveClient(nIpcMiniServer* mini);
    /// keep a log line of the listener thread
    void Log(const char* fmt, ...) N_PRINTF_FORMAT(2, 3);
    /// print the kept log lines
    void FlushLog();

    nIpcAddress selfAddr;
    int portNum;
    bool listening;
    nPlatformSocket sock;
    nPlatformWakeup wakeup;
    nThread* thread;
    int nextClientId;
    nThreadSafeList miniServerList;
    nThreadSafeList msgList;
    nThreadSafeList logList;
    /// clients gone after they sent commands (under the mini-server list's lock)
    nArray<int> goneClients;
    /// lines in logList, and lines not kept since the last flush (both under its lock)
    int numLogLines;
    int numDroppedLogLines;
    /// refused connections, those not logged yet, and when one was last logged (listener thread)
    int numRefusals = 0;
    int numRefusalsUnlogged = 0;
    double lastRefusalLogged = 0.0;
};
#endif
