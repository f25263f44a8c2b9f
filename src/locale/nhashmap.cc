//------------------------------------------------------------------------------
//  nhashmap.cc
//------------------------------------------------------------------------------
#include "locale/nhashmap.h"

/*
 * nHashMap --
 *     Side effects: the text array starts with initialSize places and
 *     doubles whenever it is full; there are initialSize buckets.
 */
nHashMap::nHashMap(int initialSize, int bucketLimit) :
    bucketLimit(bucketLimit),
    strings(initialSize, initialSize),
    table(nullptr)
{
    n_assert(initialSize > 0);
    this->strings.SetFlags(nArray<nString>::DoubleGrowSize);
    this->table = n_new(Table(initialSize));
}

nHashMap::~nHashMap()
{
    n_delete(this->table);
}

uint nHashMap::HashSum(const char* str)
{
    uint sum = 0;
    for (uint i = 0; str[i]; i++)
    {
        sum += (uint)(uchar)str[i] * (i + 1);
    }
    return sum;
}

nArray<ushort>& nHashMap::Bucket(const char* str) const
{
    return (*this->table)[(int)(HashSum(str) % (uint)this->table->Size())];
}

/*
 * CanSplit --
 *     Results: true when the table may still double and the texts in the
 *     bucket do not all have the same hash sum (texts with equal sums
 *     share a bucket at every size, so doubling for them would never end).
 */
bool nHashMap::CanSplit(const nArray<ushort>& bucket) const
{
    if (2 * this->table->Size() > MaxBuckets) return false;
    const uint first = HashSum(this->strings[bucket[0]].Get());
    for (int i = 1; i < bucket.Size(); i++)
    {
        if (HashSum(this->strings[bucket[i]].Get()) != first) return true;
    }
    return false;
}

/*
 * Add --
 *     Results: the index of the text: its old one when it was added
 *     before, else the next one; -1, with a message, when the map already
 *     holds as many texts as a 16-bit index can name.
 *     Side effects: a bucket holding more than the limit doubles the table
 *     first, when that can help.
 */
int nHashMap::Add(const char* indexString)
{
    n_assert(indexString);
    nArray<ushort>* bucket = &this->Bucket(indexString);
    if ((bucket->Size() > this->bucketLimit) && this->CanSplit(*bucket))
    {
        this->Rehash(2 * this->table->Size());
        bucket = &this->Bucket(indexString);
    }
    for (ushort index : *bucket)
    {
        if (this->strings[index] == indexString) return index;
    }
    if (this->strings.Size() >= MaxStrings)
    {
        n_printf("nHashMap: full, '%s' not added!\n", indexString);
        return -1;
    }
    const int index = this->strings.Size();
    this->strings.Append(nString(indexString));
    bucket->Append((ushort)index);
    return index;
}

int nHashMap::Find(const char* indexString) const
{
    n_assert(indexString);
    for (ushort index : this->Bucket(indexString))
    {
        if (this->strings[index] == indexString) return index;
    }
    return -1;
}

bool nHashMap::Exists(const char* indexString) const
{
    return -1 != this->Find(indexString);
}

/*
 * Rehash --
 *     Side effects: replaces the buckets by newSize buckets and re-inserts
 *     every index, bucket by bucket, by its text's new hash.
 */
void nHashMap::Rehash(int newSize)
{
    n_printf("nHashMap: rehashing to size %d\n", newSize);
    Table* oldTable = this->table;
    n_assert(oldTable);
    this->table = n_new(Table(newSize));
    for (int b = 0; b < oldTable->Size(); b++)
    {
        for (ushort index : (*oldTable)[b])
        {
            this->Bucket(this->strings[index].Get()).Append(index);
        }
    }
    n_delete(oldTable);
}
