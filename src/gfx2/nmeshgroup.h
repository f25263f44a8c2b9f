#ifndef N_MESHGROUP_H
#define N_MESHGROUP_H
//------------------------------------------------------------------------------
/**
    @class nMeshGroup
    @ingroup Gfx2

    One sub-mesh: its vertex, index and edge ranges and its bounding box.
*/
#include "mathlib/bbox.h"

class nMeshGroup
{
public:
    int firstVertex = 0;
    int numVertices = 0;
    int firstIndex = 0;
    int numIndices = 0;
    int firstEdge = 0;
    int numEdges = 0;
    bbox3 box;
};
#endif
