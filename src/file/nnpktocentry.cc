//------------------------------------------------------------------------------
//  nnpktocentry.cc
//------------------------------------------------------------------------------
#include "file/nnpktocentry.h"

#include <vector>

namespace
{

/// buckets of a directory's child table
constexpr int kChildBuckets = 32;

}  // namespace

nNpkTocEntry::nNpkTocEntry(const nString& root, nNpkTocEntry* parent, const char* name) :
    nHashNode(name),
    rootPath(root),
    fileWrapper(nullptr),
    parentEntry(parent),
    type(DIR),
    fileOffset(0),
    fileLength(0),
    entryList(nullptr)
{
}

nNpkTocEntry::nNpkTocEntry(const nString& root, nNpkTocEntry* parent, const char* name, int offset, int length) :
    nHashNode(name),
    rootPath(root),
    fileWrapper(nullptr),
    parentEntry(parent),
    type(FILE),
    fileOffset(offset),
    fileLength(length),
    entryList(nullptr)
{
}

nNpkTocEntry::~nNpkTocEntry()
{
    if (this->entryList)
    {
        nHashNode* child;
        while ((child = this->entryList->RemHead()) != nullptr)
        {
            n_delete(static_cast<nNpkTocEntry*>(child));
        }
        n_delete(this->entryList);
        this->entryList = nullptr;
    }
}

/*
 * AddEntry --
 *     Results: none. Side effects: the entry becomes the last child; the
 *     child table is made with the first child.
 */
void nNpkTocEntry::AddEntry(nNpkTocEntry* entry)
{
    n_assert(DIR == this->type);
    n_assert(entry);
    if (!this->entryList)
    {
        this->entryList = n_new(nHashList(kChildBuckets));
    }
    this->entryList->AddTail(entry);
}

nNpkTocEntry* nNpkTocEntry::FindEntry(const char* name) const
{
    n_assert(DIR == this->type);
    if (!this->entryList) return nullptr;
    return static_cast<nNpkTocEntry*>(this->entryList->Find(name));
}

nNpkTocEntry* nNpkTocEntry::GetFirstEntry() const
{
    if (!this->entryList) return nullptr;
    return static_cast<nNpkTocEntry*>(this->entryList->GetHead());
}

nNpkTocEntry* nNpkTocEntry::GetNextEntry(nNpkTocEntry* curEntry) const
{
    n_assert(curEntry);
    return static_cast<nNpkTocEntry*>(curEntry->GetSucc());
}

/*
 * GetFullName --
 *     Results: the operating-system path this entry appears at. The name
 *     is built without a length limit: long names nested deep would not
 *     fit any fixed buffer.
 */
nString nNpkTocEntry::GetFullName() const
{
    std::vector<const nNpkTocEntry*> chain;
    for (const nNpkTocEntry* e = this; e; e = e->parentEntry)
    {
        chain.push_back(e);
    }
    nString name(this->rootPath);
    const int rootLen = name.Length();
    const bool rootHasSlash = rootLen > 0 && name[rootLen - 1] == '/';
    for (size_t i = chain.size(); i-- > 0;)
    {
        if (i + 1 != chain.size() || !rootHasSlash) name.Append("/");
        name.Append(chain[i]->GetName());
    }
    return name;
}
