//------------------------------------------------------------------------------
//  nfile.cc
//------------------------------------------------------------------------------
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"

#include <cstring>

namespace
{

/// GetS reads a line in chunks of this many bytes
constexpr int kLineChunk = 64;

}  // namespace

nFile::nFile() :
    lineNumber(0),
    isOpen(false)
{
}

nFile::~nFile()
{
    if (this->IsOpen())
    {
        this->Close();
    }
}

/*
 * Exists --
 *     Results: true when the mangled name is an existing regular file (a
 *     directory is no file). Side effects: none; the object stays as it is.
 */
bool nFile::Exists(const char* fileName) const
{
    n_assert(fileName != 0);
    const nString path = nFileServer2::Instance()->ManglePath(fileName);
    return nPlatformFile::Exists(path.Get());
}

/*
 * Open --
 *     "r"/"R" asks for reading, "w"/"W" for writing, "x" with "w" for
 *     a new file only (refused when anything, even a link, has the name);
 *     other characters (such as "b") mean nothing. Writing creates the
 *     file or truncates it; there is no append mode. Only regular files
 *     open, and opening never waits (a FIFO is refused).
 * Results: true when the file is open. Side effects: resets the line count.
 */
bool nFile::Open(const char* fileName, const char* accessMode)
{
    n_assert(!this->IsOpen());
    n_assert(fileName);
    n_assert(accessMode);
    const nString path = nFileServer2::Instance()->ManglePath(fileName);
    this->lineNumber = 0;
    bool read = false;
    bool write = false;
    bool exclusive = false;
    for (const char* c = accessMode; *c; c++)
    {
        if (*c == 'r' || *c == 'R') read = true;
        if (*c == 'w' || *c == 'W') write = true;
        if (*c == 'x') exclusive = true;
    }
    this->isOpen = this->handle.Open(path.Get(), read, write, exclusive);
    return this->isOpen;
}

void nFile::Close()
{
    n_assert(this->IsOpen());
    this->handle.Close();
    this->isOpen = false;
}

int nFile::Write(const void* buffer, int numBytes)
{
    n_assert(this->IsOpen());
    return (int)this->handle.Write(buffer, numBytes);
}

int nFile::Read(void* buffer, int numBytes)
{
    n_assert(this->IsOpen());
    return (int)this->handle.Read(buffer, numBytes);
}

int nFile::Tell() const
{
    n_assert(this->IsOpen());
    return (int)this->handle.Tell();
}

/*
 * Seek --
 *     Results: false when the system refuses the move (a position before
 *     the start); a position past the end is allowed. Side effects: moves
 *     the position.
 */
bool nFile::Seek(int offset, nSeekType origin)
{
    n_assert(this->IsOpen());
    nPlatformFile::Origin o = nPlatformFile::Origin::Current;
    if (origin == START) o = nPlatformFile::Origin::Start;
    else if (origin == END) o = nPlatformFile::Origin::End;
    return this->handle.Seek(offset, o) >= 0;
}

/*
 * Eof --
 *     Results: true once the position reaches or passes the end; a seek
 *     past the end must not leave a reader waiting for more data.
 */
bool nFile::Eof() const
{
    n_assert(this->IsOpen());
    return this->Tell() >= this->GetSize();
}

int nFile::GetSize() const
{
    n_assert(this->IsOpen());
    return (int)(uint32_t)this->handle.Size();
}

nFileTime nFile::GetLastWriteTime() const
{
    n_assert(this->IsOpen());
    const uint64_t t = this->handle.LastWriteTime();
    nFileTime ft;
    ft.lowDateTime = (uint)(t & 0xffffffffu);
    ft.highDateTime = (uint)(t >> 32);
    return ft;
}

/*
 * AppendFile --
 *     Copies the whole of other, which must stand at its start, to the
 *     current position of this file.
 * Results: the number of bytes appended. Side effects: advances both files.
 */
int nFile::AppendFile(nFile* other)
{
    n_assert(this->IsOpen());
    n_assert(other);
    const int numBytes = other->GetSize();
    if (numBytes == 0) return 0;
    void* buffer = n_malloc(numBytes);
    n_assert(buffer);
    const int numBytesRead = other->Read(buffer, numBytes);
    n_assert(numBytesRead == numBytes);
    const int numBytesWritten = this->Write(buffer, numBytes);
    n_assert(numBytesWritten == numBytes);
    n_free(buffer);
    return numBytes;
}

/*
 * PutS --
 *     Results: true when every byte of the string was written.
 *     Side effects: counts one line on success; adds no line end.
 */
bool nFile::PutS(const char* buffer)
{
    n_assert(this->IsOpen());
    n_assert(buffer);
    const int len = (int)strlen(buffer);
    if (this->Write(buffer, len) != len) return false;
    this->lineNumber++;
    return true;
}

/*
 * GetS --
 *     Reads one line into buffer, in chunks, and leaves the position just
 *     after its line end. A line ends at "\n", at a NUL byte or at the end
 *     of the data; "\r" stays in the line and the "\n" does not.
 * Results: true for a line; false at the end of the file, and for a line
 *     too long for the buffer (its first numChars - 1 characters are
 *     returned, the position stays after them). A last line without line
 *     end is a line even when its length is a multiple of the chunk size.
 * Side effects: counts one line per call.
 */
bool nFile::GetS(char* buffer, int numChars)
{
    n_assert(this->IsOpen());
    n_assert(buffer);
    n_assert(numChars > 0);
    const int start = this->Tell();
    bool result = false;
    int i = 0;
    for (; i < numChars - 1; i++)
    {
        if (i % kLineChunk == 0)
        {
            const int numRead = this->Read(buffer + i, n_min(kLineChunk, numChars - 1 - i));
            buffer[i + numRead] = 0;
            if (numRead == 0)
            {
                result = (i > 0);
                break;
            }
        }
        if (buffer[i] == '\n' || buffer[i] == 0)
        {
            result = true;
            this->Seek(start + i + 1, START);
            break;
        }
    }
    buffer[i] = 0;
    this->lineNumber++;
    return result;
}
