#ifndef N_HASHNODE_H
#define N_HASHNODE_H
//------------------------------------------------------------------------------
/**
    @class nHashNode
    @ingroup Util

    A node of an nHashList. It is linked twice: as a list node into the
    hash list in insertion order, and through its embedded named node
    (whose data leads back here) into one bucket of the list's hash table.
    Registered classes, command prototypes and signals are hash nodes.
*/
#include "kernel/ntypes.h"
#include "util/nnode.h"
#include "util/nstrnode.h"
#include "util/nhashtable.h"

class nHashNode : public nNode
{
public:
    /// an unnamed node
    nHashNode();
    /// a named node
    explicit nHashNode(const char* name);

    /// the next node in insertion order, 0 at the end
    nHashNode* GetSucc() const;
    /// the previous node in insertion order, 0 at the start
    nHashNode* GetPred() const;
    /// unlink the node from its hash list and its bucket
    void Remove();
    /// the name, 0 while the node has none
    const char* GetName() const;
    /// rename the node, refiling it under the new name
    void SetName(const char* name);

private:
    friend class nHashList;

    nStrNode strNode;
    nHashTable* h_table;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
nHashNode::nHashNode() :
    strNode(0, this),
    h_table(0)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: copies the name.
*/
inline
nHashNode::nHashNode(const char* name) :
    strNode(name, this),
    h_table(0)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: the next node in insertion order or 0.
    Side effects: asserts that the node is linked.
*/
inline
nHashNode*
nHashNode::GetSucc() const
{
    return static_cast<nHashNode*>(nNode::GetSucc());
}

//------------------------------------------------------------------------------
/**
    Results: the previous node in insertion order or 0.
    Side effects: asserts that the node is linked.
*/
inline
nHashNode*
nHashNode::GetPred() const
{
    return static_cast<nHashNode*>(nNode::GetPred());
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: unlinks the node from the list and its name from the
    bucket; the node no longer belongs to a hash table. Asserts that the
    node was linked.
*/
inline
void
nHashNode::Remove()
{
    nNode::Remove();
    if (this->strNode.IsLinked())
    {
        this->strNode.Remove();
    }
    this->h_table = 0;
}

//------------------------------------------------------------------------------
/**
    Results: the name, or 0 while it is empty.
    Side effects: none.
*/
inline
const char*
nHashNode::GetName() const
{
    return this->strNode.GetName();
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: replaces the name. A node in a hash list is taken out of
    its old name's bucket and filed under the new one, so Find keeps
    working; it stays at its place in insertion order.
*/
inline
void
nHashNode::SetName(const char* name)
{
    if (this->IsLinked())
    {
        n_assert(this->h_table);
        this->strNode.Remove();
        this->strNode.SetName(name);
        this->h_table->Add(&this->strNode);
    }
    else
    {
        this->strNode.SetName(name);
    }
}

//------------------------------------------------------------------------------
#endif
