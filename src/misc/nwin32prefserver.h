#ifndef N_WIN32PREFSERVER_H
#define N_WIN32PREFSERVER_H
//------------------------------------------------------------------------------
/**
    @class nWin32PrefServer
    @ingroup Misc

    The preference server over the platform's registry-style store: one
    store per company and application, every preference a text value of
    it named by its key.
*/
#include "misc/nprefserver.h"

#include <memory>

class nPlatformRegistry;

class nWin32PrefServer : public nPrefServer
{
public:
    nWin32PrefServer();

    bool Open() override;
    void Close() override;
    bool KeyExists(const nString& key) override;
    bool WriteGeneric(const nString& key, const nString& value) override;
    nString ReadGeneric(const nString& key) override;

protected:
    /// closes the store when still open
    ~nWin32PrefServer() override;

private:
    /// the open store, null while closed
    std::unique_ptr<nPlatformRegistry> rootKey;
};
#endif
