//------------------------------------------------------------------------------
//  nclass.cc
//------------------------------------------------------------------------------
#include "kernel/nclass.h"
#include "kernel/nobject.h"

#include <cstring>

nClass::nClass(const char* name, nKernelServer* ks, nInitFunc initFunc, nNewFunc newFunc) :
    signalRegistry(this),
    kernelServer(ks),
    superClass(nullptr),
    cmdList(nullptr),
    cmdTable(nullptr),
    scriptCmdList(nullptr),
    refCount(0),
    instanceSize(0),
    singleton(false),
    numObjects(0),
    n_init_ptr(initFunc),
    n_new_ptr(newFunc)
{
    this->SetName(name);
    if (this->n_init_ptr)
    {
        this->n_init_ptr(this, ks);
    }
}

/*
 * DeleteProtoList --
 *     Deletes every prototype of a hash list and the list itself.
 */
static void DeleteProtoList(nHashList* list)
{
    if (!list) return;
    nHashNode* node;
    while ((node = list->RemHead()) != nullptr)
    {
        n_delete(static_cast<nCmdProto*>(node));
    }
    n_delete(list);
}

nClass::~nClass()
{
    if (this->superClass)
    {
        this->superClass->RemSubClass(this);
    }
    n_assert(0 == this->superClass);
    n_assert(0 == this->refCount);
    DeleteProtoList(this->cmdList);
    this->cmdList = nullptr;
    if (this->cmdTable)
    {
        n_delete(this->cmdTable);
        this->cmdTable = nullptr;
    }
    DeleteProtoList(this->scriptCmdList);
    this->scriptCmdList = nullptr;
}

void nClass::RemRef()
{
    n_assert(this->refCount > 0);
    --this->refCount;
}

void nClass::AddSubClass(nClass* cl)
{
    this->AddRef();
    cl->superClass = this;
}

void nClass::RemSubClass(nClass* cl)
{
    this->RemRef();
    cl->superClass = nullptr;
}

/*
 * NewObject --
 *     Runs the module's factory. Results: the object with reference count
 *     1 and its class set; it is neither named nor in the tree. A second
 *     object of a singleton class is refused (0 and a message).
 */
nObject* nClass::NewObject()
{
    for (nClass* cl = this; cl; cl = cl->superClass)
    {
        if (cl->singleton && cl->numObjects > 0)
        {
            n_printf("nClass: an object of class '%s' exists already, there can be only one!\n", cl->GetName());
            return nullptr;
        }
    }
    nObject* obj = static_cast<nObject*>(this->n_new_ptr());
    n_assert(obj);
    obj->AddRef();
    obj->SetClass(this);
    for (nClass* cl = this; cl; cl = cl->superClass)
    {
        ++cl->numObjects;
    }
    return obj;
}

void nClass::ObjectDied()
{
    for (nClass* cl = this; cl; cl = cl->superClass)
    {
        n_assert(cl->numObjects > 0);
        --cl->numObjects;
    }
}

bool nClass::IsA(const char* className) const
{
    n_assert(className);
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        if (strcmp(cl->GetName(), className) == 0) return true;
    }
    return false;
}

//--- script commands ----------------------------------------------------------

/*
 * BeginCmds --
 *     Makes the command list, with 16 buckets per class of the chain.
 */
void nClass::BeginCmds()
{
    n_assert(0 == this->cmdTable);
    n_assert(0 == this->cmdList);
    int numBuckets = 0;
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        numBuckets += 16;
    }
    this->cmdList = n_new(nHashList(numBuckets));
}

void nClass::AddCmd(const char* proto_def, nFourCC id, nCmdProc cmd_proc)
{
    n_assert(proto_def);
    n_assert(id);
    n_assert(cmd_proc);
    n_assert(this->cmdList);
    nCmdProtoNative* cp = n_new(nCmdProtoNative(proto_def, id, cmd_proc));
    n_assert(cp);
    nCmdProto* cmdProto = cp;
    n_assert(cmdProto);
    this->cmdList->AddTail(cmdProto);
}

int nClass::CountCmds() const
{
    int num = 0;
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        if (!cl->cmdList) continue;
        for (nHashNode* node = cl->cmdList->GetHead(); node; node = node->GetSucc())
        {
            ++num;
        }
    }
    return num;
}

/*
 * EndCmds --
 *     Builds the id table over this class's commands and every inherited
 *     one; two commands of the chain with the same id are fatal.
 */
void nClass::EndCmds()
{
    n_assert(0 == this->cmdTable);
    n_assert(this->cmdList);
    const int num = this->CountCmds();
    this->cmdTable = n_new(nKeyArray<nCmdProto*>(num));
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        if (!cl->cmdList) continue;
        for (nHashNode* node = cl->cmdList->GetHead(); node; node = node->GetSucc())
        {
            nCmdProto* proto = static_cast<nCmdProto*>(node);
            this->cmdTable->Add((int)proto->GetId(), proto);
        }
    }
    for (int i = 0; i + 1 < this->cmdTable->Size(); i++)
    {
        nCmdProto* a = this->cmdTable->GetElementAt(i);
        nCmdProto* b = this->cmdTable->GetElementAt(i + 1);
        if (a->GetId() == b->GetId())
        {
            n_error("Command id collision in class '%s'\ncmd '%s' and cmd '%s' both have id '0x%x'\n",
                    this->GetName(), a->GetName(), b->GetName(), (unsigned)a->GetId());
        }
    }
}

void nClass::BeginScriptCmds(int numCmds)
{
    n_assert(!this->scriptCmdList);
    this->scriptCmdList = n_new(nHashList(numCmds));
}

void nClass::AddScriptCmd(nCmdProto* cmdProto)
{
    n_assert(this->scriptCmdList);
    n_assert(cmdProto);
    this->scriptCmdList->AddTail(cmdProto);
}

nCmdProto* nClass::FindCmdByName(const char* name) const
{
    n_assert(name);
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        if (cl->cmdList)
        {
            nHashNode* node = cl->cmdList->Find(name);
            if (node) return static_cast<nCmdProto*>(node);
        }
        if (cl->scriptCmdList)
        {
            nHashNode* node = cl->scriptCmdList->Find(name);
            if (node) return static_cast<nCmdProto*>(node);
        }
    }
    return nullptr;
}

nCmdProto* nClass::FindNativeCmdByName(const char* name) const
{
    n_assert(name);
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        if (cl->cmdList)
        {
            nHashNode* node = cl->cmdList->Find(name);
            if (node) return static_cast<nCmdProto*>(node);
        }
    }
    return nullptr;
}

nCmdProto* nClass::FindScriptCmdByName(const char* name) const
{
    n_assert(name);
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        if (cl->scriptCmdList)
        {
            nHashNode* node = cl->scriptCmdList->Find(name);
            if (node) return static_cast<nCmdProto*>(node);
        }
    }
    return nullptr;
}

/*
 * FindCmdById --
 *     The first class of the chain that has a table answers; the table
 *     already holds the inherited commands.
 */
nCmdProto* nClass::FindCmdById(nFourCC id) const
{
    for (const nClass* cl = this; cl; cl = cl->superClass)
    {
        if (cl->cmdTable)
        {
            nCmdProto* proto = nullptr;
            if (cl->cmdTable->Find((int)id, proto)) return proto;
            return nullptr;
        }
    }
    return nullptr;
}
