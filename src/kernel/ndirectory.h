#ifndef N_DIRECTORY_H
#define N_DIRECTORY_H
//------------------------------------------------------------------------------
/**
    @class nDirectory
    @ingroup Kernel

    Iterates the entries of one directory in name order. Made only by the
    file server's NewDirectoryObject and deleted by its owner. A caller
    opens it (which positions on the first entry), asks IsEmpty, then
    alternates GetEntryName/GetEntryType and SetToNextEntry until that
    returns false.
*/
#include "kernel/ntypes.h"
#include "util/nstring.h"
#include "platform/nplatformdir.h"

class nDirectory
{
public:
    /// entry types
    enum nEntryType
    {
        FILE = 0,
        DIRECTORY = 1,
    };

    nDirectory();
    /// a directory still open is closed with a warning
    virtual ~nDirectory();
    nDirectory(const nDirectory&) = delete;
    nDirectory& operator=(const nDirectory&) = delete;

    /// open a directory and position on its first entry
    virtual bool Open(const char* dirName);
    /// close the directory
    virtual void Close();
    /// true while a directory is open
    virtual bool IsOpen() const;
    /// true when the directory has no entries
    virtual bool IsEmpty();
    /// position on the first entry; false when there is none
    virtual bool SetToFirstEntry();
    /// position on the next entry; false when there is none
    virtual bool SetToNextEntry();
    /// the full, mangled path of the current entry
    virtual const char* GetEntryName();
    /// the type of the current entry
    virtual nEntryType GetEntryType();

protected:
    /// true when the iteration stands on an entry
    bool HasEntry() const;

    bool empty;
    nString path;
    nString entryName;

private:
    /// the entries of the last listing; "handle" in the platform's terms
    nPlatformDir handle;
    bool handleValid;
    int entryIndex;
};
#endif
