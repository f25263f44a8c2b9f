#ifndef N_FIXEDARRAY_H
#define N_FIXEDARRAY_H
//------------------------------------------------------------------------------
/**
    @class nFixedArray
    @ingroup Util

    An array whose size is set as a whole and never grows element by
    element. Every element exists, value-initialised, from SetSize on.
*/
#include "kernel/ntypes.h"

template<class TYPE> class nFixedArray
{
public:
    /// an array of no elements
    nFixedArray();
    /// an array of num elements
    explicit nFixedArray(int num);
    /// a copy of another array
    nFixedArray(const nFixedArray<TYPE>& rhs);
    /// frees the storage
    ~nFixedArray();
    /// copy another array
    nFixedArray<TYPE>& operator=(const nFixedArray<TYPE>& rhs);

    /// replace the storage by num fresh elements
    void SetSize(int num);
    /// the number of elements
    int Size() const;
    /// the element at an index
    TYPE& operator[](int index) const;
    /// the element at an index
    TYPE& At(int index) const;
    /// assign one value to every element
    void Fill(const TYPE& elm);

private:
    /// free the storage
    void Delete();
    /// duplicate another array into this empty one
    void Copy(const nFixedArray<TYPE>& src);

    int size;
    TYPE* elements;
};

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: none.
*/
template<class TYPE>
nFixedArray<TYPE>::nFixedArray() :
    size(0),
    elements(0)
{
    // empty
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: as SetSize(num).
*/
template<class TYPE>
nFixedArray<TYPE>::nFixedArray(int num) :
    size(0),
    elements(0)
{
    this->SetSize(num);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: allocates and copies rhs's elements.
*/
template<class TYPE>
nFixedArray<TYPE>::nFixedArray(const nFixedArray<TYPE>& rhs) :
    size(0),
    elements(0)
{
    this->Copy(rhs);
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: frees the storage.
*/
template<class TYPE>
nFixedArray<TYPE>::~nFixedArray()
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
nFixedArray<TYPE>&
nFixedArray<TYPE>::operator=(const nFixedArray<TYPE>& rhs)
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
    Results: none. Side effects: frees the storage; the size becomes 0.
*/
template<class TYPE>
void
nFixedArray<TYPE>::Delete()
{
    if (this->elements)
    {
        n_delete_array(this->elements);
        this->elements = 0;
    }
    this->size = 0;
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: allocates src's size and copies its elements.
*/
template<class TYPE>
void
nFixedArray<TYPE>::Copy(const nFixedArray<TYPE>& src)
{
    n_assert(0 == this->elements);
    if (src.size > 0)
    {
        this->SetSize(src.size);
        for (int i = 0; i < this->size; i++)
        {
            this->elements[i] = src.elements[i];
        }
    }
}

//------------------------------------------------------------------------------
/**
    Results: none.
    Side effects: frees the old elements; for num above 0 allocates num
    value-initialised elements (so numbers and pointers start at 0).
*/
template<class TYPE>
void
nFixedArray<TYPE>::SetSize(int num)
{
    this->Delete();
    if (num > 0)
    {
        this->elements = n_new_array(TYPE, num)();
        this->size = num;
    }
}

//------------------------------------------------------------------------------
/**
    Results: the number of elements. Side effects: none.
*/
template<class TYPE>
int
nFixedArray<TYPE>::Size() const
{
    return this->size;
}

//------------------------------------------------------------------------------
/**
    Results: the element at index.
    Side effects: asserts the index.
*/
template<class TYPE>
TYPE&
nFixedArray<TYPE>::operator[](int index) const
{
    n_assert(this->elements && (index >= 0) && (index < this->size));
    return this->elements[index];
}

//------------------------------------------------------------------------------
/**
    Results: the element at index.
    Side effects: asserts the index.
*/
template<class TYPE>
TYPE&
nFixedArray<TYPE>::At(int index) const
{
    n_assert(this->elements && (index >= 0) && (index < this->size));
    return this->elements[index];
}

//------------------------------------------------------------------------------
/**
    Results: none. Side effects: every element becomes a copy of elm.
*/
template<class TYPE>
void
nFixedArray<TYPE>::Fill(const TYPE& elm)
{
    for (int i = 0; i < this->size; i++)
    {
        this->elements[i] = elm;
    }
}

//------------------------------------------------------------------------------
#endif
