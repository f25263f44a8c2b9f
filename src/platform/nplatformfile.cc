//------------------------------------------------------------------------------
//  nplatformfile.cc
//------------------------------------------------------------------------------
#include "platform/nplatformfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

/// the read-ahead buffer of a read-only file
constexpr long kBufferSize = 16 * 1024;

/// seconds from 1601-01-01 to 1970-01-01
constexpr uint64_t kEpochDelta = 11644473600ull;

/*
 * ToFileTime --
 *     Results: the time in 100 ns units since 1601, the unit the engine
 *     stores file times in. Side effects: none.
 */
uint64_t ToFileTime(const struct timespec& ts)
{
    return ((uint64_t)ts.tv_sec + kEpochDelta) * 10000000ull + (uint64_t)ts.tv_nsec / 100u;
}

/*
 * IsRegular --
 *     Results: true when the stat record describes a regular file (a
 *     directory must never be handed out as a file). Side effects: none.
 */
bool IsRegular(const struct stat& st)
{
    return S_ISREG(st.st_mode);
}

/*
 * WriteAll --
 *     Writes the whole block, retrying short and interrupted writes.
 *     Results: true when every byte was written. Side effects: writes fd.
 */
bool WriteAll(int fd, const char* data, long numBytes)
{
    while (numBytes > 0)
    {
        const ssize_t n = ::write(fd, data, (size_t)numBytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        numBytes -= n;
    }
    return true;
}

/*
 * OpenNoWait --
 *     Opens without waiting: a FIFO without a peer would block open()
 *     for ever. Results: the descriptor, or -1 (errno set).
 */
int OpenNoWait(const char* path, int flags)
{
    int f;
    do
    {
        f = ::open(path, flags | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (f < 0 && errno == EINTR);
    return f;
}

/*
 * OpenRegular --
 *     Results: a descriptor of a regular file in blocking mode, or -1
 *     (errno set; EINVAL for anything that is no regular file).
 */
int OpenRegular(const char* path, int flags)
{
    const int f = OpenNoWait(path, flags);
    if (f < 0) return -1;
    struct stat st;
    if (::fstat(f, &st) != 0 || !IsRegular(st) || ::fcntl(f, F_SETFL, ::fcntl(f, F_GETFL) & ~O_NONBLOCK) != 0)
    {
        ::close(f);
        errno = EINVAL;
        return -1;
    }
    return f;
}

/*
 * SyncDirectoryOf --
 *     Side effects: the directory holding path has its entries written to
 *     the disk (a rename is only lasting after that), where it can.
 */
void SyncDirectoryOf(const char* path)
{
    const std::string p(path);
    const size_t slash = p.find_last_of('/');
    const std::string dir = (slash == std::string::npos) ? std::string(".")
                            : (slash == 0)                ? std::string("/")
                                                          : p.substr(0, slash);
    const int d = OpenNoWait(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (d < 0) return;
    ::fsync(d);
    ::close(d);
}

}  // namespace

nPlatformFile::~nPlatformFile()
{
    this->Close();
}

/*
 * Open --
 *     Opens a regular file. Write access creates the file or truncates an
 *     existing one; exclusive write access only creates one, and refuses
 *     a link at the name. Read-only access needs an existing file. Nothing
 *     that is no regular file is opened, and opening never waits.
 * Results: true on success. Side effects: closes a file already open.
 */
bool nPlatformFile::Open(const char* path, bool read, bool write, bool exclusive)
{
    this->Close();
    int flags = 0;
    if (write)
    {
        flags |= (read ? O_RDWR : O_WRONLY) | O_CREAT | (exclusive ? (O_EXCL | O_NOFOLLOW) : O_TRUNC);
    }
    else
    {
        flags |= O_RDONLY;
    }
    const int f = OpenRegular(path, flags);
    if (f < 0) return false;
    this->fd = f;
    if (!write)
    {
        this->buf.reset(new char[kBufferSize]);
    }
    return true;
}

void nPlatformFile::Close()
{
    if (this->fd >= 0)
    {
        ::close(this->fd);
        this->fd = -1;
    }
    this->buf.reset();
    this->bufStart = 0;
    this->bufLen = 0;
    this->bufPos = 0;
}

long nPlatformFile::RawRead(void* buffer, long numBytes)
{
    char* dst = static_cast<char*>(buffer);
    long total = 0;
    while (total < numBytes)
    {
        const ssize_t n = ::read(this->fd, dst + total, (size_t)(numBytes - total));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        total += n;
    }
    return total;
}

/*
 * Read --
 *     Reads until numBytes are in or the file ends, so that a count
 *     below numBytes always means the end of the file (or an error).
 *     A read-only file serves small reads from its buffer; a read at
 *     least as large as the buffer goes straight to the caller's memory.
 * Results: the number of bytes read. Side effects: advances the position.
 */
long nPlatformFile::Read(void* buffer, long numBytes)
{
    if (!this->buf) return this->RawRead(buffer, numBytes);
    char* dst = static_cast<char*>(buffer);
    long total = 0;
    while (total < numBytes)
    {
        if (this->bufPos < this->bufLen)
        {
            const long n = std::min(numBytes - total, this->bufLen - this->bufPos);
            memcpy(dst + total, this->buf.get() + this->bufPos, (size_t)n);
            this->bufPos += n;
            total += n;
            continue;
        }
        this->bufStart += this->bufLen;
        this->bufLen = 0;
        this->bufPos = 0;
        const long remaining = numBytes - total;
        if (remaining >= kBufferSize)
        {
            const long n = this->RawRead(dst + total, remaining);
            this->bufStart += n;
            total += n;
            break;
        }
        this->bufLen = this->RawRead(this->buf.get(), kBufferSize);
        if (this->bufLen == 0) break;
    }
    return total;
}

long nPlatformFile::Write(const void* buffer, long numBytes)
{
    if (numBytes <= 0) return 0;
    return WriteAll(this->fd, static_cast<const char*>(buffer), numBytes) ? numBytes : 0;
}

/*
 * Seek --
 *     A buffered file moves inside its buffer when the target lies there;
 *     otherwise the buffer is dropped and the system moves.
 * Results: the new position, or -1 (position unchanged) for a target
 *     before the start.
 */
int64_t nPlatformFile::Seek(int64_t offset, Origin origin)
{
    const int whence = (origin == Origin::Start) ? SEEK_SET : (origin == Origin::End) ? SEEK_END : SEEK_CUR;
    if (!this->buf) return ::lseek(this->fd, (off_t)offset, whence);
    int64_t target = offset;
    if (origin == Origin::Current) target += this->bufStart + this->bufPos;
    if (origin == Origin::End) target += this->Size();
    if (target < 0) return -1;
    if (target >= this->bufStart && target <= this->bufStart + this->bufLen)
    {
        this->bufPos = (long)(target - this->bufStart);
        return target;
    }
    const int64_t pos = ::lseek(this->fd, (off_t)target, SEEK_SET);
    if (pos < 0) return -1;
    this->bufStart = pos;
    this->bufLen = 0;
    this->bufPos = 0;
    return pos;
}

int64_t nPlatformFile::Tell() const
{
    if (this->buf) return this->bufStart + this->bufPos;
    return ::lseek(this->fd, 0, SEEK_CUR);
}

int64_t nPlatformFile::Size() const
{
    struct stat st;
    if (::fstat(this->fd, &st) != 0) return -1;
    return st.st_size;
}

uint64_t nPlatformFile::LastWriteTime() const
{
    struct stat st;
    if (::fstat(this->fd, &st) != 0) return 0;
    return ToFileTime(st.st_mtim);
}


bool nPlatformFile::Exists(const char* path)
{
    struct stat st;
    return ::stat(path, &st) == 0 && IsRegular(st);
}

/*
 * Copy --
 *     Copies the bytes and the permission bits of a regular file. A
 *     target that is the source itself (another name of the same file)
 *     is refused before anything is truncated.
 * Results: true when the whole file was copied. Side effects: creates or
 *     overwrites the target.
 */
bool nPlatformFile::Copy(const char* from, const char* to)
{
    nPlatformFile src;
    if (!src.Open(from, true, false)) return false;
    struct stat srcStat;
    if (::fstat(src.fd, &srcStat) != 0) return false;
    struct stat dstStat;
    if (::stat(to, &dstStat) == 0 && dstStat.st_dev == srcStat.st_dev && dstStat.st_ino == srcStat.st_ino)
    {
        return false;
    }
    nPlatformFile dst;
    if (!dst.Open(to, false, true)) return false;
    ::fchmod(dst.fd, srcStat.st_mode & 07777);
    char buffer[64 * 1024];
    for (;;)
    {
        const long n = src.Read(buffer, (long)sizeof(buffer));
        if (n == 0) break;
        if (dst.Write(buffer, n) != n) return false;
    }
    return true;
}

bool nPlatformFile::Delete(const char* path)
{
    return ::unlink(path) == 0;
}

bool nPlatformFile::SetReadOnly(const char* path, bool readOnly)
{
    struct stat st;
    if (::stat(path, &st) != 0) return false;
    const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = readOnly ? (st.st_mode & ~writeBits) : (st.st_mode | S_IWUSR);
    return ::chmod(path, mode & 07777) == 0;
}

bool nPlatformFile::IsReadOnly(const char* path)
{
    struct stat st;
    if (::stat(path, &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

int64_t nPlatformFile::RegularSize(const char* path)
{
    const int f = OpenNoWait(path, O_RDONLY);
    if (f < 0) return -1;
    struct stat st;
    const bool regular = ::fstat(f, &st) == 0 && IsRegular(st);
    ::close(f);
    return regular ? (int64_t)st.st_size : -1;
}

/*
 * Replace --
 *     The new file is synced through a descriptor of its own: the saver
 *     that wrote it has closed it already. The directory's sync is done
 *     where the file system can.
 */
bool nPlatformFile::Replace(const char* from, const char* to)
{
    const int f = OpenRegular(from, O_RDONLY | O_NOFOLLOW);
    if (f < 0) return false;
    const bool synced = ::fsync(f) == 0;
    const int syncErr = errno;
    ::close(f);
    if (!synced)
    {
        errno = syncErr;
        return false;
    }
    if (::rename(from, to) != 0) return false;
    // some file systems cannot sync a directory; the file has its name either way
    SyncDirectoryOf(to);
    return true;
}

bool nPlatformFile::MoveAside(const char* path, const char* aside)
{
    return ::rename(path, aside) == 0;
}

/*
 * WhyNotSavable --
 *     A directory at the name would refuse the rename; a directory that
 *     is read-only, full of entries or on a read-only disk refuses the
 *     new file. Both are found before anything is lost.
 */
std::string nPlatformFile::WhyNotSavable(const char* path)
{
    struct stat st;
    if (::lstat(path, &st) == 0 && S_ISDIR(st.st_mode)) return strerror(EISDIR);
    std::string probe = std::string(path) + ".XXXXXX";
    const int f = ::mkostemp(probe.data(), O_CLOEXEC);
    if (f < 0) return strerror(errno);
    ::close(f);
    ::unlink(probe.c_str());
    return std::string();
}
