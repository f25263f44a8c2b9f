#ifndef N_LIST_H
#define N_LIST_H
//------------------------------------------------------------------------------
/**
    @class nList
    @ingroup Util

    An intrusive doubly linked list of nNodes. The list object is its own
    pair of end nodes: {head, tail} acts as the head end node and
    {tail, tailPred} as the tail end node, the shared 'tail' field being
    0 as the head end's predecessor and the tail end's successor. Walking
    the list therefore needs no special case for either end, and an empty
    list costs no allocation.

    The list neither owns nor frees its nodes; whoever fills a list empties
    it before the list dies.
*/
#include "kernel/ntypes.h"
#include "util/nnode.h"

class nList
{
public:
    /// an empty list
    nList();
    /// the list must be empty by now
    ~nList();
    nList(const nList&) = delete;
    nList& operator=(const nList&) = delete;

    /// whether no node is linked
    bool IsEmpty() const;
    /// the first node, 0 when empty
    nNode* GetHead() const;
    /// the last node, 0 when empty
    nNode* GetTail() const;
    /// link a node at the front
    void AddHead(nNode* n);
    /// link a node at the back
    void AddTail(nNode* n);
    /// unlink and return the first node, 0 when empty
    nNode* RemHead();
    /// unlink and return the last node, 0 when empty
    nNode* RemTail();

private:
    /// the end node made of the fields head and tail
    nNode* HeadEnd();
    /// the end node made of the fields tail and tailPred
    nNode* TailEnd();

    nNode* head;
    nNode* tail;
    nNode* tailPred;
    /// never read or written: it only gives the tail end node the size of
    /// a whole node, so that no node access through it reaches past the list
    [[maybe_unused]] void* tailData;
};

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the head end node points at the tail end node and back.
*/
inline
nList::nList() :
    head(0),
    tail(0),
    tailPred(0),
    tailData(0)
{
    this->head = this->TailEnd();
    this->tailPred = this->HeadEnd();
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: a list that still holds nodes would leave them pointing
    into freed memory, so that is a fatal assertion.
*/
inline
nList::~nList()
{
    n_assert(0 == this->head->succ);
}

//------------------------------------------------------------------------------
/**
    Results: the end node overlaying the fields head and tail.
    Side effects: none.
*/
inline
nNode*
nList::HeadEnd()
{
    return reinterpret_cast<nNode*>(&this->head);
}

//------------------------------------------------------------------------------
/**
    Results: the end node overlaying the fields tail and tailPred.
    Side effects: none.
*/
inline
nNode*
nList::TailEnd()
{
    return reinterpret_cast<nNode*>(&this->tail);
}

//------------------------------------------------------------------------------
/**
    Results: true when the first node is the tail end node.
    Side effects: none.
*/
inline
bool
nList::IsEmpty() const
{
    return 0 == this->head->succ;
}

//------------------------------------------------------------------------------
/**
    Results: the first node or 0.
    Side effects: none.
*/
inline
nNode*
nList::GetHead() const
{
    if (this->head->succ)
    {
        return this->head;
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: the last node or 0.
    Side effects: none.
*/
inline
nNode*
nList::GetTail() const
{
    if (this->tailPred->pred)
    {
        return this->tailPred;
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: links n (which must be unlinked) at the front.
*/
inline
void
nList::AddHead(nNode* n)
{
    n->InsertAfter(this->HeadEnd());
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: links n (which must be unlinked) at the back.
*/
inline
void
nList::AddTail(nNode* n)
{
    n->InsertBefore(this->TailEnd());
}

//------------------------------------------------------------------------------
/**
    Results: the former first node, now unlinked, or 0 when empty.
    Side effects: the list loses its first node.
*/
inline
nNode*
nList::RemHead()
{
    nNode* const n = this->head;
    if (n->succ)
    {
        n->Remove();
        return n;
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: the former last node, now unlinked, or 0 when empty.
    Side effects: the list loses its last node.
*/
inline
nNode*
nList::RemTail()
{
    nNode* const n = this->tailPred;
    if (n->pred)
    {
        n->Remove();
        return n;
    }
    return 0;
}

//------------------------------------------------------------------------------
#endif
