#ifndef N_HARDREFSERVER_H
#define N_HARDREFSERVER_H
//------------------------------------------------------------------------------
/**
    @class nHardRefServer
    @ingroup Kernel

    Keeps references by path to objects that do not exist yet and resolves
    them when asked. Owned by the kernel server.
*/
#include "util/nstrlist.h"

class nKernelServer;
class nHardRefBase;
class nRoot;

class nHardRefServer
{
public:
    nHardRefServer() = default;
    ~nHardRefServer();
    nHardRefServer(const nHardRefServer&) = delete;
    nHardRefServer& operator=(const nHardRefServer&) = delete;

    /// resolve the reference now, or keep it pending until its object is created
    void RegisterHardRef(nKernelServer* kernelServer, nHardRefBase* hardRef);
    /// resolve every pending reference to the object's path
    void ObjectCreated(nRoot* object);

    /// the pending references
    nStrList* GetPendingList() { return &this->strList; }

private:
    nStrList strList;
};
#endif
