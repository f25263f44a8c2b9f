//------------------------------------------------------------------------------
//  nmesh2.cc
//------------------------------------------------------------------------------
#include "gfx2/nmesh2.h"

nMesh2::~nMesh2()
{
    if (!this->IsUnloaded())
    {
        this->Unload();
    }
}

/*
 * GetVertexWidthFromMask --
 *     Results: the sum of the widths in floats of the mask's components.
 *     Side effects: none.
 */
int nMesh2::GetVertexWidthFromMask(int compMask)
{
    n_assert(0 != compMask);
    static const int widths[] = {3, 3, 2, 2, 2, 2, 4, 3, 3, 4, 4};
    int width = 0;
    for (int bit = 0; bit < int(sizeof(widths) / sizeof(widths[0])); bit++)
    {
        if (compMask & (1 << bit)) width += widths[bit];
    }
    return width;
}

void nMesh2::SetVertexComponents(int compMask)
{
    this->vertexComponents = compMask;
    this->vertexWidth = GetVertexWidthFromMask(compMask);
}

float* nMesh2::LockVertices()
{
    return nullptr;
}

void nMesh2::UnlockVertices()
{
}

ushort* nMesh2::LockIndices()
{
    return nullptr;
}

void nMesh2::UnlockIndices()
{
}
