#ifndef N_NPKFILE_H
#define N_NPKFILE_H
//------------------------------------------------------------------------------
/**
    @class nNpkFile
    @ingroup File

    A file that is looked for on disk first and then in the mounted
    archives. An archived file is read-only; it reads through its
    archive's open file at its own position, clamped to its length.
*/
#include "kernel/nfile.h"

class nNpkTocEntry;

class nNpkFile : public nFile
{
public:
    nNpkFile();

    bool Exists(const char* fileName) const override;
    bool Open(const char* filename, const char* accessMode) override;
    void Close() override;
    int Write(const void* buffer, int numBytes) override;
    int Read(void* buffer, int numBytes) override;
    int Tell() const override;
    bool Seek(int offset, nSeekType origin) override;
    bool Eof() const override;
    int GetSize() const override;
    nFileTime GetLastWriteTime() const override;

protected:
    /// closes an archived file still open
    ~nNpkFile() override;

private:
    /// forget the archived file (drops the hold on its archive)
    void ResetNpkFields();

    nNpkTocEntry* tocEntry;
    bool isNpkFile;
    bool isAsciiAccess;
    int filePos;
};
#endif
