#ifndef N_FILE_H
#define N_FILE_H
//------------------------------------------------------------------------------
/**
    @class nFile
    @ingroup Kernel

    A plain file of the engine. Made only by the file server's
    NewFileObject (so that the archive server can hand out its own kind)
    and released, never deleted, by its owner. File names are engine paths
    and go through the file server's ManglePath. Releasing an open file
    closes it.
*/
#include "kernel/nrefcounted.h"
#include "platform/nplatformfile.h"

/// a file time in 100 ns units since 1601-01-01, low word first
struct nFileTime
{
    uint lowDateTime = 0;
    uint highDateTime = 0;
};

class nFile : public nRefCounted
{
public:
    /// seek origins; the values are passed as numbers by scripts and callers
    enum nSeekType
    {
        CURRENT = 0,
        START = 1,
        END = 2,
    };

    nFile();

    /// true when a regular file of that name exists
    virtual bool Exists(const char* fileName) const;
    /// open the file; "r" reads, "w" creates or truncates and writes
    virtual bool Open(const char* fileName, const char* accessMode);
    /// close the file
    virtual void Close();
    /// write bytes; the count written
    virtual int Write(const void* buffer, int numBytes);
    /// read bytes; the count read
    virtual int Read(void* buffer, int numBytes);
    /// the current position
    virtual int Tell() const;
    /// move the position; false when the system refuses
    virtual bool Seek(int offset, nSeekType origin);
    /// true when the position is at or past the end
    virtual bool Eof() const;
    /// the size of the open file in bytes
    virtual int GetSize() const;
    /// the last write time of the open file, zero when unknown
    virtual nFileTime GetLastWriteTime() const;
    /// append the whole of another open file; the count appended
    virtual int AppendFile(nFile* other);

    /// true while the file is open
    bool IsOpen() const { return this->isOpen; }
    /// write a string without terminator or line end
    bool PutS(const char* buffer);
    /// read one line
    bool GetS(char* buffer, int numChars);
    /// the lines read or written since the last Open
    ushort GetLineNumber() const { return this->lineNumber; }

protected:
    /// closes the file when it is still open
    ~nFile() override;

    ushort lineNumber;
    bool isOpen;

private:
    nPlatformFile handle;
};
#endif
