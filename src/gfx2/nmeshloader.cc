//------------------------------------------------------------------------------
//  nmeshloader.cc
//------------------------------------------------------------------------------
#include "gfx2/nmeshloader.h"
#include "kernel/nfile.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{

struct ComponentInfo
{
    int bit;
    const char* name;
    int width;
};

const ComponentInfo Components[nMeshLoader::NumVertexComponents] = {
    {nMeshLoader::Coord, "coord", 3},       {nMeshLoader::Normal, "normal", 3},
    {nMeshLoader::Uv0, "uv0", 2},           {nMeshLoader::Uv1, "uv1", 2},
    {nMeshLoader::Uv2, "uv2", 2},           {nMeshLoader::Uv3, "uv3", 2},
    {nMeshLoader::Color, "color", 4},       {nMeshLoader::Tangent, "tangent", 3},
    {nMeshLoader::Binormal, "binormal", 3}, {nMeshLoader::Weights, "weights", 4},
    {nMeshLoader::JIndices, "jindices", 4},
};

}  // namespace

nMeshLoader::nMeshLoader() :
    fileServer(nullptr),
    file(nullptr),
    indexType(Index16),
    numGroups(0),
    numVertices(0),
    vertexWidth(0),
    fileVertexWidth(0),
    numTriangles(0),
    numIndices(0),
    numEdges(0),
    vertexComponents(0),
    fileVertexComponents(0),
    validVertexComponents(0xffff)
{
}

/*
 * ~nMeshLoader --
 *     Side effects: asserts that the reader was closed.
 */
nMeshLoader::~nMeshLoader()
{
    n_assert(0 == this->file);
}

/*
 * GetComponentWidth --
 *     Results: the floats of one component bit, 0 for anything else.
 */
int nMeshLoader::GetComponentWidth(int component)
{
    for (const ComponentInfo& c : Components)
    {
        if (c.bit == component) return c.width;
    }
    return 0;
}

/*
 * GetComponentByName --
 *     Results: the bit of a component name ("coord" ... "jindices"), 0 for
 *     any other word.
 */
int nMeshLoader::GetComponentByName(const char* name)
{
    for (const ComponentInfo& c : Components)
    {
        if (0 == strcmp(c.name, name)) return c.bit;
    }
    return 0;
}

/*
 * GetVertexWidthFromMask --
 *     Results: the floats per vertex of the mask.
 *     Side effects: asserts a non-empty mask; bits above the table are a
 *     programming error (files are checked before they get here).
 */
int nMeshLoader::GetVertexWidthFromMask(int compMask)
{
    n_assert(0 != compMask);
    n_assert(0 == (compMask & ~AllComponents));
    int width = 0;
    for (const ComponentInfo& c : Components)
    {
        if (compMask & c.bit) width += c.width;
    }
    return width;
}

void nMeshLoader::SetFilename(const nString& name)
{
    n_assert(!name.IsEmpty());
    this->filename = name;
}

void nMeshLoader::SetValidVertexComponents(int components)
{
    n_assert(components);
    this->validVertexComponents = components;
}

/*
 * Fail --
 *     Results: false.
 *     Side effects: logs "<file name>: <message>".
 */
bool nMeshLoader::Fail(const char* fmt, ...)
{
    char msg[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(msg, sizeof(msg), fmt, args);
    va_end(args);
    this->Log("nMeshLoader: '%s': %s\n", this->filename.Get(), msg);
    return false;
}

/*
 * Log --
 *     Side effects: n_printf's, unless the reader is quiet.
 */
void nMeshLoader::Log(const char* fmt, ...)
{
    if (this->quiet)
    {
        return;
    }
    char msg[1024];
    va_list args;
    va_start(args, fmt);
    vsnprintf(msg, sizeof(msg), fmt, args);
    va_end(args);
    n_printf("%s", msg);
}

/*
 * CloseFile --
 *     Side effects: closes and releases the file when one is open.
 */
void nMeshLoader::CloseFile()
{
    if (this->file)
    {
        if (this->file->IsOpen()) this->file->Close();
        this->file->Release();
        this->file = nullptr;
    }
}

/*
 * CheckHeader --
 *     Results: true when the file has vertices, the counts, the
 *     components and every group's ranges agree and every buffer fits
 *     MaxBufferBytes; else false, reported. The edge range of a group is
 *     checked where the file gave one: old n3d2 group lines give none.
 */
bool nMeshLoader::CheckHeader()
{
    if (this->numGroups <= 0) return this->Fail("the file has no groups");
    if (this->numVertices < 0 || this->numIndices < 0 || this->numEdges < 0)
    {
        return this->Fail("negative vertex, triangle or edge count");
    }
    // nothing could draw such a mesh: every draw asks for its vertex buffer
    if (0 == this->numVertices) return this->Fail("the file has no vertices");
    // sizes in a wide type: a sparse file's size admits counts whose byte
    // sizes wrap in int and would make a buffer too small for its data
    if ((long long)this->numVertices * this->fileVertexWidth * (long long)sizeof(float) > MaxBufferBytes ||
        (long long)this->numIndices * (long long)sizeof(uint) > MaxBufferBytes ||
        (long long)this->numEdges * 4 * (long long)sizeof(ushort) > MaxBufferBytes)
    {
        return this->Fail("the counts need buffers beyond %lld bytes", MaxBufferBytes);
    }
    if (0 == this->fileVertexComponents) return this->Fail("the file names no vertex components");
    if (this->fileVertexComponents & ~AllComponents)
    {
        return this->Fail("unknown vertex components 0x%x", this->fileVertexComponents);
    }
    const int width = GetVertexWidthFromMask(this->fileVertexComponents);
    if (this->fileVertexWidth != width)
    {
        return this->Fail("vertex width %d does not match the components' width %d", this->fileVertexWidth, width);
    }
    for (int i = 0; i < this->groups.Size(); i++)
    {
        const nMeshGroup& g = this->groups[i];
        if (g.firstVertex < 0 || g.numVertices < 0 || g.firstIndex < 0 || g.numIndices < 0 || g.firstEdge < 0 ||
            g.numEdges < 0)
        {
            return this->Fail("group %d has a negative range", i);
        }
        if ((long long)g.firstVertex + g.numVertices > this->numVertices ||
            (long long)g.firstIndex + g.numIndices > this->numIndices)
        {
            return this->Fail("group %d lies outside the file's vertices or indices", i);
        }
        const bool edgesGiven = i >= this->edgeRangeGiven.Size() || this->edgeRangeGiven[i];
        if (edgesGiven && (long long)g.firstEdge + g.numEdges > this->numEdges)
        {
            return this->Fail("group %d lies outside the file's edges", i);
        }
    }
    this->vertexComponents = this->validVertexComponents & this->fileVertexComponents;
    if (0 == this->vertexComponents) return this->Fail("the file has none of the wanted vertex components");
    this->vertexWidth = GetVertexWidthFromMask(this->vertexComponents);
    return true;
}

/*
 * Open --
 *     The readers call this after reading their header.
 *     Results: true when the header is sound; else false, reported.
 *     Side effects: sets the handed-out components and their width.
 */
bool nMeshLoader::Open(nFileServer2* fs)
{
    n_assert(fs);
    this->fileServer = fs;
    return this->CheckHeader();
}

void nMeshLoader::Close()
{
    n_error("nMeshLoader::Close() called!");
}

bool nMeshLoader::ReadVertices(void*, int)
{
    n_error("nMeshLoader::ReadVertices() called!");
}

bool nMeshLoader::ReadIndices(void*, int)
{
    n_error("nMeshLoader::ReadIndices() called!");
}

bool nMeshLoader::ReadEdges(void*, int)
{
    n_error("nMeshLoader::ReadEdges() called!");
}

/*
 * CopyVertex --
 *     Side effects: writes the selected components of the file vertex src
 *     (fileVertexWidth floats) to dst (vertexWidth floats).
 */
void nMeshLoader::CopyVertex(const float* src, float* dst) const
{
    for (const ComponentInfo& c : Components)
    {
        if (!(this->fileVertexComponents & c.bit)) continue;
        if (this->vertexComponents & c.bit)
        {
            memcpy(dst, src, c.width * sizeof(float));
            dst += c.width;
        }
        src += c.width;
    }
}
