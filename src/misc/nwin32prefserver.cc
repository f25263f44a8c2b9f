//------------------------------------------------------------------------------
//  nwin32prefserver.cc
//------------------------------------------------------------------------------
#include "misc/nwin32prefserver.h"
#include "platform/nplatformregistry.h"

nWin32PrefServer::nWin32PrefServer() = default;

nWin32PrefServer::~nWin32PrefServer()
{
    if (this->IsOpen())
    {
        this->Close();
    }
}

/*
 * Open --
 *     Opens (creating when missing) the store of the company's
 *     application. A corrupt store is reported and opens empty; its
 *     values are replaced by the next write.
 * Results: true when the store is open; false, and the server closed,
 *     when it cannot be made (an unusable name or directory).
 */
bool nWin32PrefServer::Open()
{
    n_assert(0 == this->rootKey);
    nPrefServer::Open();
    this->rootKey.reset(n_new(nPlatformRegistry));
    if (!this->rootKey->Open(this->GetCompanyName().Get(), this->GetApplicationName().Get()))
    {
        n_printf("nWin32PrefServer: could not open the preferences of '%s/%s'\n", this->GetCompanyName().Get(),
                 this->GetApplicationName().Get());
        this->rootKey.reset();
        nPrefServer::Close();
        return false;
    }
    if (!this->rootKey->GetProblem().empty())
    {
        n_printf("nWin32PrefServer: preferences unreadable, starting empty: %s\n", this->rootKey->GetProblem().c_str());
    }
    return true;
}

void nWin32PrefServer::Close()
{
    n_assert(this->isOpen);
    n_assert(0 != this->rootKey);
    this->rootKey.reset();
    nPrefServer::Close();
}

/*
 * KeyExists --
 *     Results: true when the store holds a value of that name.
 */
bool nWin32PrefServer::KeyExists(const nString& key)
{
    n_assert(0 != this->rootKey);
    n_assert(!key.IsEmpty());
    return this->rootKey->HasValue(key.Get());
}

/*
 * WriteGeneric --
 *     Side effects: the value is stored and the store written to disk.
 * Results: false when the store could not be written.
 */
bool nWin32PrefServer::WriteGeneric(const nString& key, const nString& value)
{
    n_assert(0 != this->rootKey);
    n_assert(!key.IsEmpty());
    return this->rootKey->SetValue(key.Get(), value.Get());
}

/*
 * ReadGeneric --
 *     Results: the whole stored text, empty when there is none.
 */
nString nWin32PrefServer::ReadGeneric(const nString& key)
{
    n_assert(0 != rootKey);
    n_assert(!key.IsEmpty());
    std::string value;
    if (!this->rootKey->GetValue(key.Get(), value)) return nString();
    return nString(value.c_str());
}
