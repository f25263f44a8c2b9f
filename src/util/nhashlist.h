#ifndef N_HASHLIST_H
#define N_HASHLIST_H
//------------------------------------------------------------------------------
/**
    @class nHashList
    @ingroup Util

    A list of nHashNodes that keeps insertion order for iteration and a
    hash table of their names for lookup. The list does not own its nodes;
    they are removed by their owners before the list dies.

    The plain list operations are hidden so that no node can enter the list
    without entering the table as well.
*/
#include "kernel/ntypes.h"
#include "util/nlist.h"
#include "util/nhashnode.h"
#include "util/nhashtable.h"

class nHashList : private nList
{
public:
    /// the bucket count when none is given
    enum { DefaultHashSize = 16 };

    /// an empty list with DefaultHashSize buckets
    nHashList();
    /// an empty list with hashSize buckets
    explicit nHashList(int hashSize);

    using nList::IsEmpty;
    /// the first node in insertion order, 0 when empty
    nHashNode* GetHead() const;
    /// the last node in insertion order, 0 when empty
    nHashNode* GetTail() const;
    /// link a node at the front and file its name
    void AddHead(nHashNode* n);
    /// link a node at the back and file its name
    void AddTail(nHashNode* n);
    /// unlink and return the first node, 0 when empty
    nHashNode* RemHead();
    /// unlink and return the last node, 0 when empty
    nHashNode* RemTail();
    /// the node added last under a name, 0 when none
    nHashNode* Find(const char* name) const;

private:
    nHashTable hashTable;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: allocates the buckets.
*/
inline
nHashList::nHashList() :
    hashTable(DefaultHashSize)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: allocates the buckets.
*/
inline
nHashList::nHashList(int hashSize) :
    hashTable(hashSize)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: the first node or 0. Side effects: none.
*/
inline
nHashNode*
nHashList::GetHead() const
{
    return static_cast<nHashNode*>(nList::GetHead());
}

//------------------------------------------------------------------------------
/**
    Results: the last node or 0. Side effects: none.
*/
inline
nHashNode*
nHashList::GetTail() const
{
    return static_cast<nHashNode*>(nList::GetTail());
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: n (unlinked) joins this list's table and is linked at
    the front.
*/
inline
void
nHashList::AddHead(nHashNode* n)
{
    n_assert(n);
    n->h_table = &this->hashTable;
    this->hashTable.Add(&n->strNode);
    nList::AddHead(n);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: n (unlinked) joins this list's table and is linked at
    the back.
*/
inline
void
nHashList::AddTail(nHashNode* n)
{
    n_assert(n);
    n->h_table = &this->hashTable;
    this->hashTable.Add(&n->strNode);
    nList::AddTail(n);
}

//------------------------------------------------------------------------------
/**
    Results: the former first node, now out of list and table, or 0.
    Side effects: the list loses its first node.
*/
inline
nHashNode*
nHashList::RemHead()
{
    nHashNode* const n = this->GetHead();
    if (n)
    {
        n->Remove();
    }
    return n;
}

//------------------------------------------------------------------------------
/**
    Results: the former last node, now out of list and table, or 0.
    Side effects: the list loses its last node.
*/
inline
nHashNode*
nHashList::RemTail()
{
    nHashNode* const n = this->GetTail();
    if (n)
    {
        n->Remove();
    }
    return n;
}

//------------------------------------------------------------------------------
/**
    Results: the hash node filed last under name, 0 when none.
    Side effects: none.
*/
inline
nHashNode*
nHashList::Find(const char* name) const
{
    nStrNode* const strNode = this->hashTable.Find(name);
    if (strNode)
    {
        return static_cast<nHashNode*>(strNode->GetData());
    }
    return 0;
}

//------------------------------------------------------------------------------
#endif
