//------------------------------------------------------------------------------
//  The preference store's file parser: any input parses or is rejected
//  without values, and whatever parses survives a format/parse round trip.
//------------------------------------------------------------------------------
#include "platform/nplatformregistry.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    nPlatformRegistry::Values values;
    std::string problem;
    if (!nPlatformRegistry::Parse(reinterpret_cast<const char*>(data), size, values, problem))
    {
        if (!values.empty() || problem.empty()) abort();
        return 0;
    }
    const std::string text = nPlatformRegistry::Format(values);
    nPlatformRegistry::Values again;
    if (!nPlatformRegistry::Parse(text.data(), text.size(), again, problem) || again != values) abort();
    return 0;
}
