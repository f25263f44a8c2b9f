#ifndef N_PREFSERVER_H
#define N_PREFSERVER_H
//------------------------------------------------------------------------------
/**
    @class nPrefServer
    @ingroup Misc

    Small named settings kept between runs. This base holds the company
    and application names that identify the store, opens and closes it,
    and turns typed values into text and back; a concrete store only keeps
    texts by key (KeyExists, WriteGeneric, ReadGeneric).

    A missing key reads as the empty text, hence 0, 0.0, false and the
    zero vector. Exactly one preference server exists at a time.
*/
#include "kernel/nroot.h"
#include "util/nstring.h"
#include "mathlib/vector3.h"
#include "mathlib/vector4.h"

class nPrefServer : public nRoot
{
public:
    nPrefServer();

    /// the one preference server
    static nPrefServer* Instance();

    /// open the store (both names must be set); subclasses open theirs, then call this
    virtual bool Open();
    /// close the store
    virtual void Close();
    /// whether the store holds a value of that name
    virtual bool KeyExists(const nString& key);
    /// store a text; true when it was stored
    virtual bool WriteGeneric(const nString& key, const nString& value);
    /// the stored text, empty when there is none
    virtual nString ReadGeneric(const nString& key);

    bool WriteString(const nString& key, const nString& value);
    bool WriteInt(const nString& key, int value);
    bool WriteFloat(const nString& key, float value);
    bool WriteBool(const nString& key, bool value);
    bool WriteVector4(const nString& key, const vector4& value);
    bool WriteVector3(const nString& key, const vector3& value);
    nString ReadString(const nString& key);
    int ReadInt(const nString& key);
    float ReadFloat(const nString& key);
    bool ReadBool(const nString& key);
    vector4 ReadVector4(const nString& key);
    vector3 ReadVector3(const nString& key);

    void SetCompanyName(const nString& name) { this->companyName = name; }
    const nString& GetCompanyName() const { return this->companyName; }
    void SetApplicationName(const nString& name) { this->applicationName = name; }
    const nString& GetApplicationName() const { return this->applicationName; }
    bool IsOpen() const { return this->isOpen; }

protected:
    /// closes a server still open
    ~nPrefServer() override;

private:
    /// split text at ',' (empty parts vanish) into exactly num floats; false for any other count
    static bool ParseFloats(const nString& text, float* values, int num);

    static nPrefServer* Singleton;

    nString companyName;
    nString applicationName;

protected:
    /// stores assert it by this name in their own Close
    bool isOpen;
};
#endif
