//------------------------------------------------------------------------------
//  nnpktoc.cc
//------------------------------------------------------------------------------
#include "file/nnpktoc.h"

#include <cstring>
#include <string>

nNpkToc::nNpkToc() :
    rootDir(nullptr),
    fileWrapper(nullptr),
    curDir(nullptr),
    stack{},
    curStackIndex(0)
{
}

nNpkToc::~nNpkToc()
{
    if (this->rootDir)
    {
        n_delete(this->rootDir);
        this->rootDir = nullptr;
    }
}

/*
 * BeginDirEntry --
 *     Results: the new directory, which becomes the current one.
 *     Side effects: the first directory becomes the root; the previous
 *     current directory is pushed.
 */
nNpkTocEntry* nNpkToc::BeginDirEntry(const char* dirName)
{
    n_assert(dirName);
    nNpkTocEntry* dirEntry = n_new(nNpkTocEntry(this->rootPath, this->curDir, dirName));
    dirEntry->SetFileWrapper(this->fileWrapper);
    if (this->curDir)
    {
        this->curDir->AddEntry(dirEntry);
    }
    else
    {
        n_assert(0 == this->rootDir);
        this->rootDir = dirEntry;
    }
    n_assert(this->curStackIndex < STACKSIZE);
    this->stack[this->curStackIndex++] = this->curDir;
    this->curDir = dirEntry;
    return dirEntry;
}

nNpkTocEntry* nNpkToc::AddFileEntry(const char* fileName, int fileOffset, int fileLength)
{
    n_assert(fileName);
    n_assert(this->curDir);
    nNpkTocEntry* fileEntry = n_new(nNpkTocEntry(this->rootPath, this->curDir, fileName, fileOffset, fileLength));
    fileEntry->SetFileWrapper(this->fileWrapper);
    this->curDir->AddEntry(fileEntry);
    return fileEntry;
}

void nNpkToc::EndDirEntry()
{
    n_assert(curDir);
    n_assert(this->curStackIndex > 0);
    this->curDir = this->stack[--this->curStackIndex];
}

/*
 * FindEntry --
 *     The path must continue the root path at a separator; the rest is
 *     lower-cased and walked from the root entry, whose name must be its
 *     first component. "." stays, ".." climbs (not above the root).
 * Results: the entry, or 0 when the path is not inside this archive.
 */
nNpkTocEntry* nNpkToc::FindEntry(const char* absPath) const
{
    n_assert(this->rootDir);
    n_assert(absPath);
    const size_t rootLen = (size_t)this->rootPath.Length();
    if (strncmp(absPath, this->rootPath.Get(), rootLen) != 0) return nullptr;
    if (strlen(absPath) <= rootLen) return nullptr;
    const bool rootEndsAtSeparator = rootLen > 0 && (absPath[rootLen - 1] == '/' || absPath[rootLen - 1] == '\\');
    if (!rootEndsAtSeparator && absPath[rootLen] != '/' && absPath[rootLen] != '\\') return nullptr;

    std::string rest = absPath + rootLen;
    for (char& c : rest)
    {
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    }

    nNpkTocEntry* cur = nullptr;
    size_t pos = 0;
    while (pos < rest.size())
    {
        const size_t end = rest.find_first_of("/\\", pos);
        const std::string comp = rest.substr(pos, (end == std::string::npos) ? std::string::npos : end - pos);
        pos = (end == std::string::npos) ? rest.size() : end + 1;
        if (comp.empty()) continue;
        if (!cur)
        {
            if (comp != this->rootDir->GetName()) return nullptr;
            cur = this->rootDir;
        }
        else if (comp == ".")
        {
            continue;
        }
        else if (comp == "..")
        {
            cur = cur->GetParent();
            if (!cur) return nullptr;
        }
        else
        {
            if (cur->GetType() != nNpkTocEntry::DIR) return nullptr;
            cur = cur->FindEntry(comp.c_str());
            if (!cur) return nullptr;
        }
    }
    return cur;
}
