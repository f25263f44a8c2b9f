//------------------------------------------------------------------------------
//  nnvx2loader.cc
//------------------------------------------------------------------------------
#include "gfx2/nnvx2loader.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"

#include <cstring>

namespace
{

const int HeaderSize = 28;
const int GroupSize = 24;

/// a little-endian 32-bit value
int LoadInt(const uchar* p)
{
    return (int)((uint)p[0] | ((uint)p[1] << 8) | ((uint)p[2] << 16) | ((uint)p[3] << 24));
}

}  // namespace

nNvx2Loader::~nNvx2Loader()
{
    this->CloseFile();
}

bool nNvx2Loader::ReadExact(void* dst, int n, const char* what)
{
    if (this->file->Read(dst, n) != n) return this->Fail("the file ends inside its %s", what);
    return true;
}

/*
 * Open --
 *     Results: true when the file opened and its header and groups agree
 *     with each other and with the file's size; else false, reported, and
 *     the file is closed again.
 *     Side effects: reads the header and the group table.
 */
bool nNvx2Loader::Open(nFileServer2* fs)
{
    n_assert(!this->file);
    n_assert(fs);
    this->file = fs->NewFileObject();
    if (!this->file->Open(this->filename.Get(), "rb"))
    {
        this->Log("nNvx2Loader: could not open file '%s'!\n", this->filename.Get());
        this->CloseFile();
        return false;
    }
    uchar header[HeaderSize];
    bool ok = this->file->Read(header, HeaderSize) == HeaderSize && LoadInt(header) == Magic;
    if (!ok) this->Log("nNvx2Loader: '%s' is not a NVX2 file!\n", this->filename.Get());
    if (ok)
    {
        this->numGroups = LoadInt(header + 4);
        this->numVertices = LoadInt(header + 8);
        this->fileVertexWidth = LoadInt(header + 12);
        this->numTriangles = LoadInt(header + 16);
        this->numEdges = LoadInt(header + 20);
        this->fileVertexComponents = LoadInt(header + 24);
        if (this->numGroups <= 0 || this->numVertices < 0 || this->fileVertexWidth < 0 || this->numTriangles < 0 ||
            this->numEdges < 0 || this->numTriangles > (1 << 29) || this->fileVertexWidth > 64)
        {
            ok = this->Fail("bad counts in the header");
        }
        else
        {
            // every count is below 2^31 and the width below 65: no overflow
            const long long size = (long long)HeaderSize + (long long)GroupSize * this->numGroups +
                                   4LL * this->numVertices * this->fileVertexWidth + 6LL * this->numTriangles +
                                   8LL * this->numEdges;
            if (size > this->file->GetSize())
            {
                ok = this->Fail("the header promises %lld bytes, the file has %d", size, this->file->GetSize());
            }
        }
    }
    if (ok)
    {
        this->numIndices = 3 * this->numTriangles;
        this->groups = nArray<nMeshGroup>(this->numGroups, 16);
        for (int i = 0; ok && i < this->numGroups; i++)
        {
            uchar rec[GroupSize];
            ok = this->ReadExact(rec, GroupSize, "group table");
            nMeshGroup g;
            g.firstVertex = LoadInt(rec);
            g.numVertices = LoadInt(rec + 4);
            const int firstTri = LoadInt(rec + 8);
            const int numTris = LoadInt(rec + 12);
            g.firstEdge = LoadInt(rec + 16);
            g.numEdges = LoadInt(rec + 20);
            if (ok && (firstTri < 0 || numTris < 0 || firstTri > (1 << 29) || numTris > (1 << 29)))
            {
                ok = this->Fail("group %d has a bad triangle range", i);
            }
            if (!ok) break;
            g.firstIndex = 3 * firstTri;
            g.numIndices = 3 * numTris;
            this->groups.Append(g);
        }
    }
    if (ok) ok = nMeshLoader::Open(fs);
    if (!ok) this->CloseFile();
    return ok;
}

void nNvx2Loader::Close()
{
    this->CloseFile();
}

/*
 * ReadVertices --
 *     Results: true when the vertex block was read; else false, reported.
 *     Side effects: fills the buffer with the selected components.
 */
bool nNvx2Loader::ReadVertices(void* buffer, int bufferSize)
{
    n_assert(buffer);
    n_assert(this->file);
    n_assert((this->numVertices * this->vertexWidth * (int)sizeof(float)) == bufferSize);
    if (this->vertexComponents == this->fileVertexComponents)
    {
        n_assert(this->vertexWidth == this->fileVertexWidth);
        return this->ReadExact(buffer, bufferSize, "vertices");
    }
    float fileVertex[64];
    float* dst = static_cast<float*>(buffer);
    for (int v = 0; v < this->numVertices; v++)
    {
        if (!this->ReadExact(fileVertex, this->fileVertexWidth * (int)sizeof(float), "vertices")) return false;
        this->CopyVertex(fileVertex, dst);
        dst += this->vertexWidth;
    }
    return true;
}

/*
 * ReadIndices --
 *     Results: true when the index block was read and each index names a
 *     vertex; else false, reported.
 *     Side effects: fills the buffer with 16- or 32-bit indices.
 */
bool nNvx2Loader::ReadIndices(void* buffer, int bufferSize)
{
    n_assert(buffer);
    n_assert(this->file);
    const int bytes16 = this->numIndices * (int)sizeof(ushort);
    ushort* ptr16 = nullptr;
    if (Index16 == this->indexType)
    {
        n_assert((this->numIndices * int(sizeof(ushort))) == bufferSize);
        ptr16 = static_cast<ushort*>(buffer);
    }
    else
    {
        n_assert((this->numIndices * int(sizeof(uint))) == bufferSize);
        ptr16 = static_cast<ushort*>(n_malloc(bytes16 > 0 ? bytes16 : 1));
        n_assert(ptr16);
    }
    bool ok = this->ReadExact(ptr16, bytes16, "indices");
    for (int i = 0; ok && i < this->numIndices; i++)
    {
        if (ptr16[i] >= this->numVertices) ok = this->Fail("index %d names vertex %d of %d", i, ptr16[i], this->numVertices);
    }
    if (Index32 == this->indexType)
    {
        uint* dst = static_cast<uint*>(buffer);
        for (int i = 0; ok && i < this->numIndices; i++) dst[i] = ptr16[i];
        n_free(ptr16);
    }
    return ok;
}

/*
 * ReadEdges --
 *     Results: false when the file has no edges or its edge block is
 *     short (reported); else true.
 *     Side effects: fills the buffer with the edge records.
 */
bool nNvx2Loader::ReadEdges(void* buffer, int bufferSize)
{
    n_assert(buffer);
    n_assert(this->file);
    n_assert((this->numEdges * 4 * (int)sizeof(ushort)) == bufferSize);
    if (this->numEdges == 0) return false;
    return this->ReadExact(buffer, bufferSize, "edges");
}
