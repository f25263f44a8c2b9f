//------------------------------------------------------------------------------
//  nvx2_fuzz.cc
//
//  Arbitrary bytes as an nvx2 binary mesh file.
//------------------------------------------------------------------------------
#include "meshfuzz.h"
#include "gfx2/nnvx2loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static MeshFuzz fuzz(".nvx2");
    fuzz.Run(std::make_unique<nNvx2Loader>(), data, size);
    return 0;
}
