#ifndef N_SIGNALEMITTER_H
#define N_SIGNALEMITTER_H
//------------------------------------------------------------------------------
/**
    @class nSignalEmitter
    @ingroup Kernel

    The signal bindings of one object; the second base of every nObject.
*/
#include "kernel/ntypes.h"

class nSignalEmitter
{
public:
    nSignalEmitter() = default;
    virtual ~nSignalEmitter() = default;
    nSignalEmitter(const nSignalEmitter&) = delete;
    nSignalEmitter& operator=(const nSignalEmitter&) = delete;

protected:
    void* bindingSets = nullptr;
};
#endif
