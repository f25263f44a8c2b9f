#ifndef N_ENV_H
#define N_ENV_H
//------------------------------------------------------------------------------
/**
    @class nEnv
    @ingroup Kernel

    A tree object holding one typed value: the engine's shared variables,
    named by their paths. The value keeps the type it was first given;
    the typed setters and getters assert it. An object value is held by
    reference, so it reads 0 once the object has died.
*/
#include "kernel/nroot.h"
#include "kernel/narg.h"
#include "kernel/nref.h"

class nEnv : public nRoot
{
public:
    nEnv() = default;

    /// write the command that restores the value
    bool SaveCmds(nPersistServer* ps) override;

    /// the value's type, Void while unset
    nArg::Type GetType() const { return this->value.GetType(); }
    void SetI(int i) { this->value.SetI(i); }
    void SetF(float f) { this->value.SetF(f); }
    void SetB(bool b) { this->value.SetB(b); }
    void SetS(const char* s) { this->value.SetS(s); }
    /// hold the object by reference (the value's type becomes Object)
    void SetO(nObject* o);
    void SetF4(const nFloat4& f4) { this->value.SetF4(f4); }
    int GetI() const { return this->value.GetI(); }
    float GetF() const { return this->value.GetF(); }
    bool GetB() const { return this->value.GetB(); }
    const char* GetS() const { return this->value.GetS(); }
    /// the object, or 0 once it has died
    nObject* GetO() const;
    const nFloat4& GetF4() const { return this->value.GetF4(); }

    /// the script name of a value type: "int", "float", ... or "void"
    static const char* TypeName(nArg::Type type);

protected:
    ~nEnv() override = default;

private:
    nArg value;
    /// the target of an Object value; the nArg itself keeps no pointer
    nRef<nObject> objRef;
};
#endif
