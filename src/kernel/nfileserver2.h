#ifndef N_FILESERVER2_H
#define N_FILESERVER2_H
//------------------------------------------------------------------------------
/**
    @class nFileServer2
    @ingroup Kernel

    The engine's one gateway to the file system: the assigns (named
    directory prefixes such as "home:"), the translation of engine paths
    into operating-system paths, and the factory of file and directory
    objects. Every operation that takes a path mangles it first, so all of
    them accept assign paths.

    The assigns are nenv objects below "/sys/share/assigns"; they outlive
    the server as long as the tree lives.
*/
#include "kernel/nroot.h"
#include "kernel/nref.h"
#include "util/nstring.h"

class nFile;
class nDirectory;
class nFileNode;

class nFileServer2 : public nRoot
{
public:
    nFileServer2();

    /// create every missing directory level of a path
    virtual bool MakePath(const char* dirName);
    /// copy a file; the target is overwritten
    virtual bool CopyFile(const char* from, const char* to);
    /// delete a file
    virtual bool DeleteFile(const char* filename);
    /// remove an empty directory
    virtual bool DeleteDirectory(const char* dirName);
    /// the checksum of a file's contents
    virtual bool Checksum(const char* filename, uint& crc);
    /// set or clear a file's read-only attribute
    virtual void SetFileReadOnly(const char* filename, bool readOnly);
    /// true when a file is read-only
    virtual bool IsFileReadOnly(const char* filename);
    /// a new, closed directory object; the caller deletes it
    virtual nDirectory* NewDirectoryObject() const;
    /// a new, closed file object; the caller releases it
    virtual nFile* NewFileObject() const;
    /// true when a file exists
    virtual bool FileExists(const char* pathName) const;
    /// true when a directory exists
    virtual bool DirectoryExists(const char* pathName) const;
    /// create a file node under /sys/share/files
    virtual nFileNode* CreateFileNode(const char* name);

    /// set an assign; its value gets exactly one trailing "/"; false for a
    /// name that cannot be an assign
    bool SetAssign(const char* assignName, const char* pathName);
    /// the value of an assign, or 0 when it is not defined
    const char* GetAssign(const char* assignName);
    /// the operating-system path of an engine path
    nString ManglePath(const char* path);

    /// the file server
    static nFileServer2* Instance();

    /// the home directory for a program file: the directory of the file,
    /// or two levels higher when that directory is named linux or linuxd
    static nString HomeFromProgramPath(const char* programPath);
    /// the CRC-32 the checksum uses, over a block of bytes
    static uint Crc32(const uchar* data, int numBytes);

protected:
    ~nFileServer2() override;

private:
    /// set home, bin, user and temp
    void InitAssigns();
    /// set home from the program file's path
    void InitHomeAssign();

    nRef<nRoot> assignDir;
    static nFileServer2* Singleton;
};
#endif
