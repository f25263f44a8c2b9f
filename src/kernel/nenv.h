#ifndef N_ENV_H
#define N_ENV_H
//------------------------------------------------------------------------------
/**
    @class nEnv
    @ingroup Kernel

    A tree object holding one typed value: the engine's shared variables,
    named by their paths. The value keeps the type it was first given.
*/
#include "kernel/nroot.h"
#include "kernel/narg.h"

class nEnv : public nRoot
{
public:
    nEnv() = default;

    nArg::Type GetType() const { return this->value.GetType(); }
    void SetI(int i) { this->value.SetI(i); }
    void SetF(float f) { this->value.SetF(f); }
    void SetB(bool b) { this->value.SetB(b); }
    void SetS(const char* s) { this->value.SetS(s); }
    void SetO(nObject* o) { this->value.SetO(o); }
    void SetF4(const nFloat4& f4) { this->value.SetF4(f4); }
    int GetI() const { return this->value.GetI(); }
    float GetF() const { return this->value.GetF(); }
    bool GetB() const { return this->value.GetB(); }
    const char* GetS() const { return this->value.GetS(); }
    nObject* GetO() const { return static_cast<nObject*>(this->value.GetO()); }
    const nFloat4& GetF4() const { return this->value.GetF4(); }

protected:
    ~nEnv() override = default;

private:
    nArg value;
};
#endif
