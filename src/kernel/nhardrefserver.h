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

class nHardRefServer
{
public:
    nHardRefServer() = default;
    ~nHardRefServer();
    nHardRefServer(const nHardRefServer&) = delete;
    nHardRefServer& operator=(const nHardRefServer&) = delete;

    /// the pending references
    nStrList* GetPendingList() { return &this->strList; }

private:
    nStrList strList;
};
#endif
