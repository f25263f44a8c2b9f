//------------------------------------------------------------------------------
//  nfilenode_cmds.cc
//
//  Script commands of nFileNode. None is written back when saving.
//------------------------------------------------------------------------------
#include "kernel/nfilenode.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

/*
 * n_open --
 *     b_open_ss: opens the file (name, access mode); true on success.
 */
void n_open(void* slf, nCmd* cmd)
{
    nFileNode* self = nCmdSelf<nFileNode>(slf);
    const char* filename;
    const char* accessMode;
    if (!nCmdGetNonEmptyS(cmd, filename, "file name") || !nCmdGetNonEmptyS(cmd, accessMode, "access mode")) return;
    n_cmd_check(cmd, !self->IsOpen(), "a file is open already");
    cmd->Out()->SetB(self->Open(filename, accessMode));
}

/*
 * n_close --
 *     v_close_v: closes the file.
 */
void n_close(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nFileNode>(slf)->IsOpen(), "no file is open");
    nCmdSelf<nFileNode>(slf)->Close();
}

/*
 * n_isopen --
 *     b_isopen_v: true while a file is open.
 */
void n_isopen(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nFileNode>(slf)->IsOpen());
}

/*
 * n_puts --
 *     b_puts_s: writes the string; true when all of it was written.
 */
void n_puts(void* slf, nCmd* cmd)
{
    nFileNode* self = nCmdSelf<nFileNode>(slf);
    const char* text;
    if (!nCmdGetS(cmd, text, "text")) return;
    n_cmd_check(cmd, self->IsOpen(), "no file is open");
    cmd->Out()->SetB(self->PutS(text));
}

}  // namespace

void nfilenode_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("b_open_ss", N_FOURCC('O', 'P', 'E', 'N'), n_open);
    cl->AddCmd("v_close_v", N_FOURCC('C', 'L', 'O', 'S'), n_close);
    cl->AddCmd("b_isopen_v", N_FOURCC('I', 'S', 'O', 'P'), n_isopen);
    cl->AddCmd("b_puts_s", N_FOURCC('P', 'U', 'T', 'S'), n_puts);
    cl->EndCmds();
}
