//------------------------------------------------------------------------------
//  nobject.cc
//------------------------------------------------------------------------------
#include "kernel/nobject.h"
#include "kernel/nkernelserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdproto.h"
#include "kernel/npersistserver.h"

nKernelServer* nObject::kernelServer = nullptr;

nObject::nObject() :
    instanceClass(nullptr)
{
}

nObject::~nObject()
{
    if (this->instanceClass)
    {
        this->instanceClass->ObjectDied();
    }
}

bool nObject::SaveCmds(nPersistServer*)
{
    return true;
}

int nObject::GetInstanceSize() const
{
    n_assert(this->instanceClass);
    return this->instanceClass->GetInstanceSize();
}

bool nObject::IsA(const char* className) const
{
    const nClass* cl = kernelServer ? kernelServer->FindClass(className) : nullptr;
    return cl ? this->IsA(cl) : false;
}

bool nObject::IsA(const nClass* cl) const
{
    for (const nClass* actClass = this->instanceClass; actClass; actClass = actClass->GetSuperClass())
    {
        if (actClass == cl) return true;
    }
    return false;
}

bool nObject::IsInstanceOf(const nClass* cl) const
{
    return cl == this->instanceClass;
}

bool nObject::Dispatch(nCmd* cmd)
{
    n_assert(cmd->GetProto());
    cmd->Rewind();
    cmd->GetProto()->Dispatch((void*)this, cmd);
    cmd->Rewind();
    return true;
}

/*
 * GetCmdProtos --
 *     Appends a node per native command of the class and its superclasses,
 *     the class's own first, each class's in registration order. The nodes
 *     point at the prototypes; the caller deletes them.
 */
void nObject::GetCmdProtos(nHashList* cmdList)
{
    for (nClass* cl = this->instanceClass; cl; cl = cl->GetSuperClass())
    {
        nHashList* list = cl->GetCmdList();
        if (!list) continue;
        for (nHashNode* node = list->GetHead(); node; node = node->GetSucc())
        {
            // the data is the prototype itself, not its hash-node part
            // (which does not start at the prototype's address)
            nHashNode* entry = n_new(nHashNode(node->GetName()));
            entry->SetData(static_cast<nCmdProto*>(node));
            cmdList->AddTail(entry);
        }
    }
}

/*
 * SaveAs --
 *     Saves the object (without children) through the persistence server.
 * Results: SaveCmds' result; false when there is no persistence server.
 */
bool nObject::SaveAs(const char* name)
{
    n_assert(name);
    nPersistServer* ps = kernelServer->GetPersistServer();
    if (!ps)
    {
        n_printf("nObject::SaveAs(): no persistence server!\n");
        return false;
    }
    if (!ps->BeginObject(this, name, false))
    {
        // the file could not be created: outside trouble, not a reason to stop
        n_printf("nObject::SaveAs(): BeginObject() failed!\n");
        return false;
    }
    const bool retval = this->SaveCmds(ps);
    // a save whose file could not be completed is a failed save
    const bool ended = ps->EndObject(false);
    return retval && ended;
}

nObject* nObject::Clone(const char* name)
{
    nPersistServer* ps = kernelServer->GetPersistServer();
    if (!ps)
    {
        n_printf("nObject::Clone(): no persistence server!\n");
        return nullptr;
    }
    const nPersistServer::nSaveMode oldMode = ps->GetSaveMode();
    ps->SetSaveMode(nPersistServer::SAVEMODE_CLONE);
    nObject* clone = nullptr;
    if (ps->BeginObject(this, name, false))
    {
        this->SaveCmds(ps);
        ps->EndObject(false);
        clone = ps->GetClone();
    }
    else
    {
        n_printf("nObject::Clone(): BeginObject() failed!\n");
    }
    ps->SetSaveMode(oldMode);
    return clone;
}
