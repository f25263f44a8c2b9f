//------------------------------------------------------------------------------
//  nipcminiserver.cc
//------------------------------------------------------------------------------
#include "kernel/nipcminiserver.h"
#include "kernel/nipcserver.h"
#include "kernel/nipcbuffer.h"
#include "platform/nplatformclock.h"

nIpcMiniServer::nIpcMiniServer(nIpcServer* server, int clientId, nPlatformSocket&& socket) :
    ipcServer(server),
    clientId(clientId),
    sock(std::move(socket)),
    framer(server->GetPortName()),
    recvBuffer(nullptr),
    recvPos(0),
    recvSize(0),
    commands(MaxCommandsPerPoll, MaxCommandsPerPoll),
    broken(false),
    queuedCommands(false),
    acceptTime(Now()),
    lastActive(acceptTime)
{
    n_assert(this->sock.IsValid());
    this->recvBuffer = (char*)n_malloc(nIpcFramer::BufferSize);
    n_assert(this->recvBuffer);
}

/*
 * ~nIpcMiniServer --
 *     Side effects: closes the connection. Prints nothing: the listener
 *     thread deletes connections too, and only the main thread may print.
 */
nIpcMiniServer::~nIpcMiniServer()
{
    this->sock.ShutdownBoth();
    this->sock.Close();
    n_free(this->recvBuffer);
}

double nIpcMiniServer::Now()
{
    return (double)nPlatformClock::Counter() / (double)nPlatformClock::Frequency();
}

bool nIpcMiniServer::IsHandshakeOverdue(double seconds) const
{
    return !this->IsAdmitted() && (Now() - this->acceptTime) > seconds;
}

/*
 * Listen --
 *     Results: the connection accepted on the listening socket (by the
 *     listener thread, once the socket is readable), invalid when
 *     accept() failed.
 */
nPlatformSocket nIpcMiniServer::Listen(nPlatformSocket& listening)
{
    return listening.Accept();
}

/*
 * Poll --
 *     Results: false when the connection is to be dropped: closed by the
 *     client, failed, refused by the protocol, or broken by a failed send.
 *     Side effects: reads what has arrived and queues the commands of an
 *     admitted client on the server, at most MaxCommandsPerPoll of them
 *     from at most MaxReadsPerPoll receives; received bytes beyond those
 *     commands wait for the next poll, and nothing more is read meanwhile.
 */
bool nIpcMiniServer::Poll()
{
    if (this->broken) return false;
    int numQueued = 0;
    int reads = 0;
    while (numQueued < MaxCommandsPerPoll)
    {
        if (this->recvPos == this->recvSize)
        {
            if (reads++ == MaxReadsPerPoll) break;
            int numBytes = 0;
            switch (this->sock.Receive(this->recvBuffer, nIpcFramer::BufferSize, numBytes))
            {
                case nPlatformSocket::WouldBlock:
                    return true;
                case nPlatformSocket::Closed:
                    n_printf("nIpcMiniServer: connection closed!\n");
                    return false;
                case nPlatformSocket::Failed:
                    n_printf("nIpcMiniServer: receive failed (%s), connection dropped!\n", nPlatformSocket::LastError());
                    return false;
                case nPlatformSocket::Received:
                    break;
            }
            this->recvPos = 0;
            this->recvSize = numBytes;
            this->lastActive = Now();
        }
        this->commands.Clear();
        this->recvPos += this->framer.Feed(this->recvBuffer + this->recvPos, this->recvSize - this->recvPos,
                                           this->commands, MaxCommandsPerPoll - numQueued);
        for (const nString& cmd : this->commands)
        {
            this->ipcServer->QueueMessage(this->clientId, cmd.Get());
        }
        numQueued += this->commands.Size();
        this->queuedCommands = this->queuedCommands || (numQueued > 0);
        if ((this->recvPos == this->recvSize) && !this->framer.IsOpen()) return false;
    }
    return true;
}

/*
 * Send --
 *     Results: true when the buffer was sent whole, or nothing was to be
 *     sent (the client is not admitted); false on a failed or short send,
 *     which also marks the connection to be dropped at the next poll (the
 *     client's stream would be out of step).
 */
bool nIpcMiniServer::Send(const nIpcBuffer& buffer)
{
    if (!this->sock.IsValid() || !this->framer.GetHandshake()) return true;
    if (this->sock.Send(buffer.GetPointer(), buffer.GetSize()) != buffer.GetSize())
    {
        n_printf("nIpcMiniServer::Send() failed!\n");
        this->broken = true;
        return false;
    }
    return true;
}
