#ifndef N_STRNODE_H
#define N_STRNODE_H
//------------------------------------------------------------------------------
/**
    @class nStrNode
    @ingroup Util

    A list node with a name, for nStrList and the buckets of nHashTable.
    The data pointer leads to whatever the name stands for.
*/
#include "kernel/ntypes.h"
#include "util/nnode.h"
#include "util/nstring.h"

class nStrNode : public nNode
{
public:
    /// an unnamed node
    nStrNode();
    /// a named node
    explicit nStrNode(const char* str);
    /// a named node carrying a data pointer
    nStrNode(const char* str, void* ptr);

    /// rename the node
    void SetName(const char* str);
    /// the name, 0 while the node has none
    const char* GetName() const;
    /// the next node, 0 at the end of the list
    nStrNode* GetSucc() const;
    /// the previous node, 0 at the start of the list
    nStrNode* GetPred() const;

private:
    nString name;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
inline
nStrNode::nStrNode()
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: copies the name.
*/
inline
nStrNode::nStrNode(const char* str) :
    name(str)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: copies the name.
*/
inline
nStrNode::nStrNode(const char* str, void* ptr) :
    nNode(ptr),
    name(str)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: replaces the name. A node filed in a hash bucket is found
    under its old name's bucket until it is filed again (nHashNode::SetName
    does that).
*/
inline
void
nStrNode::SetName(const char* str)
{
    this->name = str;
}

//------------------------------------------------------------------------------
/**
    Results: the name, or 0 while it is empty.
    Side effects: none.
*/
inline
const char*
nStrNode::GetName() const
{
    if (this->name.IsEmpty())
    {
        return 0;
    }
    return this->name.Get();
}

//------------------------------------------------------------------------------
/**
    Results: the next node or 0. Side effects: asserts that the node is linked.
*/
inline
nStrNode*
nStrNode::GetSucc() const
{
    return static_cast<nStrNode*>(nNode::GetSucc());
}

//------------------------------------------------------------------------------
/**
    Results: the previous node or 0. Side effects: asserts that the node is linked.
*/
inline
nStrNode*
nStrNode::GetPred() const
{
    return static_cast<nStrNode*>(nNode::GetPred());
}

//------------------------------------------------------------------------------
#endif
