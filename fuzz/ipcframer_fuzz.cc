//------------------------------------------------------------------------------
//  Fuzzes the remote-control framing: the first byte chooses where the
//  stream is cut into receives. Whatever the cuts, the same commands must
//  come out, none of them longer than a receive buffer holds.
//------------------------------------------------------------------------------
#include "kernel/nipcframer.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> FeedAll(const char* data, size_t size, size_t step)
{
    nIpcFramer framer("Boxing");
    std::vector<std::string> out;
    for (size_t pos = 0; pos < size; pos += step)
    {
        nArray<nString> cmds;
        const size_t len = (size - pos < step) ? size - pos : step;
        framer.Feed(data + pos, (int)len, cmds);
        for (const nString& c : cmds)
        {
            if (c.Length() >= nIpcFramer::BufferSize) __builtin_trap();
            out.emplace_back(c.Get());
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const size_t step = (size_t)data[0] + 1;
    const char* stream = reinterpret_cast<const char*>(data + 1);
    const size_t len = size - 1;
    if (FeedAll(stream, len, step) != FeedAll(stream, len, len ? len : 1)) __builtin_trap();
    return 0;
}
