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
#include <string>

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

    /**
        Opens a regular file; write access creates or truncates it, and
        with exclusive creates a new file only (never through a link).
        Results: false for anything but a regular file (a directory, a
        FIFO, a device), without waiting for a writer or reader.
    */
    bool Open(const char* path, bool read, bool write, bool exclusive = false);
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

    //--- saving files of the user's --------------------------------------------
    /// the size of the regular file at path (opened without waiting), -1 for anything else
    static int64_t RegularSize(const char* path);
    /**
        Puts a new file in place of another: the new file is written to
        the disk, renamed over the target and the directory written too,
        so that neither a crash nor a power loss leaves a short file under
        the target's name. Results: false, errno kept, when the new file could
        not be synced or renamed (the directory is synced where it can be).
    */
    static bool Replace(const char* from, const char* to);
    /**
        Renames a file to another name in its directory. Needs no space
        and replaces whatever non-directory is at the new name (a link is
        replaced, never followed). Results: false, errno kept, on failure.
    */
    static bool MoveAside(const char* path, const char* aside);
    /**
        Results: empty when a file can be saved at path (a new file made
        beside it and renamed there); otherwise the system's reason.
        Side effects: a probe file is made beside path and removed again.
    */
    static std::string WhyNotSavable(const char* path);

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
