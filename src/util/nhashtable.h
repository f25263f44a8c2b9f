#ifndef N_HASHTABLE_H
#define N_HASHTABLE_H
//------------------------------------------------------------------------------
/**
    @class nHashTable
    @ingroup Util

    A fixed number of nStrList buckets, filled with named nodes by the
    hash of their names. The table does not own the nodes; they are
    unlinked by their owners before the table dies.
*/
#include "kernel/ntypes.h"
#include "util/nstrlist.h"
#include "util/nstrnode.h"

//------------------------------------------------------------------------------
/**
    The string hash of every hashed container, of command prototypes and of
    signals: the sum over the characters of (position + 1) x (character as
    an unsigned byte), positions counted from 0, modulo tableSize.

    The sum is taken in unsigned arithmetic: it wraps modulo 2^32 on long
    texts instead of overflowing, and equals the plain sum for any text
    short enough not to reach 2^31.

    Results: the bucket index, from 0 to tableSize - 1.
    Side effects: asserts a text and a positive table size.
*/
inline
int
n_strhash(const char* str, int tableSize)
{
    n_assert(str);
    n_assert(tableSize > 0);
    unsigned int sum = 0;
    unsigned int position = 1;
    for (const unsigned char* c = (const unsigned char*) str; *c; c++)
    {
        sum += position * (*c);
        position++;
    }
    return (int) (sum % (unsigned int) tableSize);
}

//------------------------------------------------------------------------------
class nHashTable
{
public:
    /// a table of tableSize empty buckets
    explicit nHashTable(int tableSize);
    /// the buckets must be empty by now
    ~nHashTable();
    nHashTable(const nHashTable&) = delete;
    nHashTable& operator=(const nHashTable&) = delete;

    /// file a named node in the bucket of its name
    void Add(nStrNode* n);
    /// the node filed last under a name, 0 when none
    nStrNode* Find(const char* str) const;
    /// the number of buckets
    int GetSize() const;

private:
    int size;
    nStrList* buckets;
};

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: allocates the buckets in one block.
*/
inline
nHashTable::nHashTable(int tableSize) :
    size(tableSize),
    buckets(0)
{
    n_assert(tableSize > 0);
    this->buckets = n_new_array(nStrList, tableSize);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: frees the buckets; each asserts that it is empty.
*/
inline
nHashTable::~nHashTable()
{
    n_delete_array(this->buckets);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: links n at the head of its name's bucket, so that among
    equal names the one added last is found. An unnamed node goes to the
    bucket of the empty text.
*/
inline
void
nHashTable::Add(nStrNode* n)
{
    const char* const name = n->GetName();
    const int h = n_strhash(name ? name : "", this->size);
    this->buckets[h].AddHead(n);
}

//------------------------------------------------------------------------------
/**
    Results: the first node of str's bucket that is named str, 0 when none.
    Side effects: none.
*/
inline
nStrNode*
nHashTable::Find(const char* str) const
{
    const int h = n_strhash(str, this->size);
    return this->buckets[h].Find(str);
}

//------------------------------------------------------------------------------
/**
    Results: the number of buckets. Side effects: none.
*/
inline
int
nHashTable::GetSize() const
{
    return this->size;
}

//------------------------------------------------------------------------------
#endif
