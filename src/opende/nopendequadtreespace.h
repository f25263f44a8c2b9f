#ifndef N_OPENDEQUADTREESPACE_H
#define N_OPENDEQUADTREESPACE_H
//------------------------------------------------------------------------------
/**
    @class nOpendeQuadTreeSpace
    @ingroup Opende

    A space that files its geoms in a quadtree of fixed centre, extents and
    depth (ODE's quadtree space). It is made by Create2; the plain Create
    cannot give those and makes nothing.
*/
#include "opende/nopendespace.h"

class nOpendeQuadTreeSpace : public nOpendeSpace
{
public:
    nOpendeQuadTreeSpace() = default;
    /// reports "Not implemented!" and makes nothing
    bool Create(const char* spacePath) override;
    void Create2(const char* spacePath, const vector3& center, const vector3& extents, int depth);

protected:
    ~nOpendeQuadTreeSpace() override = default;
};
#endif
