#ifndef N_ARRAY_H
#define N_ARRAY_H
//------------------------------------------------------------------------------
/**
    @class nArray
    @ingroup Util

    A growable array of values. Storage comes from n_new_array and grows
    by growSize elements at a time, or doubles when the DoubleGrowSize flag
    is set. Elements are copied by assignment, so TYPE needs a default
    constructor and an assignment operator.

    Growing frees the old storage: pointers and references into the array
    are only good until the next Append or Insert.
*/
#include "kernel/ntypes.h"

template<class TYPE> class nArray
{
public:
    typedef TYPE* iterator;

    /// bits of 'flags'
    enum
    {
        DoubleGrowSize = (1 << 0),  ///< grow by doubling instead of by growSize
    };

    /// an empty array that grows by 16 elements at a time
    nArray();
    /// an array with room for initialSize elements that grows by growSize
    nArray(int initialSize, int growSize);
    /// a copy of another array, including its capacity and growth rule
    nArray(const nArray<TYPE>& rhs);
    /// frees the storage
    ~nArray();
    /// copy another array
    nArray<TYPE>& operator=(const nArray<TYPE>& rhs);

    /// the element at an index
    TYPE& operator[](int index) const;
    /// the element at an index
    TYPE& At(int index) const;
    /// the first element
    TYPE& Front() const;
    /// the last element
    TYPE& Back() const;

    /// set the flag bits
    void SetFlags(int f);
    /// the flag bits
    int GetFlags() const;
    /// the number of elements in use
    int Size() const;
    /// the number of elements allocated
    int AllocSize() const;
    /// whether no element is in use
    bool IsEmpty() const;

    /// copy an element to the end
    TYPE& Append(const TYPE& elm);
    /// copy an element in at an index, moving the ones behind it up
    TYPE& Insert(int index, const TYPE& elm);
    /// remove the element at an index, moving the ones behind it down
    void Erase(int index);
    /// remove the element at an index by moving the last one into its place
    void EraseQuick(int index);
    /// remove the element at an iterator by moving the last one into its place
    iterator EraseQuick(iterator iter);
    /// forget all elements, keeping the storage
    void Clear();
    /// free the storage and zero every field
    void Delete();

    /// the first element's iterator
    iterator Begin() const;
    /// the iterator behind the last element
    iterator End() const;
    /// the iterator of the first element equal to elm, 0 when none
    iterator Find(const TYPE& elm) const;
    /// the index of the first element equal to elm, -1 when none
    int FindIndex(const TYPE& elm) const;

    /// for range-based for
    iterator begin() const { return this->Begin(); }
    iterator end() const { return this->End(); }

private:
    /// make room for more elements by the growth rule
    void Grow();
    /// reallocate to newAllocSize elements, keeping the elements in use
    void GrowTo(int newAllocSize);
    /// move the elements from fromIndex on so that they start at toIndex
    void Move(int fromIndex, int toIndex);
    /// store elm behind the last element (there must be room)
    TYPE& Store(const TYPE& elm);
    /// duplicate another array into this empty one
    void Copy(const nArray<TYPE>& src);

    int growSize;
    int allocSize;
    int numElements;
    int flags;
    TYPE* elements;
};

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: none; nothing is allocated until the first Append.
*/
template<class TYPE>
nArray<TYPE>::nArray() :
    growSize(16),
    allocSize(0),
    numElements(0),
    flags(0),
    elements(0)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: allocates initialSize elements when it is above 0. A
    growSize of 0 makes an array that must never outgrow initialSize.
*/
template<class TYPE>
nArray<TYPE>::nArray(int initialSize, int growSize) :
    growSize(growSize),
    allocSize(0),
    numElements(0),
    flags(0),
    elements(0)
{
    n_assert(initialSize >= 0);
    if (initialSize > 0)
    {
        this->elements = n_new_array(TYPE, initialSize);
        this->allocSize = initialSize;
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: allocates rhs's capacity and copies its elements.
*/
template<class TYPE>
nArray<TYPE>::nArray(const nArray<TYPE>& rhs) :
    growSize(0),
    allocSize(0),
    numElements(0),
    flags(0),
    elements(0)
{
    this->Copy(rhs);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: frees the storage.
*/
template<class TYPE>
nArray<TYPE>::~nArray()
{
    this->Delete();
}

//------------------------------------------------------------------------------
/**
    Results: this array.
    Side effects: frees the old storage and duplicates rhs; assigning an
    array to itself changes nothing.
*/
template<class TYPE>
nArray<TYPE>&
nArray<TYPE>::operator=(const nArray<TYPE>& rhs)
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
    Side effects: takes over src's growth rule and flags, allocates its
    capacity and copies its elements in use.
*/
template<class TYPE>
void
nArray<TYPE>::Copy(const nArray<TYPE>& src)
{
    n_assert(0 == this->elements);
    this->growSize = src.growSize;
    this->allocSize = src.allocSize;
    this->numElements = src.numElements;
    this->flags = src.flags;
    if (this->allocSize > 0)
    {
        this->elements = n_new_array(TYPE, this->allocSize);
        for (int i = 0; i < this->numElements; i++)
        {
            this->elements[i] = src.elements[i];
        }
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: frees the storage; every field, the growth rule
    included, becomes 0.
*/
template<class TYPE>
void
nArray<TYPE>::Delete()
{
    if (this->elements)
    {
        n_delete_array(this->elements);
    }
    this->growSize = 0;
    this->allocSize = 0;
    this->numElements = 0;
    this->flags = 0;
    this->elements = 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the count drops to 0; the storage and the old values in
    it are kept until they are overwritten or the array is deleted.
*/
template<class TYPE>
void
nArray<TYPE>::Clear()
{
    this->numElements = 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: allocates a new block of newAllocSize elements, copies
    the elements in use into it and frees the old block.
*/
template<class TYPE>
void
nArray<TYPE>::GrowTo(int newAllocSize)
{
    n_assert(newAllocSize >= this->numElements);
    TYPE* const newArray = n_new_array(TYPE, newAllocSize);
    if (this->elements)
    {
        for (int i = 0; i < this->numElements; i++)
        {
            newArray[i] = this->elements[i];
        }
        n_delete_array(this->elements);
    }
    this->elements = newArray;
    this->allocSize = newAllocSize;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: reallocates by the growth rule: double the allocation
    with DoubleGrowSize (growSize elements when nothing is allocated yet),
    otherwise growSize elements more. An array made with growSize 0 must
    never need this, which the assertion checks.
*/
template<class TYPE>
void
nArray<TYPE>::Grow()
{
    n_assert(this->growSize > 0);
    int newAllocSize;
    if ((this->flags & DoubleGrowSize) && (0 != this->allocSize))
    {
        newAllocSize = this->allocSize * 2;
    }
    else
    {
        newAllocSize = this->allocSize + this->growSize;
    }
    this->GrowTo(newAllocSize);
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the elements from fromIndex to the end are copied so that
    they begin at toIndex, growing the storage until they fit; the count
    becomes toIndex plus their number. Slots given up by a move down are
    reset to a default value, so their old contents are released now.
*/
template<class TYPE>
void
nArray<TYPE>::Move(int fromIndex, int toIndex)
{
    n_assert(this->elements);
    n_assert(fromIndex < this->numElements);
    if (fromIndex == toIndex)
    {
        return;
    }
    const int num = this->numElements - fromIndex;
    const int neededSize = toIndex + num;
    while (neededSize > this->allocSize)
    {
        this->Grow();
    }
    if (fromIndex > toIndex)
    {
        for (int i = 0; i < num; i++)
        {
            this->elements[toIndex + i] = this->elements[fromIndex + i];
        }
        for (int i = neededSize; i < this->numElements; i++)
        {
            this->elements[i] = TYPE();
        }
    }
    else
    {
        for (int i = num - 1; i >= 0; i--)
        {
            this->elements[toIndex + i] = this->elements[fromIndex + i];
        }
    }
    this->numElements = neededSize;
}

//------------------------------------------------------------------------------
/**
    Results: the stored element.
    Side effects: copies elm behind the last element; the caller has made
    room for it.
*/
template<class TYPE>
TYPE&
nArray<TYPE>::Store(const TYPE& elm)
{
    n_assert(this->elements);
    this->elements[this->numElements] = elm;
    return this->elements[this->numElements++];
}

//------------------------------------------------------------------------------
/**
    Results: the new last element.
    Side effects: grows the storage when it is full; elm may be an element
    of this array.
*/
template<class TYPE>
TYPE&
nArray<TYPE>::Append(const TYPE& elm)
{
    if (this->numElements == this->allocSize)
    {
        // elm may live in the block that Grow is about to free
        const TYPE keep(elm);
        this->Grow();
        return this->Store(keep);
    }
    return this->Store(elm);
}

//------------------------------------------------------------------------------
/**
    Results: the inserted element.
    Side effects: an index equal to the count appends; otherwise the
    elements from index on move up by one (growing the storage as needed)
    and elm is stored at index. elm may be an element of this array.
*/
template<class TYPE>
TYPE&
nArray<TYPE>::Insert(int index, const TYPE& elm)
{
    n_assert((index >= 0) && (index <= this->numElements));
    if (index == this->numElements)
    {
        return this->Append(elm);
    }
    const TYPE keep(elm);
    this->Move(index, index + 1);
    this->elements[index] = keep;
    return this->elements[index];
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: the elements behind index move down by one and the count
    drops by one.
*/
template<class TYPE>
void
nArray<TYPE>::Erase(int index)
{
    n_assert(this->elements && (index >= 0) && (index < this->numElements));
    if (index == (this->numElements - 1))
    {
        this->elements[index] = TYPE();
        this->numElements--;
    }
    else
    {
        this->Move(index + 1, index);
    }
}

//------------------------------------------------------------------------------
/**
    Results: iter, which now holds the former last element (or is the end
    when the last element was erased).
    Side effects: the last element moves into iter's place, so the order
    is not kept; the count drops by one.
*/
template<class TYPE>
typename nArray<TYPE>::iterator
nArray<TYPE>::EraseQuick(iterator iter)
{
    n_assert(this->elements && (iter >= this->elements) && (iter < (this->elements + this->numElements)));
    iterator const last = this->elements + (this->numElements - 1);
    if (iter != last)
    {
        *iter = *last;
    }
    *last = TYPE();
    this->numElements--;
    return iter;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: as EraseQuick(iterator) for the element at index.
*/
template<class TYPE>
void
nArray<TYPE>::EraseQuick(int index)
{
    n_assert(this->elements && (index >= 0) && (index < this->numElements));
    this->EraseQuick(this->elements + index);
}

//------------------------------------------------------------------------------
/**
    Results: the element at index.
    Side effects: asserts that index names an element in use.
*/
template<class TYPE>
TYPE&
nArray<TYPE>::At(int index) const
{
    n_assert(this->elements && (index >= 0) && (index < this->numElements));
    return this->elements[index];
}

//------------------------------------------------------------------------------
/**
    Results: the element at index.
    Side effects: asserts that index names an element in use.
*/
template<class TYPE>
TYPE&
nArray<TYPE>::operator[](int index) const
{
    n_assert(this->elements && (index >= 0) && (index < this->numElements));
    return this->elements[index];
}

//------------------------------------------------------------------------------
/**
    Results: the first element.
    Side effects: asserts that the array is not empty.
*/
template<class TYPE>
TYPE&
nArray<TYPE>::Front() const
{
    n_assert(this->elements && (this->numElements > 0));
    return this->elements[0];
}

//------------------------------------------------------------------------------
/**
    Results: the last element.
    Side effects: asserts that the array is not empty.
*/
template<class TYPE>
TYPE&
nArray<TYPE>::Back() const
{
    n_assert(this->elements && (this->numElements > 0));
    return this->elements[this->numElements - 1];
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: replaces the flag bits (see DoubleGrowSize).
*/
template<class TYPE>
void
nArray<TYPE>::SetFlags(int f)
{
    this->flags = f;
}

//------------------------------------------------------------------------------
/**
    Results: the flag bits. Side effects: none.
*/
template<class TYPE>
int
nArray<TYPE>::GetFlags() const
{
    return this->flags;
}

//------------------------------------------------------------------------------
/**
    Results: the number of elements in use. Side effects: none.
*/
template<class TYPE>
int
nArray<TYPE>::Size() const
{
    return this->numElements;
}

//------------------------------------------------------------------------------
/**
    Results: the number of elements allocated. Side effects: none.
*/
template<class TYPE>
int
nArray<TYPE>::AllocSize() const
{
    return this->allocSize;
}

//------------------------------------------------------------------------------
/**
    Results: true when no element is in use. Side effects: none.
*/
template<class TYPE>
bool
nArray<TYPE>::IsEmpty() const
{
    return 0 == this->numElements;
}

//------------------------------------------------------------------------------
/**
    Results: the first element's iterator (0 while nothing is allocated).
    Side effects: none.
*/
template<class TYPE>
typename nArray<TYPE>::iterator
nArray<TYPE>::Begin() const
{
    return this->elements;
}

//------------------------------------------------------------------------------
/**
    Results: the iterator behind the last element in use.
    Side effects: none.
*/
template<class TYPE>
typename nArray<TYPE>::iterator
nArray<TYPE>::End() const
{
    if (this->elements)
    {
        return this->elements + this->numElements;
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: the first element equal to elm (by operator==), 0 when none.
    Side effects: none.
*/
template<class TYPE>
typename nArray<TYPE>::iterator
nArray<TYPE>::Find(const TYPE& elm) const
{
    for (int i = 0; i < this->numElements; i++)
    {
        if (this->elements[i] == elm)
        {
            return &this->elements[i];
        }
    }
    return 0;
}

//------------------------------------------------------------------------------
/**
    Results: the index of the first element equal to elm, -1 when none.
    Side effects: none.
*/
template<class TYPE>
int
nArray<TYPE>::FindIndex(const TYPE& elm) const
{
    for (int i = 0; i < this->numElements; i++)
    {
        if (this->elements[i] == elm)
        {
            return i;
        }
    }
    return -1;
}

//------------------------------------------------------------------------------
#endif
