#ifndef N_MESHARRAY_H
#define N_MESHARRAY_H
//------------------------------------------------------------------------------
/**
    @class nMeshArray
    @ingroup Gfx2

    Up to 16 meshes bound together as the vertex streams of one draw. Each
    stream has a file name and usage for the mesh it loads, or a mesh given
    directly; each stream's mesh is a shared mesh resource of its own.
*/
#include "resource/nresource.h"
#include "util/nstring.h"

class nMesh2;

class nMeshArray : public nResource
{
public:
    enum
    {
        MaxVertexStreams = 16,
    };

    nMeshArray();

    // the resource's own file name stays reachable beside the streams'
    using nResource::GetFilename;
    using nResource::SetFilename;

    /// the file of a stream's mesh; the array unloads first, so the next
    /// load takes the new file
    virtual void SetFilename(int stream, const nString& name);
    /// hold that mesh (one more reference) in the stream
    virtual void SetMesh(int stream, nMesh2* mesh);
    void SetUsage(int stream, int usage);
    int GetUsage(int stream) const;
    const nString& GetFilename(int stream) const;
    /// the mesh of a stream, or null
    nMesh2* GetMeshAt(int stream) const;

protected:
    /// a loaded resource unloads before it dies
    ~nMeshArray() override;
    bool LoadResource() override;
    void UnloadResource() override;

private:
    static void CheckStream(int stream) { n_assert((stream >= 0) && (stream < MaxVertexStreams)); }
    void ReleaseMesh(int stream);

    int usages[MaxVertexStreams];
    nMesh2* meshes[MaxVertexStreams];
    nString filenames[MaxVertexStreams];
};
#endif
