//------------------------------------------------------------------------------
//  Fuzzes the remote-control framing: the first byte chooses where the
//  stream is cut into receives and how many commands one call may give
//  (the rest of a receive waits for a later call). Whatever the cuts and
//  the bound, the same commands must come out, none of them longer than a
//  receive buffer holds, and every byte must be taken in the end.
//------------------------------------------------------------------------------
#include "kernel/nipcframer.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> FeedAll(const char* data, size_t size, size_t step, int maxCommands)
{
    nIpcFramer framer("Boxing");
    std::vector<std::string> out;
    nArray<nString> cmds;
    for (size_t pos = 0; pos < size; pos += step)
    {
        const int len = (int)((size - pos < step) ? size - pos : step);
        for (int taken = 0; taken < len;)
        {
            cmds.Clear();
            const int n = framer.Feed(data + pos + taken, len - taken, cmds, maxCommands);
            if ((n <= 0) || (n > len - taken) || (cmds.Size() > maxCommands)) __builtin_trap();
            taken += n;
            for (const nString& c : cmds)
            {
                if (c.Length() >= nIpcFramer::BufferSize) __builtin_trap();
                out.emplace_back(c.Get());
            }
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const size_t step = (size_t)(data[0] & 0x3f) + 1;
    const int maxCommands = (data[0] >> 6) + 1;
    const char* stream = reinterpret_cast<const char*>(data + 1);
    const size_t len = size - 1;
    if (FeedAll(stream, len, step, maxCommands) != FeedAll(stream, len, len ? len : 1, INT_MAX)) __builtin_trap();
    return 0;
}
