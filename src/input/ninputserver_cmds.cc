//------------------------------------------------------------------------------
//  ninputserver_cmds.cc
//
//  Script commands of nInputServer. A mapping run is opened and closed by
//  scripts, so a map or endmap outside a run is refused as a script error
//  rather than stopping the program, and a beginmap inside a run ends
//  the run that was left open.
//------------------------------------------------------------------------------
#include "input/ninputserver.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

void n_startlogging(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nInputServer>(slf)->StartLogging();
}

void n_stoplogging(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nInputServer>(slf)->StopLogging();
}

void n_islogging(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nInputServer>(slf)->IsLogging());
}

void n_beginmap(void* slf, nCmd*)
{
    // a script that failed before its endmap leaves the run open: the next
    // mapping (a state change's) must still work
    if (nCmdSelf<nInputServer>(slf)->IsInBeginMap())
    {
        n_printf("nInputServer: beginmap inside a beginmap/endmap run, the open run is ended first\n");
        nCmdSelf<nInputServer>(slf)->EndMap();
    }
    nCmdSelf<nInputServer>(slf)->BeginMap();
}

void n_map(void* slf, nCmd* cmd)
{
    const char* mapStr = nullptr;
    const char* target = nullptr;
    if (!nCmdGetS(cmd, mapStr, "mapping string") || !nCmdGetS(cmd, target, "target")) return;
    n_cmd_check(cmd, nCmdSelf<nInputServer>(slf)->IsInBeginMap(), "map outside a beginmap/endmap run");
    cmd->Out()->SetB(nCmdSelf<nInputServer>(slf)->Map(mapStr, target));
}

void n_endmap(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nInputServer>(slf)->IsInBeginMap(), "endmap without beginmap");
    nCmdSelf<nInputServer>(slf)->EndMap();
}

void n_getslider(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "state name")) return;
    cmd->Out()->SetF(nCmdSelf<nInputServer>(slf)->GetSlider(name));
}

void n_getbutton(void* slf, nCmd* cmd)
{
    const char* name = nullptr;
    if (!nCmdGetS(cmd, name, "state name")) return;
    cmd->Out()->SetB(nCmdSelf<nInputServer>(slf)->GetButton(name));
}

void n_setlongpressedtime(void* slf, nCmd* cmd)
{
    float t = 0.0f;
    if (!nCmdGetF(cmd, t, "long-press time")) return;
    n_cmd_check(cmd, t >= 0.0f, "long-press time %g is negative", t);
    nCmdSelf<nInputServer>(slf)->SetLongPressedTime(t);
}

void n_getlongpressedtime(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF((float)nCmdSelf<nInputServer>(slf)->GetLongPressedTime());
}

void n_setdoubleclicktime(void* slf, nCmd* cmd)
{
    float t = 0.0f;
    if (!nCmdGetF(cmd, t, "double-click time")) return;
    n_cmd_check(cmd, t >= 0.0f, "double-click time %g is negative", t);
    nCmdSelf<nInputServer>(slf)->SetDoubleClickTime(t);
}

void n_getdoubleclicktime(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF((float)nCmdSelf<nInputServer>(slf)->GetDoubleClickTime());
}

void n_setmousefactor(void* slf, nCmd* cmd)
{
    float f = 0.0f;
    if (!nCmdGetF(cmd, f, "mouse factor")) return;
    nCmdSelf<nInputServer>(slf)->SetMouseFactor(f);
}

void n_getmousefactor(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nInputServer>(slf)->GetMouseFactor());
}

void n_setmouseinvert(void* slf, nCmd* cmd)
{
    nCmdSelf<nInputServer>(slf)->SetInvertMouse(cmd->In()->GetB());
}

void n_getmouseinvert(void* slf, nCmd* cmd)
{
    cmd->Out()->SetB(nCmdSelf<nInputServer>(slf)->GetInvertMouse());
}

void n_getmousepos(void* slf, nCmd* cmd)
{
    const vector2& pos = nCmdSelf<nInputServer>(slf)->GetMousePos();
    nCmdPutVector2(cmd, pos);
}

}  // namespace

/*
 * ninputserver_initcmds --
 *     Results: none.
 *     Side effects: registers the commands of ninputserver on its class.
 */
void ninputserver_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_startlogging_v", N_FOURCC('S', 'T', 'L', 'G'), n_startlogging);
    cl->AddCmd("v_stoplogging_v", N_FOURCC('S', 'P', 'L', 'G'), n_stoplogging);
    cl->AddCmd("b_islogging_v", N_FOURCC('I', 'S', 'L', 'G'), n_islogging);
    cl->AddCmd("v_beginmap_v", N_FOURCC('B', 'G', 'M', 'P'), n_beginmap);
    cl->AddCmd("b_map_ss", N_FOURCC('M', 'A', 'P', '_'), n_map);
    cl->AddCmd("v_endmap_v", N_FOURCC('E', 'D', 'M', 'P'), n_endmap);
    cl->AddCmd("f_getslider_s", N_FOURCC('G', 'S', 'L', 'D'), n_getslider);
    cl->AddCmd("b_getbutton_s", N_FOURCC('G', 'B', 'T', 'N'), n_getbutton);
    cl->AddCmd("v_setlongpressedtime_f", N_FOURCC('S', 'L', 'P', 'T'), n_setlongpressedtime);
    cl->AddCmd("f_getlongpressedtime_v", N_FOURCC('G', 'L', 'P', 'T'), n_getlongpressedtime);
    cl->AddCmd("v_setdoubleclicktime_f", N_FOURCC('S', 'D', 'C', 'T'), n_setdoubleclicktime);
    cl->AddCmd("f_getdoubleclicktime_v", N_FOURCC('G', 'D', 'C', 'T'), n_getdoubleclicktime);
    cl->AddCmd("v_setmousefactor_f", N_FOURCC('S', 'M', 'S', 'F'), n_setmousefactor);
    cl->AddCmd("f_getmousefactor_v", N_FOURCC('G', 'M', 'S', 'F'), n_getmousefactor);
    cl->AddCmd("v_setmouseinvert_b", N_FOURCC('S', 'M', 'I', 'V'), n_setmouseinvert);
    cl->AddCmd("b_getmouseinvert_v", N_FOURCC('G', 'M', 'I', 'V'), n_getmouseinvert);
    cl->AddCmd("ff_getmousepos_v", N_FOURCC('G', 'M', 'X', 'Y'), n_getmousepos);
    cl->EndCmds();
}
