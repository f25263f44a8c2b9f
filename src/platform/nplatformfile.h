#ifndef N_PLATFORMFILE_H
#define N_PLATFORMFILE_H
//------------------------------------------------------------------------------
/**
    @class nPlatformFile
    @ingroup Platform

    One open operating-system file, closed when the object dies. Knows
    nothing of the engine: paths given here are already operating-system
    paths. Also holds the few whole-file operations the file server needs.

    A file opened only for reading reads ahead into a buffer of its own:
    the engine reads lines in small chunks and seeks back after each line,
    and an archive serves many small reads from one file, so most reads
    and seeks are then answered without a system call. Positions and
    results are the same as without the buffer.
*/
#include <cstdint>
#include <memory>

class nPlatformFile
{
public:
    /// where a seek counts from
    enum class Origin
    {
        Current,
        Start,
        End,
    };

    nPlatformFile() = default;
    ~nPlatformFile();
    nPlatformFile(const nPlatformFile&) = delete;
    nPlatformFile& operator=(const nPlatformFile&) = delete;

    /// open a regular file; write access creates or truncates it
    bool Open(const char* path, bool read, bool write);
    /// close the file if it is open
    void Close();
    /// true while a file is open
    bool IsOpen() const { return this->fd >= 0; }
    /// read up to numBytes; the count read, 0 at the end or on failure
    long Read(void* buffer, long numBytes);
    /// write numBytes; the count written, 0 on failure
    long Write(const void* buffer, long numBytes);
    /// move the position; the new position, or -1 on failure
    int64_t Seek(int64_t offset, Origin origin);
    /// the current position, or -1 on failure
    int64_t Tell() const;
    /// the size of the open file, or -1 on failure
    int64_t Size() const;
    /// last write time in 100 ns units since 1601-01-01 UTC, 0 on failure
    uint64_t LastWriteTime() const;

    //--- whole-file operations --------------------------------------------------
    /// true when path names an existing regular file
    static bool Exists(const char* path);
    /// copy a regular file over another; copying a file onto itself fails
    static bool Copy(const char* from, const char* to);
    /// remove a file (not a directory)
    static bool Delete(const char* path);
    /// set or clear the write permission bits of a file
    static bool SetReadOnly(const char* path, bool readOnly);
    /// true when nobody has write permission on the file
    static bool IsReadOnly(const char* path);

private:
    /// read from the system, retrying short reads until numBytes or the end
    long RawRead(void* buffer, long numBytes);

    int fd = -1;
    /// the read-ahead buffer; 0 when the file may be written
    std::unique_ptr<char[]> buf;
    /// file offset of buf[0]; the system position is bufStart + bufLen
    int64_t bufStart = 0;
    long bufLen = 0;
    long bufPos = 0;
};
#endif
