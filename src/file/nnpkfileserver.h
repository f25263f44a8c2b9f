#ifndef N_NPKFILESERVER_H
#define N_NPKFILESERVER_H
//------------------------------------------------------------------------------
/**
    @class nNpkFileServer
    @ingroup File

    The file server that also serves mounted npk archives. An archive
    foo.npk in a directory D shows its tree below D/foo; its files and
    directories are found there whenever the plain file system has none
    at that path, so data can lie loose or packed.
*/
#include "kernel/nfileserver2.h"
#include "util/nlist.h"

class nNpkTocEntry;
class nNpkFileWrapper;

class nNpkFileServer : public nFileServer2
{
public:
    nNpkFileServer();

    /// a new, closed archive-aware directory object
    nDirectory* NewDirectoryObject() const override;
    /// a new, closed archive-aware file object
    nFile* NewFileObject() const override;

    /// mount one archive file
    virtual bool AddNpkFile(const nString& path);
    /// mount every archive of a directory with that extension; the count
    virtual int ParseDirectory(const nString& dirName, const nString& extension);
    /// unmount every archive whose path matches the pattern
    virtual void ReleaseNpkFiles(const nString& pattern);

    /// the entry at an absolute path in the first archive that has one
    nNpkTocEntry* FindTocEntry(const char* absPath) const;

    /// the file server as an archive server
    static nNpkFileServer* Instance();

protected:
    /// unmounts every archive
    ~nNpkFileServer() override;

private:
    /// mount an archive (root path and archive path are mangled)
    bool AddNpkFileWrapper(const nString& rootPath, const nString& absFilename);
    /// unlink a wrapper and drop the list's count
    static void Unmount(nNpkFileWrapper* wrapper);

    nList npkFiles;
};
#endif
