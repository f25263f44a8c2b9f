//------------------------------------------------------------------------------
//  nremoteserver.cc
//------------------------------------------------------------------------------
#include "kernel/nremoteserver.h"
#include "kernel/nipcserver.h"
#include "kernel/nipcbuffer.h"
#include "kernel/nipcframer.h"
#include "kernel/nscriptserver.h"
#include "kernel/nkernelserver.h"

nRemoteServer* nRemoteServer::Singleton = nullptr;

nRemoteServer::nRemoteServer() :
    refScriptServer("/sys/servers/script", "nscriptserver"),
    isOpen(false),
    ipcServer(nullptr)
{
    n_assert(0 == Singleton);
    Singleton = this;
}

nRemoteServer::~nRemoteServer()
{
    if (this->isOpen) this->Close();
    n_assert(0 == this->ipcServer);
    n_assert(Singleton);
    Singleton = nullptr;
}

nRemoteServer* nRemoteServer::Instance()
{
    n_assert(Singleton);
    return Singleton;
}

/*
 * Open --
 *     Results: true when the server listens on the port of the name, on
 *     the loopback address only (a remote command runs with the program's
 *     rights, so no other machine may reach it); false with a message when
 *     the port cannot be had.
 */
bool nRemoteServer::Open(const char* portName)
{
    n_assert(!this->isOpen);
    n_assert(portName);
    n_assert(0 == this->ipcServer);
    this->ipcServer = n_new(nIpcServer(nIpcAddress("127.0.0.1", portName)));
    n_assert(this->ipcServer);
    if (!this->ipcServer->IsListening())
    {
        n_printf("nRemoteServer::Open(): cannot listen on port %d for '%s'!\n", this->ipcServer->GetPortNum(),
                 portName);
        n_delete(this->ipcServer);
        this->ipcServer = nullptr;
        return false;
    }
    this->isOpen = true;
    return true;
}

/*
 * Close --
 *     Side effects: forgets the clients' contexts, closes their
 *     connections and stops listening.
 */
void nRemoteServer::Close()
{
    n_assert(this->isOpen);
    n_assert(this->ipcServer);
    nNode* node;
    while ((node = this->clientContexts.RemHead()) != nullptr)
    {
        n_delete(static_cast<nClientContext*>(node));
    }
    n_delete(this->ipcServer);
    this->ipcServer = nullptr;
    this->isOpen = false;
}

/*
 * GetClientContext --
 *     Results: the client's context; a new one starts at the kernel's
 *     current object. The contexts are those of connected clients only,
 *     no more than the server keeps connections.
 */
nClientContext* nRemoteServer::GetClientContext(int clientId)
{
    n_assert(-1 != clientId);
    for (nNode* node = this->clientContexts.GetHead(); node; node = node->GetSucc())
    {
        nClientContext* ctx = static_cast<nClientContext*>(node);
        if (ctx->GetClientId() == clientId) return ctx;
    }
    n_printf("nRemoteServer: creating new client context!\n");
    nClientContext* ctx = n_new(nClientContext(clientId));
    ctx->SetCwd(kernelServer->GetCwd());
    this->clientContexts.AddTail(ctx);
    return ctx;
}

/*
 * RunCommand --
 *     Results: false when the command closed the server (nothing more of
 *     this trigger may run).
 *     Side effects: runs the command through the script server, within
 *     the time limit of commands from people, with the
 *     client's current object as the kernel's (the root when that object
 *     has died), replies with the result, and keeps the current object the
 *     command left for the client's next command.
 */
bool nRemoteServer::RunCommand(int clientId, const char* cmd)
{
    nClientContext* ctx = this->GetClientContext(clientId);
    kernelServer->PushCwd(ctx->GetCwd());
    nString result;
    if (this->refScriptServer.isvalid())
    {
        this->refScriptServer->RunWithTimeLimit(cmd, result, nScriptServer::UserTimeLimitMs);
    }
    else
    {
        n_printf("nRemoteServer: no script server, command not run!\n");
    }
    if (!this->isOpen)
    {
        kernelServer->PopCwd();
        return false;
    }
    nIpcBuffer reply(nIpcFramer::BufferSize);
    reply.SetString(result.Get());
    this->ipcServer->Send(clientId, reply);
    ctx->SetCwd(kernelServer->GetCwd());
    kernelServer->PopCwd();
    return true;
}

/*
 * DeleteGoneContexts --
 *     Side effects: the contexts of clients whose connection has ended are
 *     deleted.
 */
void nRemoteServer::DeleteGoneContexts()
{
    int clientId = -1;
    while (this->ipcServer->GetGoneClient(clientId))
    {
        for (nNode* node = this->clientContexts.GetHead(); node; node = node->GetSucc())
        {
            nClientContext* ctx = static_cast<nClientContext*>(node);
            if (ctx->GetClientId() == clientId)
            {
                ctx->Remove();
                n_delete(ctx);
                break;
            }
        }
    }
}

int nRemoteServer::GetNumClientContexts() const
{
    int num = 0;
    for (nNode* node = this->clientContexts.GetHead(); node; node = node->GetSucc()) num++;
    return num;
}

/*
 * Trigger --
 *     Side effects: while open, reads every client and runs each command
 *     received, in order, answering each with its result, and forgets the
 *     clients that have gone. Script errors do not stop the program
 *     meanwhile. A command may close or delete the server; the rest then
 *     waits for nobody.
 */
void nRemoteServer::Trigger()
{
    if (!this->isOpen) return;
    n_assert(this->ipcServer);
    this->AddRef();
    const bool scriptFound = this->refScriptServer.isvalid();
    const bool failOnError = scriptFound ? this->refScriptServer->GetFailOnError() : true;
    if (scriptFound) this->refScriptServer->SetFailOnError(false);

    if (this->ipcServer->Poll())
    {
        nIpcBuffer buffer(nIpcFramer::BufferSize);
        int clientId = -1;
        bool open = true;
        while (open && this->ipcServer->GetMsg(buffer, clientId))
        {
            if (!buffer.IsValidString())
            {
                n_printf("nRemoteServer: BROKEN MESSAGE RECEIVED!\n");
                this->ipcServer->Send(clientId, nIpcBuffer("### comm error!"));
                continue;
            }
            for (const char* str = buffer.GetFirstString(); str && open; str = buffer.GetNextString())
            {
                open = this->RunCommand(clientId, str);
            }
        }
    }

    // after the commands: a client that left may still have had some queued
    if (this->isOpen) this->DeleteGoneContexts();

    if (scriptFound && this->refScriptServer.isvalid()) this->refScriptServer->SetFailOnError(failOnError);
    this->Release();
}
