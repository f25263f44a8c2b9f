#ifndef N_BINSCRIPTSERVER_H
#define N_BINSCRIPTSERVER_H
//------------------------------------------------------------------------------
/**
    @class nBinScriptServer
    @ingroup Kernel

    Saves and loads objects in the binary persistence format: the magic
    'NOB0', a header string, then blocks of object creations, selections
    and commands identified by their four-character ids.

    All integers are little-endian; strings are a 16-bit length and the
    bytes, without terminator.
*/
#include "kernel/nscriptserver.h"

#include <string>

class nBinScriptServer : public nScriptServer
{
public:
    nBinScriptServer() = default;

    bool RunScript(const char* filename, nString& result) override;
    nFile* WriteBegin(const char* filename, nObject* obj) override;
    bool WriteBeginNewObject(nFile* file, nObject* o, nObject* owner) override;
    bool WriteBeginNewObjectCmd(nFile* file, nObject* o, nObject* owner, nCmd* cmd) override;
    bool WriteBeginSelObject(nFile* file, nObject* o, nObject* owner) override;
    bool WriteCmd(nFile* file, nCmd* cmd) override;
    bool WriteEndObject(nFile* file, nObject* o, nObject* owner) override;
    bool WriteEnd(nFile* file) override;

    /// the largest argument block a command may have
    static const int MaxArgLength = (1 << 15) - 1;

    /// queue the bytes of one block
    bool Put(nFile* file, const std::string& bytes) { return this->Queue(file, bytes.data(), bytes.size()); }

protected:
    ~nBinScriptServer() override = default;
};
#endif
