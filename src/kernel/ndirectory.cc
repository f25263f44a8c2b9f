//------------------------------------------------------------------------------
//  ndirectory.cc
//------------------------------------------------------------------------------
#include "kernel/ndirectory.h"
#include "kernel/nfileserver2.h"

#include <cstring>

nDirectory::nDirectory() :
    empty(true),
    handleValid(false),
    entryIndex(0)
{
}

nDirectory::~nDirectory()
{
    if (this->IsOpen())
    {
        n_printf("Warning: Directory destroyed before closing\n");
        this->Close();
    }
}

/*
 * Open --
 *     Results: true when the mangled name is a directory; the iteration
 *     then stands on its first entry. Side effects: none on failure (the
 *     object stays closed).
 */
bool nDirectory::Open(const char* dirName)
{
    n_assert(!this->IsOpen());
    n_assert(dirName);
    n_assert(strlen(dirName)>0);
    this->path = nFileServer2::Instance()->ManglePath(dirName);
    this->handleValid = false;
    if (!this->path.IsEmpty() && nPlatformDir::IsDirectory(this->path.Get()))
    {
        this->empty = !this->SetToFirstEntry();
        return true;
    }
    this->path.Delete();
    return false;
}

void nDirectory::Close()
{
    n_assert(this->IsOpen());
    this->handleValid = false;
    this->path.Delete();
}

bool nDirectory::IsOpen() const
{
    return !this->path.IsEmpty();
}

bool nDirectory::IsEmpty()
{
    n_assert(this->IsOpen());
    return this->empty;
}

/*
 * SetToFirstEntry --
 *     Lists the directory afresh ("." and ".." left out).
 * Results: false when the listing fails or has no entry.
 */
bool nDirectory::SetToFirstEntry()
{
    n_assert(this->IsOpen());
    this->handleValid = this->handle.Read(this->path.Get());
    this->entryIndex = 0;
    return this->HasEntry();
}

bool nDirectory::SetToNextEntry()
{
    n_assert(this->IsOpen());
    n_assert(this->handleValid);
    if (!this->HasEntry()) return false;
    this->entryIndex++;
    return this->HasEntry();
}

/*
 * GetEntryName --
 *     Results: the directory path, "/" and the entry's name; valid until
 *     the next call.
 */
const char* nDirectory::GetEntryName()
{
    n_assert(this->IsOpen());
    n_assert(this->HasEntry());
    this->entryName = this->path;
    this->entryName.Append("/");
    this->entryName.Append(this->handle.GetEntries()[this->entryIndex].name.c_str());
    return this->entryName.Get();
}

nDirectory::nEntryType nDirectory::GetEntryType()
{
    n_assert(this->IsOpen());
    n_assert(this->HasEntry());
    return this->handle.GetEntries()[this->entryIndex].isDirectory ? DIRECTORY : FILE;
}

bool nDirectory::HasEntry() const
{
    return this->handleValid && this->entryIndex < (int)this->handle.GetEntries().size();
}
