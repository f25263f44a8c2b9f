//------------------------------------------------------------------------------
//  nopendetransformgeom_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendetransformgeom.h"
#include "kernel/ncmdargs.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

#include <climits>
#include <cstring>

using namespace nOpendeCmd;

namespace
{

nOpendeTransformGeom* Self(void* slf, nCmd* cmd)
{
    return static_cast<nOpendeTransformGeom*>(Created(slf, cmd));
}

/*
 * n_setgeom --
 *     "none" empties the transform; any other path must name a geom the
 *     transform can hold. While a file loads, a path that names nothing
 *     yet is kept, reported, and waited for.
 */
void n_setgeom(void* slf, nCmd* cmd)
{
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "geom path")) return;
    nOpendeTransformGeom* self = Self(slf, cmd);
    if (!self) return;
    if (0 != strcmp(path, "none"))
    {
        nRoot* obj = nKernelServer::Instance()->Lookup(path);
        if (!(obj && obj->IsA("nopendegeom")) && nKernelServer::Instance()->GetPersistServer()->IsLoading())
        {
            // the geom may come later in the file: it joins when it is made
            self->WaitForGeom(path);
            n_printf("nOpendeTransformGeom: '%s' waits for its geom '%s', not loaded yet; the geom joins it once "
                     "it is created\n",
                     self->GetFullName().Get(), path);
            return;
        }
        n_cmd_check(cmd, obj && obj->IsA("nopendegeom"), "geom path '%s' names no nopendegeom", path);
        nString why;
        n_cmd_check(cmd, self->CanHold(static_cast<nOpendeGeom*>(obj), why), "geom '%s' %s", path, why.Get());
    }
    self->SetGeom(path);
}

void n_getgeom(void* slf, nCmd* cmd)
{
    cmd->Out()->SetS(nCmdSelf<nOpendeTransformGeom>(slf)->GetGeom());
}

void n_setcleanup(void* slf, nCmd* cmd)
{
    const bool b = cmd->In()->GetB();
    nOpendeTransformGeom* self = Self(slf, cmd);
    if (self) self->SetCleanup(b);
}

void n_getcleanup(void* slf, nCmd* cmd)
{
    nOpendeTransformGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetB(self->GetCleanup());
}

void n_setinfo(void* slf, nCmd* cmd)
{
    int mode = 0;
    if (!nCmdGetI(cmd, mode, INT_MIN, INT_MAX, "info mode")) return;
    nOpendeTransformGeom* self = Self(slf, cmd);
    if (self) self->SetInfo(mode);
}

void n_getinfo(void* slf, nCmd* cmd)
{
    nOpendeTransformGeom* self = Self(slf, cmd);
    if (self) cmd->Out()->SetI(self->GetInfo());
}

}  // namespace

/*
 * nopendetransformgeom_initcmds --
 *     Side effects: registers the commands of nopendetransformgeom.
 */
void nopendetransformgeom_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetGeom_s", N_FOURCC('S', 'G', 'E', 'O'), n_setgeom);
    cl->AddCmd("s_GetGeom_v", N_FOURCC('G', 'G', 'E', 'O'), n_getgeom);
    cl->AddCmd("v_SetCleanup_b", N_FOURCC('S', 'C', 'L', 'N'), n_setcleanup);
    cl->AddCmd("b_GetCleanup_v", N_FOURCC('G', 'C', 'L', 'N'), n_getcleanup);
    cl->AddCmd("v_SetInfo_i", N_FOURCC('S', 'I', 'N', 'F'), n_setinfo);
    cl->AddCmd("i_GetInfo_v", N_FOURCC('G', 'I', 'N', 'F'), n_getinfo);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: false when a command could not be written.
 *     Side effects: writes the geom's commands, then SGEO (the path, "none"
 *     without a geom), SCLN and SINF.
 */
bool nOpendeTransformGeom::SaveCmds(nPersistServer* ps)
{
    if (!nOpendeGeom::SaveCmds(ps)) return false;
    if (!this->id()) return true;
    nCmd* cmd = ps->GetCmd(this, N_FOURCC('S', 'G', 'E', 'O'));
    cmd->In()->SetS(this->geomPath.Get());
    if (!ps->PutCmd(cmd)) return false;

    cmd = ps->GetCmd(this, N_FOURCC('S', 'C', 'L', 'N'));
    cmd->In()->SetB(this->GetCleanup());
    if (!ps->PutCmd(cmd)) return false;

    cmd = ps->GetCmd(this, N_FOURCC('S', 'I', 'N', 'F'));
    cmd->In()->SetI(this->GetInfo());
    return ps->PutCmd(cmd);
}
