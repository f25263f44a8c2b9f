#ifndef N_MESHARRAY_H
#define N_MESHARRAY_H
//------------------------------------------------------------------------------
/**
    @class nMeshArray
    @ingroup Gfx2

    Several meshes bound together as the vertex streams of one draw.
*/
#include "resource/nresource.h"

class nMeshArray : public nResource
{
public:
    nMeshArray() = default;

protected:
    /// a loaded resource unloads before it dies
    ~nMeshArray() override;
};
#endif
