//------------------------------------------------------------------------------
//  nsignalserver.cc
//------------------------------------------------------------------------------
#include "signals/nsignalserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/ntimeserver.h"

nSignalServer* nSignalServer::Singleton = nullptr;

nSignalServer::nSignalServer() :
    clock(nullptr)
{
    n_assert(0 == Singleton);
    Singleton = this;
    for (Entry& e : this->pool)
    {
        e.node.SetData(&e);
        this->free.AddTail(&e.node);
    }
    nSignalEmitter::SetPostCmdProc(PostThroughServer);
}

/*
 * ~nSignalServer --
 *     Gives the commands still pending back to their prototypes and
 *     empties both lists.
 */
nSignalServer::~nSignalServer()
{
    nNode* node;
    while ((node = this->pending.RemHead()) != nullptr)
    {
        Entry* e = EntryOf(node);
        e->cmd->GetProto()->RelCmd(e->cmd);
        e->cmd = nullptr;
        e->object.invalidate();
    }
    while (this->free.RemHead() != nullptr)
    {
    }
    nSignalEmitter::SetPostCmdProc(nullptr);
    Singleton = nullptr;
}

nSignalServer* nSignalServer::Instance()
{
    n_assert(0 != Singleton);
    return Singleton;
}

bool nSignalServer::PostThroughServer(double relT, nObject* object, nCmd* cmd)
{
    return Instance()->PostCmd(relT, object, cmd);
}

/*
 * Now --
 *     Results: the clock set for the server, else the time server's frame
 *     time, else (no time server) 0.
 */
double nSignalServer::Now() const
{
    if (this->clock) return this->clock();
    if (!kernelServer->GetTimeServerObject()) return 0.0;
    return nTimeServer::Instance()->GetFrameTime();
}

/*
 * PostCmd --
 *     Queues the command before the first pending entry due at the same
 *     time or later (so of equal due times the one posted last runs
 *     first).
 * Results: false when all 512 entries are pending (the command stays the
 *     caller's); true otherwise, and the server owns the command.
 */
bool nSignalServer::PostCmd(double relT, nObject* object, nCmd* cmd)
{
    n_assert(object);
    n_assert(cmd);
    nNode* node = this->free.RemHead();
    if (!node) return false;
    Entry* entry = EntryOf(node);
    entry->due = this->Now() + relT;
    entry->object.set(object);
    entry->cmd = cmd;
    for (nNode* cur = this->pending.GetHead(); cur; cur = cur->GetSucc())
    {
        if (EntryOf(cur)->due >= entry->due)
        {
            node->InsertBefore(cur);
            return true;
        }
    }
    this->pending.AddTail(node);
    return true;
}

/*
 * Trigger --
 *     Runs every entry that is due at the given time, earliest first: the
 *     command is rewound (its inputs were written when it was posted) and
 *     dispatched on its object if the object still lives, then given back
 *     to its prototype. An entry leaves the queue before its command runs,
 *     so the command may post again.
 */
void nSignalServer::Trigger(double time)
{
    nNode* node;
    while ((node = this->pending.GetHead()) != nullptr && time >= EntryOf(node)->due)
    {
        Entry* entry = EntryOf(node);
        node->Remove();
        nCmd* cmd = entry->cmd;
        nObject* object = entry->object.get_unsafe();
        entry->cmd = nullptr;
        entry->object.invalidate();
        this->free.AddTail(node);
        if (object)
        {
            object->Dispatch(cmd);
        }
        cmd->GetProto()->RelCmd(cmd);
    }
}
