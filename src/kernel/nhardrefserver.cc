//------------------------------------------------------------------------------
//  nhardrefserver.cc
//------------------------------------------------------------------------------
#include "kernel/nhardrefserver.h"
#include "kernel/nhardref.h"
#include "kernel/nkernelserver.h"
#include "kernel/nroot.h"

#include <cstring>

/*
 * ~nHardRefServer --
 *     Results: none.
 *     Side effects: unlinks the pending references (they belong to their
 *     holders) and detaches them from the dying kernel, so a later
 *     Resolve fails its assertion instead of using the kernel's memory.
 */
nHardRefServer::~nHardRefServer()
{
    nStrNode* node;
    while ((node = this->strList.RemHead()) != nullptr)
    {
        static_cast<nHardRefBase*>(node->GetData())->kernelServer = nullptr;
    }
}

/*
 * RegisterHardRef --
 *     Results: none.
 *     Side effects: the reference resolves with the kernel from now on; it
 *     is resolved at once when its object exists, else appended to the
 *     pending list (once). A null or resolved reference, a null kernel or
 *     an empty path is a fatal assertion.
 */
void nHardRefServer::RegisterHardRef(nKernelServer* kernelServer, nHardRefBase* hardRef)
{
    n_assert(hardRef);
    n_assert(!hardRef->isvalid());
    n_assert(kernelServer);
    const nString name = hardRef->GetName();
    n_assert(!name.IsEmpty());
    hardRef->kernelServer = kernelServer;
    if (kernelServer->Lookup(name.Get()))
    {
        hardRef->Resolve();
    }
    else if (!hardRef->strNode.IsLinked())
    {
        this->strList.AddTail(&hardRef->strNode);
    }
}

/*
 * ObjectCreated --
 *     Results: none.
 *     Side effects: every pending reference whose path is exactly the
 *     object's full path is resolved and leaves the list.
 */
void nHardRefServer::ObjectCreated(nRoot* object)
{
    n_assert(object);
    const nString name = object->GetFullName();
    nStrNode* node = this->strList.GetHead();
    while (node)
    {
        nStrNode* next = node->GetSucc();
        if (strcmp(node->GetName(), name.Get()) == 0)
        {
            nHardRefBase* hardRef = static_cast<nHardRefBase*>(node->GetData());
            n_assert(hardRef);
            hardRef->Resolve();
        }
        node = next;
    }
}

//--- nHardRefBase -------------------------------------------------------------

nHardRefBase::nHardRefBase() :
    kernelServer(nullptr)
{
    this->strNode.SetData(this);
}

nHardRefBase::~nHardRefBase()
{
    if (this->strNode.IsLinked())
    {
        this->strNode.Remove();
    }
}

/*
 * SetPath --
 *     Results: none.
 *     Side effects: leaves the pending list; the path is kept for the
 *     next registration.
 */
void nHardRefBase::SetPath(const char* path)
{
    if (this->strNode.IsLinked())
    {
        this->strNode.Remove();
    }
    this->strNode.SetName(path);
}

nString nHardRefBase::GetName() const
{
    nRoot* target = this->GetTargetRoot();
    if (target)
    {
        return target->GetFullName();
    }
    const char* path = this->strNode.GetName();
    return nString(path ? path : "");
}

/*
 * Resolve --
 *     Results: none.
 *     Side effects: for an empty reference with a path: looks the path up
 *     (the object must exist), leaves the pending list, forgets the path
 *     and takes the object as its target. Resolving an unregistered
 *     reference is a fatal assertion.
 */
void nHardRefBase::Resolve()
{
    const char* path = this->strNode.GetName();
    if (this->isvalid() || !path)
    {
        return;
    }
    n_assert(this->kernelServer);
    nRoot* objPointer = this->kernelServer->Lookup(path);
    n_assert(objPointer);
    if (this->strNode.IsLinked())
    {
        this->strNode.Remove();
    }
    this->strNode.SetName("");
    this->SetTargetRoot(objPointer);
}
