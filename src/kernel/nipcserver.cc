//------------------------------------------------------------------------------
//  nipcserver.cc
//------------------------------------------------------------------------------
#include "kernel/nipcserver.h"
#include "kernel/nipcminiserver.h"
#include "kernel/nipcbuffer.h"
#include "kernel/nthread.h"

#include <cstdio>
#include <cstring>

namespace
{

/// one received command and the client it came from
class nIpcMessage : public nNode
{
public:
    nIpcMessage(int clientId, const char* str) : clientId(clientId), size((int)strlen(str) + 1)
    {
        this->data = (char*)n_malloc(this->size);
        n_assert(this->data);
        memcpy(this->data, str, (size_t)this->size);
    }
    ~nIpcMessage() { n_free(this->data); }
    nIpcMessage(const nIpcMessage&) = delete;
    nIpcMessage& operator=(const nIpcMessage&) = delete;

    int clientId;
    int size;
    char* data;
};

/// holds a thread-safe list's lock for a scope
class nListLock
{
public:
    explicit nListLock(nThreadSafeList& l) : list(l) { this->list.Lock(); }
    ~nListLock() { this->list.Unlock(); }
    nListLock(const nListLock&) = delete;
    nListLock& operator=(const nListLock&) = delete;

private:
    nThreadSafeList& list;
};

/// how long the listener rests after a failed accept, so that a lasting
/// failure (no descriptors left) does not spin
const int AcceptRetryMs = 100;

}  // namespace

/*
 * nIpcServer --
 *     Side effects: binds a socket to the address (with SO_REUSEADDR),
 *     listens and starts the listener thread. When any step fails the
 *     reason is printed and IsListening() is false.
 */
nIpcServer::nIpcServer(const nIpcAddress& addr) :
    selfAddr(addr),
    portNum(0),
    listening(false),
    thread(nullptr),
    nextClientId(0),
    numLogLines(0),
    numDroppedLogLines(0)
{
    nPlatformInetAddr sa;
    if (!this->selfAddr.GetInetAddr(sa))
    {
        n_printf("nIpcServer: cannot resolve host '%s'!\n", this->selfAddr.GetHostName());
        return;
    }
    this->portNum = this->selfAddr.GetPortNum();
    this->sock = nPlatformSocket::NewTcp();
    if (!this->sock.IsValid() || !this->wakeup.IsValid() || !this->sock.SetReuseAddress() ||
        !this->sock.Bind(sa) || !this->sock.Listen(Backlog))
    {
        n_printf("nIpcServer: cannot listen on port %d: %s!\n", this->portNum, nPlatformSocket::LastError());
        this->sock.Close();
        return;
    }
    this->listening = true;
    this->thread = n_new(nThread(ListenerThread, nThread::Normal, 0, WakeupListener, &this->msgList, this));
}

/*
 * ~nIpcServer --
 *     Side effects: stops the listener (its wake-up ends the wait at
 *     once, whatever the clients do), closes every client and the
 *     listening socket, and deletes the waiting messages.
 */
nIpcServer::~nIpcServer()
{
    if (this->thread)
    {
        n_delete(this->thread);
        this->thread = nullptr;
    }
    this->FlushLog();
    {
        nListLock lock(this->miniServerList);
        nNode* node;
        while ((node = this->miniServerList.RemHead()) != nullptr)
        {
            n_delete(static_cast<nIpcMiniServer*>(node));
        }
    }
    this->sock.ShutdownRead();
    this->sock.Close();
    nListLock lock(this->msgList);
    nNode* node;
    while ((node = this->msgList.RemHead()) != nullptr)
    {
        n_delete(static_cast<nIpcMessage*>(node));
    }
}

/*
 * Log --
 *     Side effects: keeps a line of the listener thread for FlushLog. The
 *     listener never prints itself: the log handler belongs to the main
 *     thread, which may replace it at any time. At most MaxLogLines wait:
 *     a program that never polls must not grow with every connection
 *     attempt, so further lines are only counted.
 */
void nIpcServer::Log(const char* fmt, ...)
{
    char line[256];
    va_list args;
    va_start(args, fmt);
    vsnprintf(line, sizeof(line), fmt, args);
    va_end(args);
    nListLock lock(this->logList);
    if (this->numLogLines >= MaxLogLines)
    {
        this->numDroppedLogLines++;
        return;
    }
    this->logList.AddTail(n_new(nIpcMessage(-1, line)));
    this->numLogLines++;
}

/*
 * FlushLog --
 *     Side effects: prints the listener's lines kept so far, in order, and
 *     how many were not kept (main thread only).
 */
void nIpcServer::FlushLog()
{
    for (;;)
    {
        nIpcMessage* msg;
        int dropped = 0;
        {
            nListLock lock(this->logList);
            msg = static_cast<nIpcMessage*>(this->logList.RemHead());
            if (msg)
            {
                this->numLogLines--;
            }
            else
            {
                dropped = this->numDroppedLogLines;
                this->numDroppedLogLines = 0;
            }
        }
        if (!msg)
        {
            if (dropped > 0) n_printf("nIpcServer: %d more lines of the listener dropped.\n", dropped);
            return;
        }
        n_printf("%s", msg->data);
        n_delete(msg);
    }
}

/*
 * WakeupListener --
 *     Side effects: the listener's wait ends at once.
 */
void nIpcServer::WakeupListener(nThread* thread)
{
    nIpcServer* self = static_cast<nIpcServer*>(thread->LockUserData());
    self->wakeup.Signal();
    thread->UnlockUserData();
}

/*
 * ListenerThread --
 *     Results: 0.
 *     Side effects: until stopped, accepts clients as they connect. A
 *     failed accept is printed and retried after a pause.
 */
int nIpcServer::ListenerThread(nThread* thread)
{
    nIpcServer* self = static_cast<nIpcServer*>(thread->LockUserData());
    thread->UnlockUserData();
    thread->ThreadStarted();
    self->Log("nIpcServer: listening on port %d...\n", self->portNum);
    while (!thread->ThreadStopRequested())
    {
        const nPlatformSocket::WaitStatus status = self->sock.WaitReadable(-1, &self->wakeup);
        if (thread->ThreadStopRequested()) break;
        if ((nPlatformSocket::Readable == status) && self->AcceptClient()) continue;
        if (nPlatformSocket::Woken == status) self->wakeup.Clear();
        else self->wakeup.Wait(AcceptRetryMs);
    }
    self->Log("nIpcServer: shutting down listener thread.\n");
    thread->ThreadExit();
    return 0;
}

/*
 * RemoveClient --
 *     Side effects: the connection is closed and deleted; when it had sent
 *     commands its id waits for GetGoneClient, so that what the program
 *     keeps for the client can go too. The mini-server list's lock must be
 *     held.
 */
void nIpcServer::RemoveClient(nIpcMiniServer* mini)
{
    if (mini->HasQueuedCommands()) this->goneClients.Append(mini->GetClientId());
    mini->Remove();
    n_delete(mini);
}

/*
 * MakeRoom --
 *     Side effects: when MaxClients connections are there, the oldest one
 *     that has not shaken hands is closed and deleted, or when every one
 *     has, the client that has sent nothing for the longest time: idle
 *     connections must not keep the user out for ever.
 */
void nIpcServer::MakeRoom()
{
    nListLock lock(this->miniServerList);
    nIpcMiniServer* unadmitted = nullptr;
    nIpcMiniServer* idlest = nullptr;
    int numClients = 0;
    for (nNode* node = this->miniServerList.GetHead(); node; node = node->GetSucc())
    {
        numClients++;
        nIpcMiniServer* mini = static_cast<nIpcMiniServer*>(node);
        if (!mini->IsAdmitted())
        {
            if (!unadmitted || mini->GetAcceptTime() < unadmitted->GetAcceptTime()) unadmitted = mini;
        }
        else if (!idlest || mini->GetLastActive() < idlest->GetLastActive())
        {
            idlest = mini;
        }
    }
    if (numClients < MaxClients) return;
    if (unadmitted)
    {
        this->Log("client %d: no handshake, dropped for a new connection.\n", unadmitted->GetClientId());
        this->RemoveClient(unadmitted);
    }
    else if (idlest)
    {
        this->Log("client %d: idle longest, dropped for a new connection.\n", idlest->GetClientId());
        this->RemoveClient(idlest);
    }
}

/*
 * CountRefusal --
 *     Another user can connect as fast as the system lets them: each of
 *     their refused connections must not cost the owner a line of log.
 * Results: true when this refusal is to be logged: the first one, and
 *     one a RefusalReportSeconds after the last logged one.
 * Side effects: the refusals not logged are counted, and the count is
 *     logged with the next refusal that is (listener thread only).
 */
bool nIpcServer::CountRefusal()
{
    const double now = nIpcMiniServer::Now();
    if (this->numRefusals > 0 && now - this->lastRefusalLogged < RefusalReportSeconds)
    {
        this->numRefusalsUnlogged++;
        this->numRefusals++;
        return false;
    }
    if (this->numRefusalsUnlogged > 0)
    {
        this->Log("nIpcServer: %d more connections refused since the last one logged.\n", this->numRefusalsUnlogged);
    }
    this->numRefusalsUnlogged = 0;
    this->numRefusals++;
    this->lastRefusalLogged = now;
    return true;
}

/*
 * AcceptClient --
 *     Results: false when the accept failed.
 *     Side effects: the accepted connection becomes a mini server with the
 *     next client id, making room when the server is full, or is closed
 *     again when its socket belongs to another user or is not known.
 */
bool nIpcServer::AcceptClient()
{
    nPlatformSocket client = nIpcMiniServer::Listen(this->sock);
    if (!client.IsValid())
    {
        this->Log("nIpcMiniServer::Listen(): accept() failed!\n");
        return false;
    }
    // another user must neither run commands nor push the user's clients out
    uint32_t uid = 0;
    if (!client.GetPeerUid(uid))
    {
        if (this->CountRefusal()) this->Log("nIpcServer: owner of the connecting socket unknown, connection refused!\n");
        return true;
    }
    if (uid != nPlatformSocket::OwnUid())
    {
        if (this->CountRefusal())
        {
            this->Log("nIpcServer: connection of user %u refused, only user %u may connect!\n", (unsigned)uid,
                      (unsigned)nPlatformSocket::OwnUid());
        }
        return true;
    }
    // replies are small and each one is awaited: send them at once
    client.SetNoDelay();
    if (!client.SetNonBlocking())
    {
        this->Log("nIpcServer: cannot make socket %d non-blocking, connection refused!\n", client.GetFd());
        return true;
    }
    const int id = this->nextClientId++;
    // the lines come before anything the client's polls may print, and
    // before the connection it replaces is closed
    this->Log("client %d: connection accepted, socket %d.\n", id, client.GetFd());
    this->Log("nIpcServer: a client has connected.\n");
    this->MakeRoom();
    nIpcMiniServer* mini = n_new(nIpcMiniServer(this, id, std::move(client)));
    nListLock lock(this->miniServerList);
    this->miniServerList.AddTail(mini);
    return true;
}

/*
 * Poll --
 *     Results: true when a message waits.
 *     Side effects: every client reads what has arrived; clients that are
 *     gone, refused or without a handshake for HandshakeTimeout seconds
 *     are deleted.
 */
bool nIpcServer::Poll()
{
    this->FlushLog();
    {
        nListLock lock(this->miniServerList);
        nNode* node = this->miniServerList.GetHead();
        while (node)
        {
            nNode* next = node->GetSucc();
            nIpcMiniServer* mini = static_cast<nIpcMiniServer*>(node);
            const bool keep = mini->Poll();
            if (keep && mini->IsHandshakeOverdue(HandshakeTimeout))
            {
                n_printf("client %d: no handshake within %g seconds, connection closed.\n", mini->GetClientId(),
                         HandshakeTimeout);
            }
            if (!keep || mini->IsHandshakeOverdue(HandshakeTimeout)) this->RemoveClient(mini);
            node = next;
        }
    }
    nListLock lock(this->msgList);
    return !this->msgList.IsEmpty();
}

/*
 * GetGoneClient --
 *     Results: false when no client went since the last call; else true
 *     with the id of one that went after sending commands, each id once.
 */
bool nIpcServer::GetGoneClient(int& clientId)
{
    nListLock lock(this->miniServerList);
    if (0 == this->goneClients.Size()) return false;
    clientId = this->goneClients.Back();
    this->goneClients.Erase(this->goneClients.Size() - 1);
    return true;
}

void nIpcServer::QueueMessage(int clientId, const char* str)
{
    nIpcMessage* msg = n_new(nIpcMessage(clientId, str));
    {
        nListLock lock(this->msgList);
        this->msgList.AddTail(msg);
    }
    this->msgList.SignalEvent();
}

bool nIpcServer::GetMsg(nIpcBuffer& buffer, int& clientId)
{
    nIpcMessage* msg;
    {
        nListLock lock(this->msgList);
        msg = static_cast<nIpcMessage*>(this->msgList.RemHead());
    }
    if (!msg) return false;
    buffer.Set(msg->data, msg->size);
    clientId = msg->clientId;
    n_delete(msg);
    return true;
}

bool nIpcServer::Send(int clientId, const nIpcBuffer& buffer)
{
    nListLock lock(this->miniServerList);
    for (nNode* node = this->miniServerList.GetHead(); node; node = node->GetSucc())
    {
        nIpcMiniServer* mini = static_cast<nIpcMiniServer*>(node);
        if (mini->GetClientId() == clientId) return mini->Send(buffer);
    }
    return false;
}
