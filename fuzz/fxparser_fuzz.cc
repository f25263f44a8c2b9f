//------------------------------------------------------------------------------
//  Fuzz target: the effect-file parser (parsing only, no device). The input
//  is the effect; an include of "self.fx" reads the input again, so that
//  include cycles and depth limits are reached; other includes fail.
//------------------------------------------------------------------------------
#include "gfx2/nfxparser.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    nFxParser parser([&text](const std::string& name, std::string& resolved, std::string& body) {
        if ("self.fx" != name)
        {
            return false;
        }
        resolved = name;
        body = text;
        return true;
    });
    nFxEffect fx;
    std::string error;
    if (parser.Parse("fuzz.fx", text, fx, error))
    {
        for (const nFxEffect::Program& p : fx.programs)
        {
            (void)fx.ProgramSource(p);
        }
    }
    return 0;
}
