//------------------------------------------------------------------------------
//  nvideofilesource.cc
//------------------------------------------------------------------------------
#include "video/nvideofilesource.h"
#include "kernel/nfile.h"

#include <climits>

nVideoFileSource::nVideoFileSource(nFile* file) :
    file(file)
{
    n_assert(file);
}

nVideoFileSource::~nVideoFileSource()
{
    if (this->file->IsOpen())
    {
        this->file->Close();
    }
    this->file->Release();
}

int nVideoFileSource::Read(unsigned char* buffer, int size)
{
    return size > 0 ? this->file->Read(buffer, size) : 0;
}

/// Results: false for offsets the file's 32-bit positions cannot reach.
bool nVideoFileSource::Seek(int64_t offset)
{
    if (offset < 0 || offset > INT_MAX)
    {
        return false;
    }
    return this->file->Seek((int)offset, nFile::START);
}

int64_t nVideoFileSource::Tell() const
{
    return this->file->Tell();
}

int64_t nVideoFileSource::Size() const
{
    return this->file->GetSize();
}
