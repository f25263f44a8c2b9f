#ifndef N_NPKDIRECTORY_H
#define N_NPKDIRECTORY_H
//------------------------------------------------------------------------------
/**
    @class nNpkDirectory
    @ingroup File

    A directory that is looked for on disk first and then in the mounted
    archives. In a plain listing, an archive file whose table has a root
    entry of the file's own name reports that entry instead.
*/
#include "kernel/ndirectory.h"

class nNpkTocEntry;
class nNpkFileWrapper;

class nNpkDirectory : public nDirectory
{
public:
    nNpkDirectory();
    /// closes a directory still open
    ~nNpkDirectory() override;

    bool Open(const char* dirName) override;
    void Close() override;
    bool IsOpen() const override;
    bool IsEmpty() override;
    bool SetToFirstEntry() override;
    bool SetToNextEntry() override;
    const char* GetEntryName() override;
    nEntryType GetEntryType() override;

private:
    /// the entry reported for a plain archive file, after each plain step
    void CheckCurrentEntry(bool hasEntry);
    /// hold the archive of an entry (0 drops the hold)
    void HoldWrapper(nNpkTocEntry* entry);
    /// forget the archive state
    void ResetNpkFields();

    bool isNpkDir;
    nNpkTocEntry* tocEntry;
    nNpkTocEntry* curSearchEntry;
    bool curEntryIsNpk;
    nNpkFileWrapper* heldWrapper;
    nString npkEntryName;
};
#endif
