#ifndef N_NPKTOC_H
#define N_NPKTOC_H
//------------------------------------------------------------------------------
/**
    @class nNpkToc
    @ingroup File

    The tree of one archive: its root entry, the directory that holds the
    archive (the root path, mangled, without trailing "/"), and the
    directory stack used while the tree is built. Owns its entries.
*/
#include "file/nnpktocentry.h"

class nNpkTocEntry;
class nNpkFileWrapper;

class nNpkToc
{
public:
    /// the deepest nesting of directories, the root included
    enum { STACKSIZE = 16 };

    nNpkToc();
    ~nNpkToc();
    nNpkToc(const nNpkToc&) = delete;
    nNpkToc& operator=(const nNpkToc&) = delete;

    /// the directory that holds the archive
    void SetRootPath(const char* path) { this->rootPath = path; }
    const char* GetRootPath() const { return this->rootPath.Get(); }
    /// the archive every new entry belongs to
    void SetFileWrapper(nNpkFileWrapper* wrapper) { this->fileWrapper = wrapper; }
    /// the root directory entry, 0 before the first directory
    nNpkTocEntry* GetRootEntry() const { return this->rootDir; }

    //--- building --------------------------------------------------------------
    /// begin a directory: the root, or a child of the current directory
    nNpkTocEntry* BeginDirEntry(const char* dirName);
    /// add a file to the current directory (offset already absolute)
    nNpkTocEntry* AddFileEntry(const char* fileName, int fileOffset, int fileLength);
    /// end the current directory
    void EndDirEntry();
    /// the directory being built, 0 outside any
    nNpkTocEntry* GetCurrentDirEntry() const { return this->curDir; }
    /// the number of directories begun and not ended
    int GetDepth() const { return this->curStackIndex; }

    /// the entry at an absolute, mangled path, or 0
    nNpkTocEntry* FindEntry(const char* absPath) const;

private:
    nNpkTocEntry* rootDir;
    nString rootPath;
    nNpkFileWrapper* fileWrapper;
    nNpkTocEntry* curDir;
    nNpkTocEntry* stack[STACKSIZE];
    int curStackIndex;
};
#endif
