#ifndef N_NPKFILEWRAPPER_H
#define N_NPKFILEWRAPPER_H
//------------------------------------------------------------------------------
/**
    @class nNpkFileWrapper
    @ingroup File

    One mounted archive: its path, its tree and two open files on it, one
    for binary and one for text access. Reference counted: the server's
    list holds one count and every open archived file or directory holds
    another, so unmounting never frees entries still in use.
*/
#include "kernel/nrefcounted.h"
#include "util/nnode.h"
#include "util/nstring.h"
#include "file/nnpktoc.h"

class nFile;
class nFileServer2;

class nNpkFileWrapper : public nNode, public nRefCounted
{
public:
    nNpkFileWrapper();

    /// open an archive and read its table; false when it cannot be used
    bool Open(nFileServer2* fs, const char* rootPath, const char* absFilename);
    bool IsOpen() const { return this->isOpen; }
    /// the mangled path of the archive file
    const nString& GetAbsFilename() const { return this->absFilename; }
    nNpkToc& GetTocObject() { return this->tocObject; }
    /// the open archive file for binary or text access
    nFile* GetBinaryFile() const { return this->binaryFile; }
    nFile* GetAsciiFile() const { return this->asciiFile; }
    /// the file offset of the data area
    int GetDataStart() const { return this->dataStart; }

protected:
    /// closes and releases the archive files
    ~nNpkFileWrapper() override;

private:
    /// close and release whichever archive file is there
    void CloseFiles();

    nString absFilename;
    nNpkToc tocObject;
    int dataStart;
    bool isOpen;
    nFile* binaryFile;
    nFile* asciiFile;
};
#endif
