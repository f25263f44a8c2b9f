//------------------------------------------------------------------------------
//  n3d2_fuzz.cc
//
//  Arbitrary bytes as an n3d2 text mesh file.
//------------------------------------------------------------------------------
#include "meshfuzz.h"
#include "gfx2/nn3d2loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static MeshFuzz fuzz(".n3d2");
    fuzz.Run(std::make_unique<nN3d2Loader>(), data, size);
    return 0;
}
