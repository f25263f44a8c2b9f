//------------------------------------------------------------------------------
//  nopendespace_cmds.cc
//
//  The script commands of nopendespace, inherited by the three spaces.
//------------------------------------------------------------------------------
#include "opende/nopendespace.h"
#include "opende/nopendecmdguard.h"
#include "kernel/npersistserver.h"

using namespace nOpendeCmd;

namespace
{

nOpendeSpace* Space(void* slf, nCmd* cmd)
{
    return static_cast<nOpendeSpace*>(Created(slf, cmd));
}

/// the created geom at the command's path argument, or 0 (reported)
nOpendeGeom* GeomArg(nCmd* cmd)
{
    nObject* obj = nullptr;
    const char* path = nullptr;
    if (!nCmdGetNonEmptyS(cmd, path, "geom path")) return nullptr;
    obj = nKernelServer::Instance()->Lookup(path);
    if (!obj || !obj->IsA("nopendegeom"))
    {
        nCmdFail(cmd, "geom path '%s' names no nopendegeom", path);
        return nullptr;
    }
    nOpendeGeom* geom = static_cast<nOpendeGeom*>(obj);
    if (!geom->id())
    {
        nCmdFail(cmd, "geom '%s' has no ODE geom yet", path);
        return nullptr;
    }
    return geom;
}

void n_setcleanup(void* slf, nCmd* cmd)
{
    const bool b = cmd->In()->GetB();
    nOpendeSpace* self = Space(slf, cmd);
    if (self) self->SetCleanup(b);
}

void n_getcleanup(void* slf, nCmd* cmd)
{
    nOpendeSpace* self = Space(slf, cmd);
    if (self) cmd->Out()->SetB(self->GetCleanup());
}

void n_addgeom(void* slf, nCmd* cmd)
{
    nOpendeGeom* geom = GeomArg(cmd);
    if (!geom) return;
    nOpendeSpace* self = Space(slf, cmd);
    if (!self) return;
    nString why;
    n_cmd_check(cmd, self->CanAdd(geom->id(), why), "'%s' %s", geom->GetName(), why.Get());
    self->AddGeom(geom->id());
}

void n_removegeom(void* slf, nCmd* cmd)
{
    nOpendeGeom* geom = GeomArg(cmd);
    if (!geom) return;
    nOpendeSpace* self = Space(slf, cmd);
    if (!self) return;
    n_cmd_check(cmd, self->ContainsGeom(geom->id()), "'%s' is not in this space", geom->GetName());
    self->RemoveGeom(geom->id());
}

void n_containsgeom(void* slf, nCmd* cmd)
{
    nOpendeGeom* geom = GeomArg(cmd);
    if (!geom) return;
    nOpendeSpace* self = Space(slf, cmd);
    if (self) cmd->Out()->SetB(self->ContainsGeom(geom->id()));
}

void n_getnumgeoms(void* slf, nCmd* cmd)
{
    nOpendeSpace* self = Space(slf, cmd);
    if (self) cmd->Out()->SetI(self->GetNumGeoms());
}

}  // namespace

/*
 * nopendespace_initcmds --
 *     Side effects: registers the commands of nopendespace.
 */
void nopendespace_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_SetCleanup_b", N_FOURCC('S', 'C', 'L', 'N'), n_setcleanup);
    cl->AddCmd("b_GetCleanup_v", N_FOURCC('G', 'C', 'L', 'N'), n_getcleanup);
    cl->AddCmd("v_AddGeom_s", N_FOURCC('A', 'D', 'D', 'G'), n_addgeom);
    cl->AddCmd("v_RemoveGeom_s", N_FOURCC('R', 'E', 'M', 'G'), n_removegeom);
    cl->AddCmd("b_ContainsGeom_s", N_FOURCC('C', 'O', 'N', 'G'), n_containsgeom);
    cl->AddCmd("i_GetNumGeoms_v", N_FOURCC('G', 'N', 'G', '_'), n_getnumgeoms);
    cl->EndCmds();
}

/*
 * SaveCmds --
 *     Results: the base object's result.
 *     Side effects: writes the base object's commands only: a space is
 *     saved without its Create, the loading script creates it.
 */
bool nOpendeSpace::SaveCmds(nPersistServer* ps)
{
    return nRoot::SaveCmds(ps);
}
