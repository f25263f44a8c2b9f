#ifndef N_NPKTOCENTRY_H
#define N_NPKTOCENTRY_H
//------------------------------------------------------------------------------
/**
    @class nNpkTocEntry
    @ingroup File

    One node of an archive's tree: a directory with named children, or a
    file with its absolute offset and length inside the archive file. A
    directory owns its children.
*/
#include "util/nhashnode.h"
#include "util/nhashlist.h"
#include "util/nstring.h"

class nNpkFileWrapper;

class nNpkTocEntry : public nHashNode
{
public:
    enum Type
    {
        DIR = 0,
        FILE = 1,
    };

    /// a directory entry
    nNpkTocEntry(const nString& rootPath, nNpkTocEntry* parent, const char* name);
    /// a file entry at an absolute offset of the archive file
    nNpkTocEntry(const nString& rootPath, nNpkTocEntry* parent, const char* name, int fileOffset, int fileLength);
    /// deletes the children
    ~nNpkTocEntry();
    nNpkTocEntry(const nNpkTocEntry&) = delete;
    nNpkTocEntry& operator=(const nNpkTocEntry&) = delete;

    Type GetType() const { return this->type; }
    nNpkTocEntry* GetParent() const { return this->parentEntry; }
    int GetFileOffset() const { return this->fileOffset; }
    int GetFileLength() const { return this->fileLength; }
    void SetFileWrapper(nNpkFileWrapper* wrapper) { this->fileWrapper = wrapper; }
    nNpkFileWrapper* GetFileWrapper() const { return this->fileWrapper; }
    const char* GetRootPath() const { return this->rootPath.Get(); }

    /// make an entry a child of this directory
    void AddEntry(nNpkTocEntry* entry);
    /// the child of that name, or 0
    nNpkTocEntry* FindEntry(const char* name) const;
    /// the first child, or 0
    nNpkTocEntry* GetFirstEntry() const;
    /// the child after curEntry, or 0
    nNpkTocEntry* GetNextEntry(nNpkTocEntry* curEntry) const;
    /// the root path, "/", and the names from the archive's root down
    nString GetFullName() const;

private:
    const nString& rootPath;
    nNpkFileWrapper* fileWrapper;
    nNpkTocEntry* parentEntry;
    Type type;
    int fileOffset;
    int fileLength;
    nHashList* entryList;
};
#endif
