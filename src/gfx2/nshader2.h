#ifndef N_SHADER2_H
#define N_SHADER2_H
//------------------------------------------------------------------------------
/**
    @class nShader2
    @ingroup Gfx2

    A shader resource: the effect the graphics server draws with.
*/
#include "resource/nresource.h"

class nShader2 : public nResource
{
public:
    nShader2() = default;

protected:
    /// a loaded resource unloads before it dies
    ~nShader2() override;
};
#endif
