//------------------------------------------------------------------------------
//  nmsgnode.cc
//------------------------------------------------------------------------------
#include "kernel/nmsgnode.h"

#include <cstring>

/*
 * nMsgNode --
 *     Results: none.
 *     Side effects: allocates size bytes and copies the message into them;
 *     a null source or a size below 1 is a fatal assertion.
 */
nMsgNode::nMsgNode(const void* buf, int size) :
    msgBuf(nullptr),
    msgSize(0)
{
    n_assert(buf);
    n_assert(size > 0);
    this->msgBuf = n_malloc(size);
    n_assert(this->msgBuf);
    memcpy(this->msgBuf, buf, size);
    this->msgSize = size;
}

/*
 * ~nMsgNode --
 *     Results: none.
 *     Side effects: frees the copy.
 */
nMsgNode::~nMsgNode()
{
    n_free(this->msgBuf);
    this->msgBuf = nullptr;
}
