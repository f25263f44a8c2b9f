//------------------------------------------------------------------------------
//  nnpkfile.cc
//------------------------------------------------------------------------------
#include "file/nnpkfile.h"
#include "file/nnpkfileserver.h"
#include "file/nnpkfilewrapper.h"
#include "file/nnpktocentry.h"

#include <cstring>

nNpkFile::nNpkFile() :
    tocEntry(nullptr),
    isNpkFile(false),
    isAsciiAccess(false),
    filePos(0)
{
}

nNpkFile::~nNpkFile()
{
    if (this->IsOpen())
    {
        this->Close();
    }
}

void nNpkFile::ResetNpkFields()
{
    if (this->tocEntry)
    {
        this->tocEntry->GetFileWrapper()->Release();
    }
    this->tocEntry = nullptr;
    this->isNpkFile = false;
    this->isAsciiAccess = false;
    this->filePos = 0;
}

/*
 * Exists --
 *     Results: true for a plain file, else for a file entry of a mounted
 *     archive at the mangled path.
 */
bool nNpkFile::Exists(const char* fileName) const
{
    if (nFile::Exists(fileName)) return true;
    nNpkFileServer* fs = nNpkFileServer::Instance();
    const nNpkTocEntry* entry = fs->FindTocEntry(fs->ManglePath(fileName).Get());
    return entry && entry->GetType() == nNpkTocEntry::FILE;
}

/*
 * Open --
 *     A plain file wins. Failing that, a file of a mounted archive opens
 *     for reading (text access when the mode has no "b"); a mode that
 *     asks to write never falls back to an archive, which cannot be
 *     written, and neither does a directory entry.
 * Results: true when open. Side effects: an archived file holds its
 *     archive until it closes.
 */
bool nNpkFile::Open(const char* filename, const char* accessMode)
{
    n_assert(!this->IsOpen());
    n_assert(filename);
    n_assert(accessMode);
    this->ResetNpkFields();
    this->lineNumber = 0;
    if (nFile::Open(filename, accessMode)) return true;
    if (strchr(accessMode, 'w') || strchr(accessMode, 'W')) return false;

    nNpkFileServer* fs = nNpkFileServer::Instance();
    nNpkTocEntry* entry = fs->FindTocEntry(fs->ManglePath(filename).Get());
    if (!entry || entry->GetType() != nNpkTocEntry::FILE) return false;
    entry->GetFileWrapper()->AddRef();
    this->tocEntry = entry;
    this->isNpkFile = true;
    this->isAsciiAccess = (strchr(accessMode, 'b') == nullptr);
    this->filePos = 0;
    this->isOpen = true;
    return true;
}

void nNpkFile::Close()
{
    n_assert(this->IsOpen());
    if (this->isNpkFile)
    {
        this->ResetNpkFields();
        this->isOpen = false;
    }
    else
    {
        nFile::Close();
    }
}

int nNpkFile::Write(const void* buffer, int numBytes)
{
    n_assert(this->IsOpen());
    if (this->isNpkFile)
    {
        n_error("nNpkFile: Writing to npk files not supported!");
    }
    return nFile::Write(buffer, numBytes);
}

/*
 * Read --
 *     Results: the bytes read; an archived file never reads past its own
 *     end. Side effects: advances the position.
 */
int nNpkFile::Read(void* buffer, int numBytes)
{
    n_assert(this->IsOpen());
    if (!this->isNpkFile) return nFile::Read(buffer, numBytes);
    n_assert(this->tocEntry);
    nNpkFileWrapper* fileWrapper = this->tocEntry->GetFileWrapper();
    n_assert(fileWrapper);
    nFile* file = this->isAsciiAccess ? fileWrapper->GetAsciiFile() : fileWrapper->GetBinaryFile();
    n_assert(file);
    const int fileLength = this->tocEntry->GetFileLength();
    n_assert(this->filePos <= fileLength);
    if (numBytes <= 0) return 0;
    if ((long long)this->filePos + numBytes >= fileLength)
    {
        numBytes = fileLength - this->filePos;
    }
    if (numBytes == 0) return 0;
    file->Seek(this->tocEntry->GetFileOffset() + this->filePos, START);
    const int numRead = file->Read(buffer, numBytes);
    this->filePos += numRead;
    return numRead;
}

int nNpkFile::Tell() const
{
    n_assert(this->IsOpen());
    return this->isNpkFile ? this->filePos : nFile::Tell();
}

/*
 * Seek --
 *     Archived files: the position is clamped to [0, length].
 * Results: true for an archived file; the plain result otherwise.
 */
bool nNpkFile::Seek(int offset, nSeekType origin)
{
    n_assert(this->IsOpen());
    if (!this->isNpkFile) return nFile::Seek(offset, origin);
    const long long fileLength = this->tocEntry->GetFileLength();
    long long pos = 0;
    switch (origin)
    {
        case CURRENT: pos = (long long)this->filePos + offset; break;
        case START: pos = offset; break;
        case END: pos = fileLength + offset; break;
        default: pos = 0; break;
    }
    if (pos < 0) pos = 0;
    if (pos > fileLength) pos = fileLength;
    this->filePos = (int)pos;
    return true;
}

bool nNpkFile::Eof() const
{
    n_assert(this->IsOpen());
    if (!this->isNpkFile) return nFile::Eof();
    return this->filePos >= this->tocEntry->GetFileLength();
}

int nNpkFile::GetSize() const
{
    n_assert(this->IsOpen());
    return this->isNpkFile ? this->tocEntry->GetFileLength() : nFile::GetSize();
}

nFileTime nNpkFile::GetLastWriteTime() const
{
    n_assert(this->IsOpen());
    return this->isNpkFile ? nFileTime() : nFile::GetLastWriteTime();
}
