//------------------------------------------------------------------------------
//  ngfxserver2_cmds.cc
//
//  Script commands of ngfxserver2. Values from a script are checked by the
//  command guards: a null text, a non-finite number or an unknown cursor
//  visibility ends the command as a script error. The window size and
//  position are 16-bit fields, so they are clamped (a width of -1 must
//  not become 65535). Opening an open display or closing a closed one is
//  refused instead of failing the server's assertions.
//
//  On a server without a device, setdisplaymode, getdisplaymode and
//  seticon end the program: the display mode belongs to the device.
//------------------------------------------------------------------------------
#include "gfx2/ngfxserver2.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"
#include "kernel/nkernelserver.h"

#include <cstring>

namespace
{

/// the largest window side in pixels a script may ask for
const int MaxWindowSize = 16384;
/// the largest window position a 16-bit field holds
const int MaxWindowPos = 65535;
/// the largest cursor hotspot coordinate a script may give
const int MaxCursorHotspot = 4096;

/*
 * ClampedUShort --
 *     Results: the next integer input clamped to lo..hi.
 */
ushort ClampedUShort(nCmd* cmd, int lo, int hi)
{
    const int v = cmd->In()->GetI();
    return (ushort)((v < lo) ? lo : ((v > hi) ? hi : v));
}

/*
 * n_setdisplaymode --
 *     v_setdisplaymode_ssiiiib: title, type name, x, y, width, height,
 *     vsync; an unknown type name is full screen.
 */
void n_setdisplaymode(void* slf, nCmd* cmd)
{
    const char* title;
    const char* typeName;
    if (!nCmdGetS(cmd, title, "title") || !nCmdGetS(cmd, typeName, "type")) return;
    const ushort x = ClampedUShort(cmd, 0, MaxWindowPos);
    const ushort y = ClampedUShort(cmd, 0, MaxWindowPos);
    const ushort w = ClampedUShort(cmd, 1, MaxWindowSize);
    const ushort h = ClampedUShort(cmd, 1, MaxWindowSize);
    const bool vsync = cmd->In()->GetB();
    const nDisplayMode2 mode(title, nDisplayMode2::StringToType(typeName), x, y, w, h, vsync);
    nCmdSelf<nGfxServer2>(slf)->SetDisplayMode(mode);
}

/*
 * n_getdisplaymode --
 *     ssiiiib_getdisplaymode_v: title, type name, x, y, width, height, vsync.
 */
void n_getdisplaymode(void* slf, nCmd* cmd)
{
    const nDisplayMode2& mode = nCmdSelf<nGfxServer2>(slf)->GetDisplayMode();
    cmd->Out()->SetS(mode.GetWindowTitle());
    cmd->Out()->SetS(nDisplayMode2::TypeToString(mode.GetType()));
    cmd->Out()->SetI(mode.GetXPos());
    cmd->Out()->SetI(mode.GetYPos());
    cmd->Out()->SetI(mode.GetWidth());
    cmd->Out()->SetI(mode.GetHeight());
    cmd->Out()->SetB(mode.GetVerticalSync());
}

void n_opendisplay(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, !nCmdSelf<nGfxServer2>(slf)->IsDisplayOpen(), "the display is open already");
    cmd->Out()->SetB(nCmdSelf<nGfxServer2>(slf)->OpenDisplay());
}

void n_closedisplay(void* slf, nCmd* cmd)
{
    n_cmd_check(cmd, nCmdSelf<nGfxServer2>(slf)->IsDisplayOpen(), "the display is not open");
    // the running application draws every frame on it
    n_cmd_check(cmd, !nKernelServer::Instance()->FindInUse(nCmdSelf<nGfxServer2>(slf)), "the running application draws on the display");
    nCmdSelf<nGfxServer2>(slf)->CloseDisplay();
}

void n_getfeatureset(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nGfxServer2::FeatureSetToString(nCmdSelf<nGfxServer2>(slf)->GetFeatureSet()));
}

void n_savescreenshot(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetNonEmptyS(cmd, name, "file name")) return;
    nCmdSelf<nGfxServer2>(slf)->Screenshot(name);
}

/*
 * n_setcursorvisibility --
 *     v_setcursorvisibility_s: "none", "system" or "custom"; any other
 *     word is a script error.
 */
void n_setcursorvisibility(void* slf, nCmd* cmd)
{
    const char* str;
    if (!nCmdGetS(cmd, str, "visibility")) return;
    nGfxServer2::CursorVisibility v;
    if (0 == strcmp(str, "none")) v = nGfxServer2::None;
    else if (0 == strcmp(str, "system")) v = nGfxServer2::System;
    else if (0 == strcmp(str, "custom")) v = nGfxServer2::Custom;
    else
    {
        nCmdFail(cmd, "invalid string '%.64s'", str);
        return;
    }
    nCmdSelf<nGfxServer2>(slf)->SetCursorVisibility(v);
}

/*
 * n_setmousecursor --
 *     v_setmousecursor_sii: image file, hotspot x, hotspot y (0..4096);
 *     the image loads with the next scene.
 */
void n_setmousecursor(void* slf, nCmd* cmd)
{
    const char* name;
    int x, y;
    if (!nCmdGetS(cmd, name, "file name")) return;
    if (!nCmdGetI(cmd, x, 0, MaxCursorHotspot, "hotspot x")) return;
    if (!nCmdGetI(cmd, y, 0, MaxCursorHotspot, "hotspot y")) return;
    nMouseCursor cursor;
    cursor.SetFilename(name);
    cursor.SetHotspotX(x);
    cursor.SetHotspotY(y);
    nCmdSelf<nGfxServer2>(slf)->SetMouseCursor(cursor);
}

/*
 * n_seticon --
 *     v_seticon_s: the display mode with this window icon.
 */
void n_seticon(void* slf, nCmd* cmd)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "icon name")) return;
    nDisplayMode2 mode = nCmdSelf<nGfxServer2>(slf)->GetDisplayMode();
    mode.SetIcon(name);
    nCmdSelf<nGfxServer2>(slf)->SetDisplayMode(mode);
}

void n_setgamma(void* slf, nCmd* cmd)
{
    float v;
    if (!nCmdGetF(cmd, v, "gamma")) return;
    nCmdSelf<nGfxServer2>(slf)->SetGamma(v);
}

void n_getgamma(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nGfxServer2>(slf)->GetGamma());
}

void n_setbrightness(void* slf, nCmd* cmd)
{
    float v;
    if (!nCmdGetF(cmd, v, "brightness")) return;
    nCmdSelf<nGfxServer2>(slf)->SetBrightness(v);
}

void n_getbrightness(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nGfxServer2>(slf)->GetBrightness());
}

void n_setcontrast(void* slf, nCmd* cmd)
{
    float v;
    if (!nCmdGetF(cmd, v, "contrast")) return;
    nCmdSelf<nGfxServer2>(slf)->SetContrast(v);
}

void n_getcontrast(void* slf, nCmd* cmd)
{
    cmd->Out()->SetF(nCmdSelf<nGfxServer2>(slf)->GetContrast());
}

void n_adjustgamma(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGfxServer2>(slf)->AdjustGamma();
}

void n_restoregamma(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGfxServer2>(slf)->RestoreGamma();
}

void n_setskipmsgloop(void* slf, nCmd* cmd)
{
    nCmdSelf<nGfxServer2>(slf)->SetSkipMsgLoop(cmd->In()->GetB());
}

}  // namespace

/*
 * ngfxserver2_initcmds --
 *     Registers the graphics server's script commands.
 */
void ngfxserver2_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_setdisplaymode_ssiiiib", N_FOURCC('S', 'D', 'M', 'D'), n_setdisplaymode);
    cl->AddCmd("ssiiiib_getdisplaymode_v", N_FOURCC('G', 'D', 'M', 'D'), n_getdisplaymode);
    cl->AddCmd("b_opendisplay_v", N_FOURCC('O', 'D', 'S', 'P'), n_opendisplay);
    cl->AddCmd("v_closedisplay_v", N_FOURCC('C', 'D', 'S', 'P'), n_closedisplay);
    cl->AddCmd("s_getfeatureset_v", N_FOURCC('G', 'F', 'T', 'S'), n_getfeatureset);
    cl->AddCmd("v_savescreenshot_s", N_FOURCC('S', 'S', 'C', 'S'), n_savescreenshot);
    cl->AddCmd("v_setcursorvisibility_s", N_FOURCC('S', 'C', 'V', 'S'), n_setcursorvisibility);
    cl->AddCmd("v_setmousecursor_sii", N_FOURCC('S', 'M', 'C', 'S'), n_setmousecursor);
    cl->AddCmd("v_seticon_s", N_FOURCC('S', 'I', 'C', 'O'), n_seticon);
    cl->AddCmd("v_setgamma_f", N_FOURCC('S', 'E', 'T', 'G'), n_setgamma);
    cl->AddCmd("f_getgamma_v", N_FOURCC('G', 'E', 'T', 'G'), n_getgamma);
    cl->AddCmd("v_setbrightness_f", N_FOURCC('S', 'E', 'T', 'B'), n_setbrightness);
    cl->AddCmd("f_getbrightness_v", N_FOURCC('G', 'E', 'T', 'B'), n_getbrightness);
    cl->AddCmd("v_setcontrast_f", N_FOURCC('S', 'E', 'T', 'C'), n_setcontrast);
    cl->AddCmd("f_getcontrast_v", N_FOURCC('G', 'E', 'T', 'C'), n_getcontrast);
    cl->AddCmd("v_adjustgamma_v", N_FOURCC('A', 'D', 'J', 'G'), n_adjustgamma);
    cl->AddCmd("v_restoregamma_v", N_FOURCC('R', 'E', 'S', 'G'), n_restoregamma);
    cl->AddCmd("v_setskipmsgloop_b", N_FOURCC('S', 'S', 'M', 'L'), n_setskipmsgloop);
    cl->EndCmds();
}
