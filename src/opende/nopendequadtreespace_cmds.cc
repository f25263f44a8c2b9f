//------------------------------------------------------------------------------
//  nopendequadtreespace_cmds.cc
//------------------------------------------------------------------------------
#include "opende/nopendequadtreespace.h"
#include "kernel/ncmdargs.h"
#include "opende/nopendecmdguard.h"

using namespace nOpendeCmd;

namespace
{

/// ODE allocates every block of the tree up front (4^depth at the
/// deepest level): deeper trees would take memory without bound
const int MaxDepth = 8;

/*
 * n_create2 --
 *     Refuses a second Create, a space path that names no created space,
 *     a depth outside 1..MaxDepth and negative extents.
 */
void n_create2(void* slf, nCmd* cmd)
{
    nOpendeQuadTreeSpace* self = nCmdSelf<nOpendeQuadTreeSpace>(slf);
    const char* path = nullptr;
    vector3 center;
    vector3 extents;
    int depth = 0;
    if (!nCmdGetNonEmptyS(cmd, path, "space path") || !nCmdGetVector3(cmd, center, "centre") ||
        !nCmdGetVector3(cmd, extents, "extents") || !nCmdGetI(cmd, depth, 1, MaxDepth, "depth"))
    {
        return;
    }
    n_cmd_check(cmd, extents.x >= 0.0f && extents.y >= 0.0f && extents.z >= 0.0f, "extents must not be negative");
    n_cmd_check(cmd, 0 == self->id(), "'%s' has been created already", self->GetName());
    nString why;
    n_cmd_check(cmd, nOpendeGeom::IsUsableSpacePath(path, why), "space path '%s' %s", path, why.Get());
    self->Create2(path, center, extents, depth);
}

}  // namespace

/*
 * nopendequadtreespace_initcmds --
 *     Side effects: registers the commands of nopendequadtreespace.
 */
void nopendequadtreespace_initcmds(nClass* cl)
{
    cl->BeginCmds();
    cl->AddCmd("v_Create2_sffffffi", N_FOURCC('C', 'R', 'E', '2'), n_create2);
    cl->EndCmds();
}
