//------------------------------------------------------------------------------
//  nnpkdirectory.cc
//------------------------------------------------------------------------------
#include "file/nnpkdirectory.h"
#include "file/nnpkfileserver.h"
#include "file/nnpkfilewrapper.h"
#include "file/nnpktocentry.h"

#include <cstring>

nNpkDirectory::nNpkDirectory() :
    isNpkDir(false),
    tocEntry(nullptr),
    curSearchEntry(nullptr),
    curEntryIsNpk(false),
    heldWrapper(nullptr)
{
}

nNpkDirectory::~nNpkDirectory()
{
    if (this->IsOpen())
    {
        n_printf("Warning: Directory destroyed before closing\n");
        this->Close();
    }
    this->HoldWrapper(nullptr);
}

/*
 * HoldWrapper --
 *     Keeps the archive of the entry alive while this object points into
 *     its tree, so that a remount cannot free it underneath.
 */
void nNpkDirectory::HoldWrapper(nNpkTocEntry* entry)
{
    nNpkFileWrapper* wrapper = entry ? entry->GetFileWrapper() : nullptr;
    if (wrapper == this->heldWrapper) return;
    if (wrapper) wrapper->AddRef();
    if (this->heldWrapper) this->heldWrapper->Release();
    this->heldWrapper = wrapper;
}

void nNpkDirectory::ResetNpkFields()
{
    this->isNpkDir = false;
    this->tocEntry = nullptr;
    this->curSearchEntry = nullptr;
    this->curEntryIsNpk = false;
    this->HoldWrapper(nullptr);
}

/*
 * Open --
 *     A plain directory wins; failing that, a directory entry of a
 *     mounted archive opens, positioned on its first child.
 * Results: true when open (an empty archive directory too).
 */
bool nNpkDirectory::Open(const char* dirName)
{
    n_assert(dirName);
    n_assert(!this->IsOpen());
    this->ResetNpkFields();
    if (nDirectory::Open(dirName)) return true;

    nNpkFileServer* fs = nNpkFileServer::Instance();
    nNpkTocEntry* entry = fs->FindTocEntry(fs->ManglePath(dirName).Get());
    if (!entry || entry->GetType() != nNpkTocEntry::DIR) return false;
    this->HoldWrapper(entry);
    this->isNpkDir = true;
    this->tocEntry = entry;
    this->curSearchEntry = entry->GetFirstEntry();
    return true;
}

void nNpkDirectory::Close()
{
    if (this->isNpkDir)
    {
        this->ResetNpkFields();
        return;
    }
    nDirectory::Close();
    this->ResetNpkFields();
}

bool nNpkDirectory::IsOpen() const
{
    return this->isNpkDir || nDirectory::IsOpen();
}

bool nNpkDirectory::IsEmpty()
{
    if (!this->isNpkDir) return nDirectory::IsEmpty();
    n_assert(this->tocEntry);
    return this->tocEntry->GetFirstEntry() == nullptr;
}

/*
 * CheckCurrentEntry --
 *     A plain ".npk" file whose own name is the root of a mounted archive
 *     in the same directory stands for that archive's root. Without a
 *     current entry nothing stands for anything.
 */
void nNpkDirectory::CheckCurrentEntry(bool hasEntry)
{
    n_assert(!this->isNpkDir);
    this->curSearchEntry = nullptr;
    this->curEntryIsNpk = false;
    nNpkTocEntry* found = nullptr;
    if (hasEntry && nDirectory::GetEntryType() == FILE)
    {
        const nString name(nDirectory::GetEntryName());
        if (name.CheckExtension("npk"))
        {
            found = nNpkFileServer::Instance()->FindTocEntry(name.Get());
        }
    }
    this->HoldWrapper(found);
    if (found)
    {
        this->curSearchEntry = found;
        this->curEntryIsNpk = true;
    }
}

bool nNpkDirectory::SetToFirstEntry()
{
    if (this->isNpkDir)
    {
        n_assert(this->tocEntry);
        this->curSearchEntry = this->tocEntry->GetFirstEntry();
        return this->curSearchEntry != nullptr;
    }
    const bool found = nDirectory::SetToFirstEntry();
    this->CheckCurrentEntry(found);
    return found;
}

bool nNpkDirectory::SetToNextEntry()
{
    if (this->isNpkDir)
    {
        n_assert(this->tocEntry);
        n_assert(this->curSearchEntry);
        this->curSearchEntry = this->tocEntry->GetNextEntry(this->curSearchEntry);
        return this->curSearchEntry != nullptr;
    }
    const bool found = nDirectory::SetToNextEntry();
    this->CheckCurrentEntry(found);
    return found;
}

const char* nNpkDirectory::GetEntryName()
{
    if (this->isNpkDir || this->curEntryIsNpk)
    {
        n_assert(this->curSearchEntry);
        this->npkEntryName = this->curSearchEntry->GetFullName();
        return this->npkEntryName.Get();
    }
    return nDirectory::GetEntryName();
}

nDirectory::nEntryType nNpkDirectory::GetEntryType()
{
    if (this->isNpkDir || this->curEntryIsNpk)
    {
        n_assert(this->curSearchEntry);
        return (this->curSearchEntry->GetType() == nNpkTocEntry::DIR) ? DIRECTORY : FILE;
    }
    return nDirectory::GetEntryType();
}
