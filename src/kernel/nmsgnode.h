#ifndef N_MSGNODE_H
#define N_MSGNODE_H
//------------------------------------------------------------------------------
/**
    @class nMsgNode
    @ingroup Kernel

    A list node that owns a private copy of a message, so the sender may
    reuse its buffer as soon as the message is put.
*/
#include "util/nnode.h"

class nMsgNode : public nNode
{
public:
    /// copy size bytes from buf
    nMsgNode(const void* buf, int size);
    /// frees the copy
    ~nMsgNode();

    /// the copy
    void* GetMsgPtr() const { return this->msgBuf; }
    /// the size of the copy in bytes
    int GetMsgSize() const { return this->msgSize; }

private:
    void* msgBuf;
    int msgSize;
};
#endif
