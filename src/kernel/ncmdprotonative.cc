//------------------------------------------------------------------------------
//  ncmdprotonative.cc
//------------------------------------------------------------------------------
#include "kernel/ncmdprotonative.h"

nCmdProtoNative::nCmdProtoNative(const char* protoDef, nFourCC id, nCmdProc cmdProc) :
    nCmdProto(protoDef, id),
    cmd_proc(cmdProc)
{
}

bool nCmdProtoNative::Dispatch(void* obj, nCmd* cmd)
{
    n_assert(this->cmd_proc);
    this->cmd_proc(obj, cmd);
    return true;
}
