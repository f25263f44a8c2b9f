#ifndef N_IPCMINISERVER_H
#define N_IPCMINISERVER_H
//------------------------------------------------------------------------------
/**
    @class nIpcMiniServer
    @ingroup Kernel

    One accepted remote-control connection. Its socket is non-blocking and
    read only on the main thread, from nIpcServer::Poll; complete commands
    go to the server's message list.
*/
#include "util/nnode.h"
#include "kernel/nipcframer.h"
#include "platform/nplatformsocket.h"

class nIpcServer;
class nIpcBuffer;

class nIpcMiniServer : public nNode
{
public:
    /// most receives one poll makes, so that one client cannot starve the rest
    static constexpr int MaxReadsPerPoll = 16;
    /// most commands one poll queues: a client sending faster waits in its
    /// own socket, the program's frame rate does not suffer
    static constexpr int MaxCommandsPerPoll = 4;

    /// a connection of the server on an accepted, non-blocking socket
    nIpcMiniServer(nIpcServer* server, int clientId, nPlatformSocket&& socket);
    ~nIpcMiniServer();
    nIpcMiniServer(const nIpcMiniServer&) = delete;
    nIpcMiniServer& operator=(const nIpcMiniServer&) = delete;

    /// the next connection of the listening socket, waiting for it; an
    /// invalid socket when the accept failed
    static nPlatformSocket Listen(nPlatformSocket& listening);
    /// read what arrived and queue its commands; false: drop the connection
    bool Poll();
    /// send a reply to an admitted client
    bool Send(const nIpcBuffer& buffer);
    int GetClientId() const { return this->clientId; }
    /// true once the client gave the right handshake
    bool IsAdmitted() const { return this->framer.GetHandshake(); }
    /// true when the handshake has not come within the given seconds
    bool IsHandshakeOverdue(double seconds) const;
    /// when the connection was accepted, in seconds of the monotonic clock
    double GetAcceptTime() const { return this->acceptTime; }
    /// when the client last sent anything, in seconds of the monotonic clock
    double GetLastActive() const { return this->lastActive; }
    /// true once a command of the client was queued
    bool HasQueuedCommands() const { return this->queuedCommands; }
    /// the monotonic clock in seconds
    static double Now();

private:
    nIpcServer* ipcServer;
    int clientId;
    nPlatformSocket sock;
    nIpcFramer framer;
    char* recvBuffer;
    /// the received bytes the framer has not taken yet: recvBuffer[recvPos, recvSize)
    int recvPos;
    int recvSize;
    nArray<nString> commands;
    bool broken;
    bool queuedCommands;
    double acceptTime;
    double lastActive;
};
#endif
