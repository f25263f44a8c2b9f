#ifndef N_KEYARRAY_H
#define N_KEYARRAY_H
//------------------------------------------------------------------------------
/**
    @class nKeyArray
    @ingroup Util

    Values filed under signed 32-bit keys, kept sorted by key for a binary
    search. The pair found last is remembered, so that looking up the same
    key again (a script command dispatched over and over) costs a single
    comparison. Equal keys may occur; they keep the order they were added in.
*/
#include "kernel/ntypes.h"

template<class TYPE> class nKeyArray
{
public:
    /// an array with room for num pairs that never grows
    explicit nKeyArray(int num);
    /// an array with room for num pairs that grows by grow pairs
    nKeyArray(int num, int grow);
    /// a copy of another array
    nKeyArray(const nKeyArray<TYPE>& rhs);
    /// frees the pairs
    ~nKeyArray();
    /// copy another array
    nKeyArray<TYPE>& operator=(const nKeyArray<TYPE>& rhs);

    /// file elm under key
    void Add(int key, const TYPE& elm);
    /// look up the element filed under key
    bool Find(int key, TYPE& elm);
    /// the number of pairs
    int Size() const;
    /// the key of the pair at an index
    int GetKeyAt(int index) const;
    /// the element of the pair at an index
    TYPE& GetElementAt(int index) const;
    /// the index of the pair found last, -1 when none is remembered
    int GetLastFoundIndex() const;
    /// forget all pairs, keeping the storage
    void Clear();

private:
    /// one key with its element
    struct Pair
    {
        int key;
        TYPE elm;
    };

    /// allocate room for num pairs into the empty array
    void Allocate(int num);
    /// add growElms pairs of room
    void Grow();
    /// binary search for key
    Pair* BinarySearch(int key) const;
    /// free the pairs and zero the fields
    void Delete();
    /// duplicate another array into this empty one
    void Copy(const nKeyArray<TYPE>& src);

    int numElms;
    int allocElms;
    int growElms;
    Pair* curElm;
    Pair* elmArray;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: allocates num pairs.
*/
template<class TYPE>
nKeyArray<TYPE>::nKeyArray(int num) :
    numElms(0),
    allocElms(0),
    growElms(0),
    curElm(0),
    elmArray(0)
{
    this->Allocate(num);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: allocates num pairs.
*/
template<class TYPE>
nKeyArray<TYPE>::nKeyArray(int num, int grow) :
    numElms(0),
    allocElms(0),
    growElms(grow),
    curElm(0),
    elmArray(0)
{
    this->Allocate(num);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: allocates and copies rhs's pairs.
*/
template<class TYPE>
nKeyArray<TYPE>::nKeyArray(const nKeyArray<TYPE>& rhs) :
    numElms(0),
    allocElms(0),
    growElms(0),
    curElm(0),
    elmArray(0)
{
    this->Copy(rhs);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: frees the pairs.
*/
template<class TYPE>
nKeyArray<TYPE>::~nKeyArray()
{
    this->Delete();
}

//------------------------------------------------------------------------------
/**
    Results: this array.
    Side effects: frees the old pairs and duplicates rhs (without its
    remembered pair); assigning an array to itself changes nothing.
*/
template<class TYPE>
nKeyArray<TYPE>&
nKeyArray<TYPE>::operator=(const nKeyArray<TYPE>& rhs)
{
    if (&rhs != this)
    {
        this->Delete();
        this->Copy(rhs);
    }
    return *this;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: allocates num pairs into an array that holds none.
*/
template<class TYPE>
void
nKeyArray<TYPE>::Allocate(int num)
{
    n_assert(0 == this->elmArray);
    n_assert(0 == this->curElm);
    this->elmArray = n_new_array(Pair, num);
    this->allocElms = num;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: frees the pairs; every field becomes 0.
*/
template<class TYPE>
void
nKeyArray<TYPE>::Delete()
{
    if (this->elmArray)
    {
        n_delete_array(this->elmArray);
    }
    this->numElms = 0;
    this->allocElms = 0;
    this->growElms = 0;
    this->curElm = 0;
    this->elmArray = 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: takes over src's capacity, growth and pairs.
*/
template<class TYPE>
void
nKeyArray<TYPE>::Copy(const nKeyArray<TYPE>& src)
{
    this->Allocate(src.allocElms);
    this->growElms = src.growElms;
    for (int i = 0; i < src.numElms; i++)
    {
        this->elmArray[i] = src.elmArray[i];
    }
    this->numElms = src.numElms;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: reallocates with growElms more pairs and copies the pairs
    over; the remembered pair pointed into the old block and is forgotten.
*/
template<class TYPE>
void
nKeyArray<TYPE>::Grow()
{
    n_assert(this->elmArray);
    const int newAllocElms = this->allocElms + this->growElms;
    Pair* const newArray = n_new_array(Pair, newAllocElms);
    for (int i = 0; i < this->numElms; i++)
    {
        newArray[i] = this->elmArray[i];
    }
    n_delete_array(this->elmArray);
    this->elmArray = newArray;
    this->allocElms = newAllocElms;
    this->curElm = 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: grows when full (an array made without growth must not
    fill up); files elm before the first pair with a greater key, so equal
    keys stay in the order they were added. Pairs that move up invalidate
    the remembered pair, which is then forgotten.
*/
template<class TYPE>
void
nKeyArray<TYPE>::Add(int key, const TYPE& elm)
{
    if (this->numElms == this->allocElms)
    {
        n_assert(this->growElms > 0);
        this->Grow();
    }
    int index = 0;
    while ((index < this->numElms) && (this->elmArray[index].key <= key))
    {
        index++;
    }
    if (index < this->numElms)
    {
        for (int i = this->numElms; i > index; i--)
        {
            this->elmArray[i] = this->elmArray[i - 1];
        }
        this->curElm = 0;
    }
    this->elmArray[index].key = key;
    this->elmArray[index].elm = elm;
    this->numElms++;
}

//------------------------------------------------------------------------------
/**
    Results: the pair under key, 0 when there is none.
    Side effects: none. The search halves a candidate count n between a low
    and a high index; an even count takes the lower of its two middle pairs.
*/
template<class TYPE>
typename nKeyArray<TYPE>::Pair*
nKeyArray<TYPE>::BinarySearch(int key) const
{
    n_assert(this->numElms > 0);
    int n = this->numElms;
    int lo = 0;
    int hi = n - 1;
    while (lo <= hi)
    {
        const int half = n / 2;
        if (0 == half)
        {
            if ((0 != n) && (this->elmArray[lo].key == key))
            {
                return &this->elmArray[lo];
            }
            return 0;
        }
        const bool even = (0 == (n & 1));
        const int mid = lo + (even ? (half - 1) : half);
        const int midKey = this->elmArray[mid].key;
        if (key < midKey)
        {
            hi = mid - 1;
            n = even ? (half - 1) : half;
        }
        else if (key > midKey)
        {
            lo = mid + 1;
            n = half;
        }
        else
        {
            return &this->elmArray[mid];
        }
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: true and the element in elm when a pair with key exists,
    false (elm untouched) otherwise.
    Side effects: a search hit becomes the remembered pair, which answers
    the next lookup of the same key without searching.
*/
template<class TYPE>
bool
nKeyArray<TYPE>::Find(int key, TYPE& elm)
{
    if (0 == this->numElms)
    {
        return false;
    }
    if (this->curElm && (this->curElm->key == key))
    {
        elm = this->curElm->elm;
        return true;
    }
    Pair* const pair = this->BinarySearch(key);
    if (pair)
    {
        this->curElm = pair;
        elm = pair->elm;
        return true;
    }
    return false;
}

//------------------------------------------------------------------------------
/**
    Results: the number of pairs. Side effects: none.
*/
template<class TYPE>
int
nKeyArray<TYPE>::Size() const
{
    return this->numElms;
}

//------------------------------------------------------------------------------
/**
    Results: the key at index (pairs are sorted by key).
    Side effects: asserts the index.
*/
template<class TYPE>
int
nKeyArray<TYPE>::GetKeyAt(int index) const
{
    n_assert((index >= 0) && (index < this->numElms));
    return this->elmArray[index].key;
}

//------------------------------------------------------------------------------
/**
    Results: the element at index.
    Side effects: asserts the index.
*/
template<class TYPE>
TYPE&
nKeyArray<TYPE>::GetElementAt(int index) const
{
    n_assert((index >= 0) && (index < this->numElms));
    return this->elmArray[index].elm;
}

//------------------------------------------------------------------------------
/**
    Results: the index of the remembered pair, -1 when none is remembered.
    Side effects: none.
*/
template<class TYPE>
int
nKeyArray<TYPE>::GetLastFoundIndex() const
{
    if (this->curElm)
    {
        return (int) (this->curElm - this->elmArray);
    }
    return -1;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the array holds no pairs and remembers none; the storage
    is kept.
*/
template<class TYPE>
void
nKeyArray<TYPE>::Clear()
{
    this->numElms = 0;
    this->curElm = 0;
}

//------------------------------------------------------------------------------
#endif
