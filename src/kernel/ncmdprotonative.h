#ifndef N_CMDPROTONATIVE_H
#define N_CMDPROTONATIVE_H
//------------------------------------------------------------------------------
/**
    @class nCmdProtoNative
    @ingroup Kernel

    A command prototype implemented by a C++ handler function.
*/
#include "kernel/ncmdproto.h"

typedef void (*nCmdProc)(void* obj, nCmd* cmd);

class nCmdProtoNative : public nCmdProto
{
public:
    nCmdProtoNative(const char* protoDef, nFourCC id, nCmdProc cmdProc);
    bool Dispatch(void* obj, nCmd* cmd) override;

private:
    nCmdProc cmd_proc;
};
#endif
