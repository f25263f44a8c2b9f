#ifndef N_NVX2LOADER_H
#define N_NVX2LOADER_H
//------------------------------------------------------------------------------
/**
    @class nNvx2Loader
    @ingroup Gfx2

    Reads the binary mesh format nvx2 (little-endian): a 28-byte header
    with the magic 'NVX2', six 32-bit numbers per group, the vertices as
    floats, the triangles as 16-bit indices and the edges as four 16-bit
    values each.
*/
#include "gfx2/nmeshloader.h"

class nNvx2Loader : public nMeshLoader
{
public:
    nNvx2Loader() = default;
    ~nNvx2Loader() override;

    bool Open(nFileServer2* fs) override;
    void Close() override;
    bool ReadVertices(void* buffer, int bufferSize) override;
    bool ReadIndices(void* buffer, int bufferSize) override;
    bool ReadEdges(void* buffer, int bufferSize) override;

    /// the magic as the first four bytes read as a little-endian number
    static const int Magic = 0x4E565832;

private:
    /// read exactly n bytes; false (reported) when the file is short
    bool ReadExact(void* dst, int n, const char* what);
};
#endif
