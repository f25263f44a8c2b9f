#ifndef N_STACK_H
#define N_STACK_H
//------------------------------------------------------------------------------
/**
    @class nStack
    @ingroup Util

    A last-in, first-out stack of values, one list node per value.
*/
#include "kernel/ntypes.h"
#include "util/nlist.h"
#include "util/nnode.h"

template<class TYPE> class nStack
{
public:
    /// an empty stack
    nStack();
    /// frees the nodes of the values still pushed
    ~nStack();
    nStack(const nStack<TYPE>&) = delete;
    nStack<TYPE>& operator=(const nStack<TYPE>&) = delete;

    /// push a copy of a value
    void Push(const TYPE& value);
    /// pop the top value
    TYPE Pop();
    /// the top value without popping it
    TYPE Top() const;
    /// whether nothing is pushed
    bool IsEmpty() const;

private:
    /// one pushed value
    class Node : public nNode
    {
    public:
        explicit Node(const TYPE& v) : value(v) {}
        TYPE value;
    };

    nList list;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
template<class TYPE>
nStack<TYPE>::nStack()
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: deletes the nodes of the values still pushed, so the
    list is empty when it dies.
*/
template<class TYPE>
nStack<TYPE>::~nStack()
{
    nNode* n;
    while ((n = this->list.RemHead()) != 0)
    {
        n_delete(static_cast<Node*>(n));
    }
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: allocates a node for the value on top.
*/
template<class TYPE>
void
nStack<TYPE>::Push(const TYPE& value)
{
    Node* const n = n_new(Node(value));
    this->list.AddHead(n);
}

//------------------------------------------------------------------------------
/**
    Results: the top value, or a value-initialised TYPE (0 for numbers and
    pointers) when the stack is empty.
    Side effects: the top node is unlinked and deleted.
*/
template<class TYPE>
TYPE
nStack<TYPE>::Pop()
{
    Node* const n = static_cast<Node*>(this->list.RemHead());
    if (0 == n)
    {
        return TYPE();
    }
    const TYPE value = n->value;
    n_delete(n);
    return value;
}

//------------------------------------------------------------------------------
/**
    Results: the top value, or a value-initialised TYPE when empty.
    Side effects: none.
*/
template<class TYPE>
TYPE
nStack<TYPE>::Top() const
{
    const Node* const n = static_cast<const Node*>(this->list.GetHead());
    if (0 == n)
    {
        return TYPE();
    }
    return n->value;
}

//------------------------------------------------------------------------------
/**
    Results: true when nothing is pushed. Side effects: none.
*/
template<class TYPE>
bool
nStack<TYPE>::IsEmpty() const
{
    return this->list.IsEmpty();
}

//------------------------------------------------------------------------------
#endif
