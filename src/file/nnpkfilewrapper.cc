//------------------------------------------------------------------------------
//  nnpkfilewrapper.cc
//------------------------------------------------------------------------------
#include "file/nnpkfilewrapper.h"
#include "file/nnpktocreader.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"

nNpkFileWrapper::nNpkFileWrapper() :
    dataStart(0),
    isOpen(false),
    binaryFile(nullptr),
    asciiFile(nullptr)
{
    this->SetData(this);
}

nNpkFileWrapper::~nNpkFileWrapper()
{
    this->CloseFiles();
}

void nNpkFileWrapper::CloseFiles()
{
    nFile** files[] = {&this->binaryFile, &this->asciiFile};
    for (nFile** f : files)
    {
        if (*f)
        {
            if ((*f)->IsOpen()) (*f)->Close();
            (*f)->Release();
            *f = nullptr;
        }
    }
    this->isOpen = false;
}

/*
 * Open --
 *     Opens the archive twice ("rb" and "r"), reads the header and the
 *     table of contents. Every failure is printed.
 * Results: true when the archive can be served. Side effects: on failure
 *     the files are closed and released again.
 */
bool nNpkFileWrapper::Open(nFileServer2* fs, const char* rootPath, const char* absFilename)
{
    n_assert(!this->isOpen);
    n_assert(fs);
    n_assert(rootPath);
    n_assert(absFilename);
    this->absFilename = absFilename;
    this->binaryFile = fs->NewFileObject();
    n_assert(this->binaryFile);
    this->asciiFile = fs->NewFileObject();
    n_assert(this->asciiFile);

    if (!this->binaryFile->Open(absFilename, "rb"))
    {
        n_printf("nNpkFileWrapper: could not open file '%s' in read binary mode!\n", absFilename);
        this->CloseFiles();
        return false;
    }
    if (!this->asciiFile->Open(absFilename, "r"))
    {
        n_printf("nNpkFileWrapper: could not open file '%s' in ascii binary mode!\n", absFilename);
        this->CloseFiles();
        return false;
    }

    this->tocObject.SetRootPath(rootPath);
    this->tocObject.SetFileWrapper(this);
    nNpkTocReader reader(this->binaryFile);
    if (!reader.ReadHeader())
    {
        n_printf("Error reading header in npk file '%s'\n", absFilename);
        this->CloseFiles();
        return false;
    }
    if (!reader.ReadToc(this->tocObject, absFilename))
    {
        n_printf("nNpkFileWrapper: could not parse table of contents in file '%s'!\n", absFilename);
        this->CloseFiles();
        return false;
    }
    this->dataStart = reader.GetDataStart();
    this->isOpen = true;
    return true;
}
