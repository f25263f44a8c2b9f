//------------------------------------------------------------------------------
//  nnpkfileserver.cc
//------------------------------------------------------------------------------
#include "file/nnpkfileserver.h"
#include "file/nnpkfile.h"
#include "file/nnpkdirectory.h"
#include "file/nnpkfilewrapper.h"
#include "file/nnpktocentry.h"

#include <cstring>

namespace
{

nNpkFileWrapper* WrapperOf(nNode* node)
{
    return static_cast<nNpkFileWrapper*>(node);
}

}  // namespace

nNpkFileServer::nNpkFileServer()
{
}

nNpkFileServer::~nNpkFileServer()
{
    nNode* node;
    while ((node = this->npkFiles.GetHead()) != nullptr)
    {
        Unmount(WrapperOf(node));
    }
}

/*
 * Instance --
 *     Results: the file server, which must be an archive server (archive
 *     files and directories are only made by one).
 */
nNpkFileServer* nNpkFileServer::Instance()
{
    nNpkFileServer* fs = dynamic_cast<nNpkFileServer*>(nFileServer2::Instance());
    n_assert(fs);
    return fs;
}

nDirectory* nNpkFileServer::NewDirectoryObject() const
{
    nDirectory* result = n_new(nNpkDirectory);
    n_assert(result != 0);
    return result;
}

nFile* nNpkFileServer::NewFileObject() const
{
    nFile* result = n_new(nNpkFile);
    n_assert(result != 0);
    return result;
}

/*
 * Unmount --
 *     The wrapper leaves the list; files and directories still open on
 *     it keep it alive until they close.
 */
void nNpkFileServer::Unmount(nNpkFileWrapper* wrapper)
{
    wrapper->Remove();
    wrapper->Release();
}

/*
 * AddNpkFileWrapper --
 *     Unmounts the file first, so that it is never mounted twice and a
 *     file that no longer opens leaves nothing of it mounted.
 * Results: true when the archive is mounted (last in mount order).
 */
bool nNpkFileServer::AddNpkFileWrapper(const nString& rootPath, const nString& absFilename)
{
    n_assert(!rootPath.IsEmpty());
    n_assert(!absFilename.IsEmpty());
    nNode* node = this->npkFiles.GetHead();
    while (node)
    {
        nNode* next = node->GetSucc();
        if (strcmp(WrapperOf(node)->GetAbsFilename().Get(), absFilename.Get()) == 0)
        {
            Unmount(WrapperOf(node));
        }
        node = next;
    }
    nNpkFileWrapper* fileWrapper = n_new(nNpkFileWrapper);
    n_assert(fileWrapper);
    if (!fileWrapper->Open(this, rootPath.Get(), absFilename.Get()))
    {
        fileWrapper->Release();
        return false;
    }
    this->npkFiles.AddTail(fileWrapper);
    return true;
}

/*
 * AddNpkFile --
 *     Results: false when the file does not exist or cannot be mounted.
 *     Side effects: mounts it below its own directory.
 */
bool nNpkFileServer::AddNpkFile(const nString& path)
{
    n_assert(!path.IsEmpty());
    if (!this->FileExists(path.Get())) return false;
    const nString absFilename = this->ManglePath(path.Get());
    const char* lastSlash = absFilename.GetLastSlash();
    nString rootPath(".");
    if (lastSlash)
    {
        const int len = (int)(lastSlash - absFilename.Get());
        rootPath.Set(absFilename.Get(), len > 0 ? len : 1);
    }
    return this->AddNpkFileWrapper(rootPath, absFilename);
}

/*
 * ParseDirectory --
 *     Mounts every file of the directory whose extension is exactly the
 *     given one, in name order.
 * Results: the number of archives mounted.
 */
int nNpkFileServer::ParseDirectory(const nString& dirName, const nString& extension)
{
    n_assert(!dirName.IsEmpty());
    n_assert(!extension.IsEmpty());
    const nString absDirName = this->ManglePath(dirName.Get());
    int numNpks = 0;
    nDirectory* dir = this->NewDirectoryObject();
    n_assert(dir);
    if (!dir->Open(dirName.Get()))
    {
        n_printf("nNpkFileServer::ParseDirectory(): could not open dir '%s'\n", absDirName.Get());
        n_delete(dir);
        return 0;
    }
    if (!dir->IsEmpty())
    {
        do
        {
            if (dir->GetEntryType() != nDirectory::FILE) continue;
            const nString entryName(dir->GetEntryName());
            if (!entryName.CheckExtension(extension.Get())) continue;
            n_printf("*** Reading npk file '%s'\n", entryName.Get());
            if (this->AddNpkFileWrapper(absDirName, entryName)) numNpks++;
        } while (dir->SetToNextEntry());
    }
    dir->Close();
    n_delete(dir);
    return numNpks;
}

void nNpkFileServer::ReleaseNpkFiles(const nString& pattern)
{
    nNode* node = this->npkFiles.GetHead();
    while (node)
    {
        nNode* next = node->GetSucc();
        if (n_strmatch(WrapperOf(node)->GetAbsFilename().Get(), pattern.Get()))
        {
            Unmount(WrapperOf(node));
        }
        node = next;
    }
}

nNpkTocEntry* nNpkFileServer::FindTocEntry(const char* absPath) const
{
    n_assert(absPath);
    for (nNode* node = this->npkFiles.GetHead(); node; node = node->GetSucc())
    {
        nNpkTocEntry* entry = WrapperOf(node)->GetTocObject().FindEntry(absPath);
        if (entry) return entry;
    }
    return nullptr;
}
