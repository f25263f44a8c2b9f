#ifndef N_INSTANCESTREAM_H
#define N_INSTANCESTREAM_H
//------------------------------------------------------------------------------
/**
    @class nInstanceStream
    @ingroup Gfx2

    Per-instance data drawn with the current mesh.
*/
#include "resource/nresource.h"

class nInstanceStream : public nResource
{
public:
    nInstanceStream() = default;

protected:
    /// a loaded resource unloads before it dies
    ~nInstanceStream() override;
};
#endif
