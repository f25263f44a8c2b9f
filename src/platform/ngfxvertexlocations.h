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

    A mesh array may bring a component twice (a morph target's position
    and normal in a second stream): usage index 1 of position, normal,
    colour, tangent and binormal has a location of its own behind the
    first eleven, which fills the sixteen attributes every GL 3.3 device
    has. Later usage indices, and a second set of blend weights or
    indices, have none.
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
    nGfxLocCoord1 = 11,    // vec3, usage index 1 of the position
    nGfxLocNormal1 = 12,   // vec3
    nGfxLocColor1 = 13,    // vec4
    nGfxLocTangent1 = 14,  // vec3
    nGfxLocBinormal1 = 15, // vec3
    nGfxNumVertexLocations = 16,
};

/// the location of a component's bit index at a usage index; -1 when it has none
inline int nGfxVertexLocationOf(int bit, int usageIndex)
{
    if (0 == usageIndex)
    {
        return bit;
    }
    if (1 != usageIndex)
    {
        return -1;
    }
    switch (bit)
    {
        case nGfxLocCoord: return nGfxLocCoord1;
        case nGfxLocNormal: return nGfxLocNormal1;
        case nGfxLocColor: return nGfxLocColor1;
        case nGfxLocTangent: return nGfxLocTangent1;
        case nGfxLocBinormal: return nGfxLocBinormal1;
        default: return -1;
    }
}
#endif
