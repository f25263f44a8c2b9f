#ifndef N_HASHMAP_H
#define N_HASHMAP_H
//------------------------------------------------------------------------------
/**
    @class nHashMap
    @ingroup Locale

    Maps texts to 16-bit indices in the order they were added. Buckets
    hold indices into the text array; a bucket that grows past its limit
    makes the table double, as long as doubling can still split it.
*/
#include "util/narray.h"
#include "util/nfixedarray.h"
#include "util/nstring.h"

class nHashMap
{
public:
    /// the largest number of texts a 16-bit index can name
    static constexpr int MaxStrings = 65536;
    /// the table never doubles past this many buckets
    static constexpr int MaxBuckets = 2 * MaxStrings;

    /// a map with initialSize buckets whose buckets rehash past bucketLimit
    nHashMap(int initialSize, int bucketLimit);
    ~nHashMap();
    nHashMap(const nHashMap&) = delete;
    nHashMap& operator=(const nHashMap&) = delete;

    /// the index of the text, added when new; -1 when the map is full
    int Add(const char* indexString);
    /// the index of the text, or -1
    int Find(const char* indexString) const;
    /// true when the text was added
    bool Exists(const char* indexString) const;
    /// the number of texts
    int Size() const { return this->strings.Size(); }
    /// the number of buckets
    int NumBuckets() const { return this->table->Size(); }
    /// the text of an index
    const nString& At(int index) const { return this->strings[index]; }

    /// the sum over the bytes of byte x (position + 1)
    static uint HashSum(const char* str);

private:
    typedef nFixedArray<nArray<ushort>> Table;

    /// the bucket of a text
    nArray<ushort>& Bucket(const char* str) const;
    /// true when rehashing could make the bucket shorter
    bool CanSplit(const nArray<ushort>& bucket) const;
    /// rebuild the buckets with a new size
    void Rehash(int newSize);

    int bucketLimit;
    nArray<nString> strings;
    Table* table;
};
#endif
