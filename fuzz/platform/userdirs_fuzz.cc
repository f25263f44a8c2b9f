//------------------------------------------------------------------------------
//  The user-dirs.dirs reader: any text gives either no folder or an
//  absolute one without a trailing slash.
//------------------------------------------------------------------------------
#include "platform/nplatformfolders.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string path;
    if (nPlatformFolders::ParseUserDir(text, "XDG_DOCUMENTS_DIR", "/home/user", path))
    {
        if (path.empty() || path[0] != '/' || (path.size() > 1 && path.back() == '/')) abort();
    }
    return 0;
}
