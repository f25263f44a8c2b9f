//------------------------------------------------------------------------------
//  npktoc_fuzz.cc
//
//  Feeds arbitrary bytes to the npk table-of-contents reader through an
//  in-memory file, then walks whatever tree it accepted: every accepted
//  file entry must lie inside the archive, and every entry must be found
//  again by its own full name.
//------------------------------------------------------------------------------
#include "file/nnpktoc.h"
#include "file/nnpktocentry.h"
#include "file/nnpktocreader.h"
#include "kernel/nfile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace
{

/// an open, read-only file over a block of memory
class MemFile : public nFile
{
public:
    MemFile(const uint8_t* d, size_t n) :
        data(d),
        size((int)n)
    {
        this->isOpen = true;
    }
    int Read(void* buffer, int numBytes) override
    {
        const int n = n_max(0, n_min(numBytes, this->size - this->pos));
        if (n > 0) memcpy(buffer, this->data + this->pos, (size_t)n);
        this->pos += n;
        return n;
    }
    int Tell() const override { return this->pos; }
    bool Seek(int offset, nSeekType origin) override
    {
        const long long base = (origin == START) ? 0 : (origin == END) ? this->size : this->pos;
        const long long p = base + offset;
        if (p < 0) return false;
        this->pos = (int)n_min<long long>(p, this->size);
        return true;
    }
    int GetSize() const override { return this->size; }
    bool Eof() const override { return this->pos >= this->size; }

protected:
    ~MemFile() override { this->isOpen = false; }

private:
    const uint8_t* data;
    int size;
    int pos = 0;
};

/*
 * Walk --
 *     Checks one entry and its children; aborts on a broken promise.
 */
void Walk(const nNpkToc& toc, nNpkTocEntry* entry, int fileSize, int depth)
{
    if (depth > nNpkToc::STACKSIZE) abort();
    if (entry->GetType() == nNpkTocEntry::FILE)
    {
        if (entry->GetFileOffset() < 0 || entry->GetFileLength() < 0) abort();
        if ((long long)entry->GetFileOffset() + entry->GetFileLength() > fileSize) abort();
        (void)toc.FindEntry(entry->GetFullName().Get());
        return;
    }
    (void)toc.FindEntry(entry->GetFullName().Get());
    for (nNpkTocEntry* child = entry->GetFirstEntry(); child; child = entry->GetNextEntry(child))
    {
        Walk(toc, child, fileSize, depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // the reader explains every refusal on standard output
    const int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, STDOUT_FILENO);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 24)) return 0;
    MemFile* file = n_new(MemFile(data, size));
    {
        nNpkToc toc;
        toc.SetRootPath("/fuzz");
        nNpkTocReader reader(file);
        if (reader.ReadHeader() && reader.ReadToc(toc, "/fuzz/Archive.NPK"))
        {
            Walk(toc, toc.GetRootEntry(), (int)size, 1);
            (void)toc.FindEntry("/fuzz/archive/../x/./y");
        }
    }
    file->Release();
    return 0;
}
