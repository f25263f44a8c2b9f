#ifndef N_MESH2_H
#define N_MESH2_H
//------------------------------------------------------------------------------
/**
    @class nMesh2
    @ingroup Gfx2

    A mesh resource: vertex and index data drawn by the graphics server.
*/
#include "resource/nresource.h"

class nMesh2 : public nResource
{
public:
    nMesh2() = default;

protected:
    /// a loaded resource unloads before it dies
    ~nMesh2() override;
};
#endif
