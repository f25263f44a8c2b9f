#ifndef N_NODE_H
#define N_NODE_H
//------------------------------------------------------------------------------
/**
    @class nNode
    @ingroup Util

    A node of an intrusive doubly linked list (nList). The node is embedded
    in whatever it links, and its data pointer usually leads back to that
    owner. A node is linked while its successor pointer is set.

    The lists keep their two end nodes inside the nList object itself, and
    those end nodes overlap each other (see nList). The type is therefore
    declared may_alias: a node's links and a list's fields are the same
    memory seen through two types, and the optimizer must not assume they
    are distinct.
*/
#include "kernel/ntypes.h"

class __attribute__((may_alias)) nNode
{
public:
    /// an unlinked node without data
    nNode();
    /// an unlinked node carrying a data pointer
    explicit nNode(void* ptr);
    /// a node must be unlinked before it dies
    ~nNode();
    nNode(const nNode&) = delete;
    nNode& operator=(const nNode&) = delete;

    /// the next node, 0 at the end of the list
    nNode* GetSucc() const;
    /// the previous node, 0 at the start of the list
    nNode* GetPred() const;
    /// link this node in front of another
    void InsertBefore(nNode* succ);
    /// link this node behind another
    void InsertAfter(nNode* pred);
    /// unlink this node from its list
    void Remove();
    /// whether the node is in a list
    bool IsLinked() const;
    /// set the user pointer
    void SetData(void* ptr);
    /// the user pointer
    void* GetData() const;

private:
    friend class nList;

    nNode* succ;
    nNode* pred;
    void* data;
};

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: none; the node starts unlinked and without data.
*/
inline
nNode::nNode() :
    succ(0),
    pred(0),
    data(0)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: none; the node starts unlinked, carrying ptr.
*/
inline
nNode::nNode(void* ptr) :
    succ(0),
    pred(0),
    data(ptr)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: a node still linked would leave its neighbours pointing
    at freed memory, so that is a fatal assertion.
*/
inline
nNode::~nNode()
{
    n_assert(!this->succ);
}

//------------------------------------------------------------------------------
/**
    Results: the next real node, or 0 when this is the last one (its
    successor is the list's tail end node, whose own successor is 0).
    Side effects: asserts that the node is linked.
*/
inline
nNode*
nNode::GetSucc() const
{
    n_assert(this->succ);
    if (this->succ->succ)
    {
        return this->succ;
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: the previous real node, or 0 when this is the first one (its
    predecessor is the list's head end node, whose own predecessor is 0).
    Side effects: asserts that the node is linked.
*/
inline
nNode*
nNode::GetPred() const
{
    n_assert(this->pred);
    if (this->pred->pred)
    {
        return this->pred;
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: links this node between succ and succ's predecessor.
    succ must be linked (the tail end node counts) and this node must not.
*/
inline
void
nNode::InsertBefore(nNode* succ)
{
    n_assert(succ->pred);
    n_assert(!this->succ);
    nNode* const pred = succ->pred;
    this->pred = pred;
    this->succ = succ;
    pred->succ = this;
    succ->pred = this;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: links this node between pred and pred's successor.
    pred must be linked (the head end node counts) and this node must not.
*/
inline
void
nNode::InsertAfter(nNode* pred)
{
    n_assert(pred->succ);
    n_assert(!this->succ);
    nNode* const succ = pred->succ;
    this->pred = pred;
    this->succ = succ;
    pred->succ = this;
    succ->pred = this;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: joins the two neighbours and clears both links, so the
    node reads as unlinked afterwards. Asserts that it was linked.
*/
inline
void
nNode::Remove()
{
    n_assert(this->succ);
    this->succ->pred = this->pred;
    this->pred->succ = this->succ;
    this->succ = 0;
    this->pred = 0;
}

//------------------------------------------------------------------------------
/**
    Results: true while the node is in a list.
    Side effects: none.
*/
inline
bool
nNode::IsLinked() const
{
    return 0 != this->succ;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: replaces the user pointer.
*/
inline
void
nNode::SetData(void* ptr)
{
    this->data = ptr;
}

//------------------------------------------------------------------------------
/**
    Results: the user pointer (0 when none was given).
    Side effects: none.
*/
inline
void*
nNode::GetData() const
{
    return this->data;
}

//------------------------------------------------------------------------------
#endif
