//------------------------------------------------------------------------------
//  dds_fuzz.cc
//
//  Arbitrary bytes as a DDS file; every byte of every image found is read.
//------------------------------------------------------------------------------
#include "gfx2/nddsreader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    nDDSReader reader;
    std::string error;
    if (!reader.Parse(data, size, error))
    {
        return 0;
    }
    unsigned int sum = 0;
    for (const nDDSReader::Image& img : reader.GetImages())
    {
        if (img.data < data || img.data + img.size > data + size)
        {
            abort();
        }
        for (size_t i = 0; i < img.size; i++)
        {
            sum += img.data[i];
        }
    }
    return (sum == 0xffffffffu) ? 0 : 0;
}
