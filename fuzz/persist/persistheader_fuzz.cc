//------------------------------------------------------------------------------
//  persistheader_fuzz.cc
//
//  Reads the header entries of arbitrary bytes. A value found must fit the
//  caller's buffer and come from the first 255 bytes.
//------------------------------------------------------------------------------
#include "persistfuzzkernel.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PersistFuzzKernel& k = PersistFuzzKernel::Get();
    const char* name = k.WriteInput(data, size);
    const char* keys[] = {"parser", "class", ""};
    for (const char* key : keys)
    {
        char buf[16];
        memset(buf, 'x', sizeof(buf));
        const char* value = k.ps->ParseFileHeader(name, key, buf, sizeof(buf));
        if (value && (value != buf || strlen(buf) >= sizeof(buf))) abort();
    }
    return 0;
}
