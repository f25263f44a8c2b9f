#ifndef N_INSTANCESTREAM_H
#define N_INSTANCESTREAM_H
//------------------------------------------------------------------------------
/**
    @class nInstanceStream
    @ingroup Gfx2

    Per-instance data drawn with the current mesh.
*/
#include "resource/nresource.h"
#include "gfx2/nshaderstate.h"
#include "util/narray.h"

class nInstanceStream : public nResource
{
public:
    nInstanceStream() = default;

    /// one per-instance value: its type (Float, Float4 or Matrix44) and parameter
    struct Component
    {
        nShaderState::Type type = nShaderState::Void;
        nShaderState::Param param = nShaderState::InvalidParameter;
        int offset = 0;
        Component() = default;
        Component(nShaderState::Type t, nShaderState::Param p) : type(t), param(p) {}
    };
    typedef nArray<Component> Declaration;

protected:
    /// a loaded resource unloads before it dies
    ~nInstanceStream() override;
};
#endif
