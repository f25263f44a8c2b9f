#ifndef N_NPKTOCREADER_H
#define N_NPKTOCREADER_H
//------------------------------------------------------------------------------
/**
    @class nNpkTocReader
    @ingroup File

    Reads the header and the table of contents of an npk archive from an
    open file into an nNpkToc. The archive is outside data: every rule of
    the table is checked before the tree is touched, so a broken archive
    is refused without overrunning a buffer or tripping an assertion.

    Layout (little-endian): magic "NPK0", block length, data offset (the
    data area starts 8 bytes after it), then records: "DIR_" name,
    "FILE" offset length name, "DEND"; any other tag ends the table.
*/
#include "kernel/ntypes.h"

class nFile;
class nNpkToc;

class nNpkTocReader
{
public:
    /// the longest name an archive may store
    enum { MAXNAMELEN = N_MAXPATH - 1 };

    explicit nNpkTocReader(nFile* file);

    /// read the header; false for a short file or a wrong magic
    bool ReadHeader();
    /// the file offset where the data area begins (after ReadHeader)
    int GetDataStart() const { return this->dataStart; }
    /// read the records into an empty table; false for a broken table
    bool ReadToc(nNpkToc& toc, const char* archiveName);

private:
    /// fill the read buffer; false at the end of the file
    bool Fill();
    /// copy the next bytes; false when the file ends first
    bool ReadBytes(void* dst, int numBytes);
    bool ReadU32(uint& value);
    bool ReadU16(ushort& value);
    /// a 16-bit length and that many name bytes
    bool ReadName(char* name);
    /// a table rule was broken: print why, result false
    bool Refuse(const char* why) const;

    nFile* file;
    const char* archiveName;
    int fileSize;
    int dataStart;
    int bufPos;
    int bufLen;
    char buffer[4096];
};
#endif
