#ifndef N_GFXVERTEXLOCATIONS_H
#define N_GFXVERTEXLOCATIONS_H
//------------------------------------------------------------------------------
/**
    The fixed vertex attribute location of each vertex component. Meshes
    bind their components to these locations and vertex programs declare
    their inputs at them ("layout(location = 0) in vec3 position;" ...),
    so any program draws any mesh without a per-pair lookup. The location
    of a component is the index of its bit in the component mask
    (coord 0x001 -> 0 ... jindices 0x400 -> 10). A program input of a
    component the mesh lacks reads GL's constant attribute value.
*/
enum nGfxVertexLocation
{
    nGfxLocCoord = 0,     // vec3, the position
    nGfxLocNormal = 1,    // vec3
    nGfxLocUv0 = 2,       // vec2
    nGfxLocUv1 = 3,       // vec2
    nGfxLocUv2 = 4,       // vec2
    nGfxLocUv3 = 5,       // vec2
    nGfxLocColor = 6,     // vec4
    nGfxLocTangent = 7,   // vec3
    nGfxLocBinormal = 8,  // vec3
    nGfxLocWeights = 9,   // vec4, the blend weights
    nGfxLocJIndices = 10, // vec4, the blend (joint) indices as floats
    nGfxNumVertexLocations = 11,
};
#endif
