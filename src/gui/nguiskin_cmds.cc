//------------------------------------------------------------------------------
//  nguiskin_cmds.cc
//------------------------------------------------------------------------------
#include "gui/nguiskin.h"
#include "kernel/nclass.h"
#include "kernel/ncmd.h"
#include "kernel/ncmdargs.h"

namespace
{

template <void (nGuiSkin::*SETTER)(const vector4&)> void
SetColor(void* slf, nCmd* cmd)
{
    vector4 c;
    if (!nCmdGetColor(cmd, c)) return;
    (nCmdSelf<nGuiSkin>(slf)->*SETTER)(c);
}

template <const vector4& (nGuiSkin::*GETTER)() const> void
GetColorCmd(void* slf, nCmd* cmd)
{
    nCmdPutVector4(cmd, (nCmdSelf<nGuiSkin>(slf)->*GETTER)());
}

template <void (nGuiSkin::*SETTER)(const char*)> void
SetString(void* slf, nCmd* cmd)
{
    const char* s;
    if (!nCmdGetS(cmd, s, "string")) return;
    (nCmdSelf<nGuiSkin>(slf)->*SETTER)(s);
}

template <const char* (nGuiSkin::*GETTER)() const> void
GetString(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS((nCmdSelf<nGuiSkin>(slf)->*GETTER)());
}

void n_beginbrushes(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiSkin>(slf)->BeginBrushes();
}

void n_addbrush(void* slf, nCmd* cmd)
{
    const char* name;
    const char* tex;
    vector2 pos, size;
    vector4 color;
    if (!nCmdGetNonEmptyS(cmd, name, "brush name") || !nCmdGetNonEmptyS(cmd, tex, "texture") ||
        !nCmdGetF(cmd, pos.x, 0.0f, 65536.0f, "x") || !nCmdGetF(cmd, pos.y, 0.0f, 65536.0f, "y") ||
        !nCmdGetF(cmd, size.x, 0.0f, 65536.0f, "width") || !nCmdGetF(cmd, size.y, 0.0f, 65536.0f, "height") ||
        !nCmdGetColor(cmd, color))
    {
        return;
    }
    n_cmd_check(cmd, !nCmdSelf<nGuiSkin>(slf)->LookupBrush(name), "the skin has a brush '%.64s' already", name);
    nCmdSelf<nGuiSkin>(slf)->AddBrush(name, tex, pos, size, color);
}

void n_endbrushes(void* slf, nCmd* /*cmd*/)
{
    nCmdSelf<nGuiSkin>(slf)->EndBrushes();
}

/// reads a sound name; false (reported) for an unknown one
bool GetSoundIndex(nCmd* cmd, int& index)
{
    const char* name;
    if (!nCmdGetS(cmd, name, "sound name")) return false;
    index = nGuiSkin::StringToSound(name);
    if (nGuiSkin::InvalidSound == index) return nCmdFail(cmd, "unknown sound name '%.64s'", name);
    return true;
}

void n_setsound(void* slf, nCmd* cmd)
{
    int index;
    const char* file;
    if (!GetSoundIndex(cmd, index) || !nCmdGetS(cmd, file, "sound file")) return;
    nCmdSelf<nGuiSkin>(slf)->SetSound(index, file);
}

void n_getsound(void* slf, nCmd* cmd)
{
    int index;
    if (!GetSoundIndex(cmd, index)) return;
    const char* file = nCmdSelf<nGuiSkin>(slf)->GetSoundFile(index);
    cmd->Out()->SetS((file && file[0]) ? file : nullptr);
}

void n_setsoundvolume(void* slf, nCmd* cmd)
{
    int index;
    float volume;
    if (!GetSoundIndex(cmd, index) || !nCmdGetF(cmd, volume, 0.0f, 1.0e6f, "volume")) return;
    nCmdSelf<nGuiSkin>(slf)->SetSoundVolume(index, volume);
}

void n_getsoundvolume(void* slf, nCmd* cmd)
{
    int index;
    if (!GetSoundIndex(cmd, index)) return;
    cmd->Out()->SetF(nCmdSelf<nGuiSkin>(slf)->GetSoundVolume(index));
}

}  // namespace

/*
 * nguiskin_initcmds --
 *     Side effects: registers the commands of nguiskin on its class.
 */
void nguiskin_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_settextureprefix_s", N_FOURCC('S', 'T', 'P', 'R'), SetString<&nGuiSkin::SetTexturePrefix>);
    cl->AddCmd("s_gettextureprefix_v", N_FOURCC('G', 'T', 'P', 'R'), GetString<&nGuiSkin::GetTexturePrefix>);
    cl->AddCmd("v_settexturepostfix_s", N_FOURCC('S', 'T', 'P', 'S'), SetString<&nGuiSkin::SetTexturePostfix>);
    cl->AddCmd("s_gettexturepostfix_v", N_FOURCC('G', 'T', 'P', 'S'), GetString<&nGuiSkin::GetTexturePostfix>);
    cl->AddCmd("v_setactivewindowcolor_ffff", N_FOURCC('S', 'A', 'W', 'C'),
               SetColor<&nGuiSkin::SetActiveWindowColor>);
    cl->AddCmd("ffff_getactivewindowcolor_v", N_FOURCC('G', 'A', 'W', 'C'),
               GetColorCmd<&nGuiSkin::GetActiveWindowColor>);
    cl->AddCmd("v_setinactivewindowcolor_ffff", N_FOURCC('S', 'I', 'A', 'C'),
               SetColor<&nGuiSkin::SetInactiveWindowColor>);
    cl->AddCmd("ffff_getinactivewindowcolor_v", N_FOURCC('G', 'I', 'A', 'C'),
               GetColorCmd<&nGuiSkin::GetInactiveWindowColor>);
    cl->AddCmd("v_settitletextcolor_ffff", N_FOURCC('S', 'T', 'T', 'C'), SetColor<&nGuiSkin::SetTitleTextColor>);
    cl->AddCmd("ffff_gettitletextcolor_v", N_FOURCC('G', 'T', 'T', 'C'), GetColorCmd<&nGuiSkin::GetTitleTextColor>);
    cl->AddCmd("v_setbuttontextcolor_ffff", N_FOURCC('S', 'B', 'T', 'C'), SetColor<&nGuiSkin::SetButtonTextColor>);
    cl->AddCmd("ffff_getbuttontextcolor_v", N_FOURCC('G', 'B', 'T', 'C'),
               GetColorCmd<&nGuiSkin::GetButtonTextColor>);
    cl->AddCmd("v_setlabeltextcolor_ffff", N_FOURCC('S', 'L', 'T', 'C'), SetColor<&nGuiSkin::SetLabelTextColor>);
    cl->AddCmd("ffff_getlabeltextcolor_v", N_FOURCC('G', 'L', 'T', 'C'), GetColorCmd<&nGuiSkin::GetLabelTextColor>);
    cl->AddCmd("v_setentrytextcolor_ffff", N_FOURCC('S', 'E', 'T', 'C'), SetColor<&nGuiSkin::SetEntryTextColor>);
    cl->AddCmd("ffff_getentrytextcolor_v", N_FOURCC('G', 'E', 'T', 'C'), GetColorCmd<&nGuiSkin::GetEntryTextColor>);
    cl->AddCmd("v_settextcolor_ffff", N_FOURCC('S', 'T', 'X', 'C'), SetColor<&nGuiSkin::SetTextColor>);
    cl->AddCmd("ffff_gettextcolor_v", N_FOURCC('G', 'T', 'X', 'C'), GetColorCmd<&nGuiSkin::GetTextColor>);
    cl->AddCmd("v_setmenutextcolor_ffff", N_FOURCC('S', 'M', 'T', 'C'), SetColor<&nGuiSkin::SetMenuTextColor>);
    cl->AddCmd("ffff_getmenutextcolor_v", N_FOURCC('G', 'M', 'T', 'C'), GetColorCmd<&nGuiSkin::GetMenuTextColor>);
    cl->AddCmd("v_setwindowborder_ffff", N_FOURCC('S', 'W', 'B', 'S'), SetColor<&nGuiSkin::SetWindowBorder>);
    cl->AddCmd("ffff_getwindowborder_v", N_FOURCC('G', 'W', 'B', 'S'), GetColorCmd<&nGuiSkin::GetWindowBorder>);
    cl->AddCmd("v_beginbrushes_v", N_FOURCC('B', 'G', 'B', 'R'), n_beginbrushes);
    cl->AddCmd("v_addbrush_ssffffffff", N_FOURCC('A', 'D', 'B', 'R'), n_addbrush);
    cl->AddCmd("v_endbrushes_v", N_FOURCC('E', 'D', 'B', 'R'), n_endbrushes);
    cl->AddCmd("v_setsound_ss", N_FOURCC('S', 'B', 'T', 'S'), n_setsound);
    cl->AddCmd("s_getsound_s", N_FOURCC('G', 'B', 'T', 'S'), n_getsound);
    cl->AddCmd("v_setsoundvolume_sf", N_FOURCC('S', 'S', 'V', 'O'), n_setsoundvolume);
    cl->AddCmd("f_getsoundvolume_s", N_FOURCC('G', 'S', 'V', 'O'), n_getsoundvolume);
    cl->AddCmd("v_setwindowfont_s", N_FOURCC('S', 'W', 'N', 'F'), SetString<&nGuiSkin::SetWindowFont>);
    cl->AddCmd("s_getwindowfont_v", N_FOURCC('G', 'W', 'N', 'F'), GetString<&nGuiSkin::GetWindowFont>);
    cl->AddCmd("v_setbuttonfont_s", N_FOURCC('S', 'B', 'T', 'F'), SetString<&nGuiSkin::SetButtonFont>);
    cl->AddCmd("s_getbuttonfont_v", N_FOURCC('G', 'B', 'T', 'F'), GetString<&nGuiSkin::GetButtonFont>);
    cl->AddCmd("v_setlabelfont_s", N_FOURCC('S', 'L', 'B', 'F'), SetString<&nGuiSkin::SetLabelFont>);
    cl->AddCmd("s_getlabelfont_v", N_FOURCC('G', 'L', 'B', 'F'), GetString<&nGuiSkin::GetLabelFont>);
    cl->EndCmds();
}
