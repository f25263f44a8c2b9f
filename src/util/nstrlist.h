#ifndef N_STRLIST_H
#define N_STRLIST_H
//------------------------------------------------------------------------------
/**
    @class nStrList
    @ingroup Util

    An nList of named nodes with a linear search by name.
*/
#include <cstring>
#include "kernel/ntypes.h"
#include "util/nlist.h"
#include "util/nstrnode.h"

class nStrList : public nList
{
public:
    /// the first node, 0 when empty
    nStrNode* GetHead() const;
    /// the last node, 0 when empty
    nStrNode* GetTail() const;
    /// link a node at the front
    void AddHead(nStrNode* n);
    /// link a node at the back
    void AddTail(nStrNode* n);
    /// unlink and return the first node, 0 when empty
    nStrNode* RemHead();
    /// unlink and return the last node, 0 when empty
    nStrNode* RemTail();
    /// the first node named str, 0 when none
    nStrNode* Find(const char* str) const;
};

//------------------------------------------------------------------------------
/**
    Results: the first node or 0. Side effects: none.
*/
inline
nStrNode*
nStrList::GetHead() const
{
    return static_cast<nStrNode*>(nList::GetHead());
}

//------------------------------------------------------------------------------
/**
    Results: the last node or 0. Side effects: none.
*/
inline
nStrNode*
nStrList::GetTail() const
{
    return static_cast<nStrNode*>(nList::GetTail());
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: links n at the front.
*/
inline
void
nStrList::AddHead(nStrNode* n)
{
    nList::AddHead(n);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: links n at the back.
*/
inline
void
nStrList::AddTail(nStrNode* n)
{
    nList::AddTail(n);
}

//------------------------------------------------------------------------------
/**
    Results: the former first node, now unlinked, or 0.
    Side effects: the list loses its first node.
*/
inline
nStrNode*
nStrList::RemHead()
{
    return static_cast<nStrNode*>(nList::RemHead());
}

//------------------------------------------------------------------------------
/**
    Results: the former last node, now unlinked, or 0.
    Side effects: the list loses its last node.
*/
inline
nStrNode*
nStrList::RemTail()
{
    return static_cast<nStrNode*>(nList::RemTail());
}

//------------------------------------------------------------------------------
/**
    Results: the first node from the head whose name equals str
    (case-sensitive), 0 when none does.
    Side effects: every node passed must have a name, which is asserted.
*/
inline
nStrNode*
nStrList::Find(const char* str) const
{
    n_assert(str);
    for (nStrNode* n = this->GetHead(); n; n = n->GetSucc())
    {
        const char* const nodeName = n->GetName();
        n_assert(nodeName);
        if (0 == strcmp(str, nodeName))
        {
            return n;
        }
    }
    return 0;
}

//------------------------------------------------------------------------------
#endif
