//------------------------------------------------------------------------------
//  nvideoserver_cmds.cc
//------------------------------------------------------------------------------
#include "video/nvideoserver.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_open(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, !nCmdSelf<nVideoServer>(slf)->IsOpen(), "the video server is open already");
    cmd->Out()->SetB(nCmdSelf<nVideoServer>(slf)->Open());
}

void n_close(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nVideoServer>(slf)->IsOpen(), "the video server is not open");
    nCmdSelf<nVideoServer>(slf)->Close();
}

void n_isopen(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nVideoServer>(slf)->IsOpen());
}

/// a video that plays gives way to the new one, as the playing server does itself
void n_playfile(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetNonEmptyS(cmd, name, "file name")) return;
    // a closed server is not triggered: its video would never end
    n_cmd_check(cmd, nCmdSelf<nVideoServer>(slf)->IsOpen(), "the video server is not open");
    if (nCmdSelf<nVideoServer>(slf)->IsPlaying()) nCmdSelf<nVideoServer>(slf)->Stop();
    cmd->Out()->SetB(nCmdSelf<nVideoServer>(slf)->PlayFile(name));
}

void n_stop(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nVideoServer>(slf)->IsPlaying(), "no video is playing");
    nCmdSelf<nVideoServer>(slf)->Stop();
}

void n_isplaying(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nVideoServer>(slf)->IsPlaying());
}

void n_setenablescaling(void* slf, nCmd* cmd)
{
    nCmdSelf<nVideoServer>(slf)->SetEnableScaling(cmd->In()->GetB());
}

void n_getenablescaling(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nVideoServer>(slf)->GetEnableScaling());
}

}  // namespace

/*
 * nvideoserver_initcmds --
 *     Side effects: registers the commands of nvideoserver on its class.
 */
void nvideoserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("b_open_v", N_FOURCC('O', 'P', 'E', 'N'), n_open);
    cl->AddCmd("v_close_v", N_FOURCC('C', 'L', 'O', 'S'), n_close);
    cl->AddCmd("b_isopen_v", N_FOURCC('I', 'S', 'O', 'P'), n_isopen);
    cl->AddCmd("b_playfile_s", N_FOURCC('P', 'L', 'F', 'L'), n_playfile);
    cl->AddCmd("v_stop_v", N_FOURCC('S', 'T', 'O', 'P'), n_stop);
    cl->AddCmd("b_isplaying_v", N_FOURCC('I', 'S', 'P', 'L'), n_isplaying);
    cl->AddCmd("v_setenablescaling_b", N_FOURCC('S', 'E', 'S', 'C'), n_setenablescaling);
    cl->AddCmd("b_getenablescaling_v", N_FOURCC('G', 'E', 'S', 'C'), n_getenablescaling);
    cl->EndCmds();
}
