#ifndef N_REMOTESERVER_H
#define N_REMOTESERVER_H
//------------------------------------------------------------------------------
/**
    @class nRemoteServer
    @ingroup Kernel

    Lets an outside tool run script commands in the program over TCP and
    read their results. The port is named after the application; only
    sockets of the user who runs the program on this machine can connect,
    and only after a handshake that names the port. Each client keeps its
    own current object in the tree while it stays connected.

    Received commands run only when Trigger is called, on the calling
    thread, with the script server's fail-on-error switched off.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "kernel/nautoref.h"
#include "util/nlist.h"

class nIpcServer;
class nScriptServer;

//------------------------------------------------------------------------------
/**
    @class nClientContext
    @ingroup Kernel

    What the remote server keeps per client: its id and its current object.
*/
class nClientContext : public nNode
{
public:
    explicit nClientContext(int id) : clientId(id) {}

    int GetClientId() const { return this->clientId; }
    /// the client's current object (asserted)
    void SetCwd(nRoot* obj)
    {
        n_assert(obj);
        this->cwd.set(obj);
    }
    /// the client's current object, 0 once it has died
    nRoot* GetCwd() const { return this->cwd.get_unsafe(); }

private:
    int clientId;
    nRef<nRoot> cwd;
};

//------------------------------------------------------------------------------
class nRemoteServer : public nRoot
{
public:
    nRemoteServer();

    /// the one remote server
    static nRemoteServer* Instance();

    /// listen on the port of the name; false, with a message, when it cannot
    bool Open(const char* portName);
    /// drop every client and stop listening
    void Close();
    bool IsOpen() const { return this->isOpen; }
    /// run what the clients have sent and answer them
    void Trigger();
    /// the number of clients whose current object is kept
    int GetNumClientContexts() const;

protected:
    ~nRemoteServer() override;

private:
    /// the context of a client, made on first use
    nClientContext* GetClientContext(int clientId);
    /// run one command for a client and reply; false when the server closed meanwhile
    bool RunCommand(int clientId, const char* cmd);
    /// forget the contexts of the clients that are gone
    void DeleteGoneContexts();

    static nRemoteServer* Singleton;

    nAutoRef<nScriptServer> refScriptServer;
    bool isOpen;
    nIpcServer* ipcServer;
    nList clientContexts;
};
#endif
