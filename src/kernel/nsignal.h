#ifndef N_SIGNAL_H
#define N_SIGNAL_H
//------------------------------------------------------------------------------
/**
    @class nSignal
    @ingroup Kernel

    A signal a class declares: a command prototype without handler whose
    dispatch on an object emits it to the object's bindings. Its name is
    kept in lower case.
*/
#include "kernel/ncmdproto.h"

class nSignalEmitter;

class nSignal : public nCmdProto
{
public:
    /// the prototype must be valid (the registry checks it first)
    nSignal(const char* protoDef, nFourCC id);

    /// emit the signal on the object with the command's inputs
    bool Dispatch(void* obj, nCmd* cmd) override;
    /// delete the signal (its registry's teardown)
    virtual void Destroy();
    /// emit the signal with inputs taken from plain function arguments
    virtual bool Dispatch(nSignalEmitter* emitter, va_list args);
};
#endif
