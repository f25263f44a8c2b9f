//------------------------------------------------------------------------------
//  nnpktocreader.cc
//------------------------------------------------------------------------------
#include "file/nnpktocreader.h"
#include "file/nnpktoc.h"
#include "kernel/nfile.h"

#include <cstring>
#include <string>

namespace
{

constexpr uint kMagic = 0x4E504B30;  // "NPK0"
constexpr uint kTagDir = 0x4449525F;  // "DIR_"
constexpr uint kTagFile = 0x46494C45;  // "FILE"
constexpr uint kTagDirEnd = 0x44454E44;  // "DEND"

/*
 * NoNameRoot --
 *     Results: the archive's file name without directory and extension,
 *     lower-cased: the name of a root directory stored as "<noname>".
 */
std::string NoNameRoot(const char* archiveName)
{
    std::string name = archiveName;
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name = name.substr(0, dot);
    for (char& c : name)
    {
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    }
    return name;
}

}  // namespace

nNpkTocReader::nNpkTocReader(nFile* f) :
    file(f),
    archiveName(""),
    fileSize(0),
    dataStart(0),
    bufPos(0),
    bufLen(0),
    buffer{}
{
    n_assert(f);
}

bool nNpkTocReader::Fill()
{
    this->bufPos = 0;
    this->bufLen = this->file->Read(this->buffer, (int)sizeof(this->buffer));
    return this->bufLen > 0;
}

bool nNpkTocReader::ReadBytes(void* dst, int numBytes)
{
    char* out = static_cast<char*>(dst);
    while (numBytes > 0)
    {
        if (this->bufPos == this->bufLen && !this->Fill()) return false;
        const int n = n_min(numBytes, this->bufLen - this->bufPos);
        memcpy(out, this->buffer + this->bufPos, (size_t)n);
        this->bufPos += n;
        out += n;
        numBytes -= n;
    }
    return true;
}

bool nNpkTocReader::ReadU32(uint& value)
{
    uchar b[4];
    if (!this->ReadBytes(b, 4)) return false;
    value = (uint)b[0] | ((uint)b[1] << 8) | ((uint)b[2] << 16) | ((uint)b[3] << 24);
    return true;
}

bool nNpkTocReader::ReadU16(ushort& value)
{
    uchar b[2];
    if (!this->ReadBytes(b, 2)) return false;
    value = (ushort)(b[0] | (b[1] << 8));
    return true;
}

/*
 * ReadName --
 *     Results: false when the name is empty, ".", "..", or holds a path
 *     separator (no path could reach it, and a listing would report a
 *     path outside the archive), longer than MAXNAMELEN, or the file ends
 *     inside it. Side effects: name holds the terminated name.
 */
bool nNpkTocReader::ReadName(char* name)
{
    ushort len;
    if (!this->ReadU16(len)) return this->Refuse("truncated name length");
    if (len == 0) return this->Refuse("empty name");
    if (len > MAXNAMELEN) return this->Refuse("name too long");
    if (!this->ReadBytes(name, len)) return this->Refuse("truncated name");
    name[len] = 0;
    if (strlen(name) != len) return this->Refuse("NUL byte in name");
    if (strpbrk(name, "/\\") != nullptr) return this->Refuse("path separator in name");
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return this->Refuse("dot name");
    return true;
}

bool nNpkTocReader::Refuse(const char* why) const
{
    n_printf("nNpkTocReader: %s in '%s'\n", why, this->archiveName);
    return false;
}

/*
 * ReadHeader --
 *     Results: true when the file starts with the magic and a data offset.
 *     Side effects: reads from the start of the file.
 */
bool nNpkTocReader::ReadHeader()
{
    this->fileSize = n_max(0, this->file->GetSize());
    this->file->Seek(0, nFile::START);
    this->bufPos = this->bufLen = 0;
    uint magic, blockLen, dataOffset;
    if (!this->ReadU32(magic) || magic != kMagic) return false;
    if (!this->ReadU32(blockLen) || !this->ReadU32(dataOffset)) return false;
    if ((long long)dataOffset + 8 > (long long)this->fileSize) return false;
    this->dataStart = (int)dataOffset + 8;
    return true;
}

/*
 * ReadToc --
 *     Reads records after the header until a tag that is none of the
 *     three (or the end of the file). Refused: an empty name, "." or
 *     "..", a name with a NUL byte or a path separator, a name longer
 *     than MAXNAMELEN, a second root, a FILE outside a directory, a DEND
 *     without directory, a directory left open, nesting deeper than the
 *     table's stack, a file reaching past the end of the archive, a
 *     record cut short, or no root at all.
 * Results: true for a sound table. Side effects: fills toc; on failure
 *     the caller discards it.
 */
bool nNpkTocReader::ReadToc(nNpkToc& toc, const char* name)
{
    n_assert(name);
    this->archiveName = name;
    const long long dataSize = (long long)this->fileSize - this->dataStart;
    char entryName[MAXNAMELEN + 1];
    for (;;)
    {
        uint tag, blockLen;
        if (!this->ReadU32(tag)) break;
        if (tag != kTagDir && tag != kTagFile && tag != kTagDirEnd) break;
        if (!this->ReadU32(blockLen)) return this->Refuse("truncated record");
        if (tag == kTagDir)
        {
            if (!this->ReadName(entryName)) return false;
            if (!toc.GetCurrentDirEntry() && toc.GetRootEntry()) return this->Refuse("second root directory");
            if (toc.GetDepth() >= nNpkToc::STACKSIZE) return this->Refuse("directories nested too deep");
            if (!toc.GetCurrentDirEntry() && strcmp(entryName, "<noname>") == 0)
            {
                n_strncpyz(entryName, NoNameRoot(name).c_str(), sizeof(entryName));
                // ".npk" or "..npk" leave no name a path could reach
                if (!entryName[0] || strcmp(entryName, ".") == 0)
                {
                    return this->Refuse("archive name that gives its root directory no name");
                }
            }
            toc.BeginDirEntry(entryName);
        }
        else if (tag == kTagFile)
        {
            uint offset, length;
            if (!this->ReadU32(offset) || !this->ReadU32(length)) return this->Refuse("truncated file record");
            if (!this->ReadName(entryName)) return false;
            if (!toc.GetCurrentDirEntry()) return this->Refuse("file outside any directory");
            if ((long long)offset + (long long)length > dataSize) return this->Refuse("file data past the end");
            toc.AddFileEntry(entryName, (int)offset + this->dataStart, (int)length);
        }
        else
        {
            if (!toc.GetCurrentDirEntry()) return this->Refuse("unbalanced DEND");
            toc.EndDirEntry();
        }
    }
    if (!toc.GetRootEntry()) return this->Refuse("no root directory");
    if (toc.GetCurrentDirEntry()) return this->Refuse("directory not closed");
    return true;
}
