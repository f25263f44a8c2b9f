//------------------------------------------------------------------------------
//  ncmdguard.cc
//------------------------------------------------------------------------------
#include "kernel/ncmdguard.h"
#include "kernel/ncmdproto.h"
#include "kernel/nkernelserver.h"
#include "kernel/nobject.h"
#include "kernel/nclass.h"
#include "kernel/nroot.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

/*
 * nCmdFail --
 *     Results: false, so that a reader can return it.
 *     Side effects: logs "<prototype>: <message>" and marks the command
 *     failed with the same text.
 */
bool nCmdFail(nCmd* cmd, const char* fmt, ...)
{
    n_assert(cmd && fmt);
    char body[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(body, sizeof(body), fmt, args);
    va_end(args);

    char msg[640];
    snprintf(msg, sizeof(msg), "%s: %s", cmd->GetProto()->GetProtoDef(), body);
    n_printf("%s\n", msg);
    cmd->SetError(msg);
    return false;
}

bool nCmdGetS(nCmd* cmd, const char*& out, const char* what)
{
    out = cmd->In()->GetS();
    if (!out) return nCmdFail(cmd, "null %s argument", what);
    return true;
}

bool nCmdGetNonEmptyS(nCmd* cmd, const char*& out, const char* what)
{
    if (!nCmdGetS(cmd, out, what)) return false;
    if (!out[0]) return nCmdFail(cmd, "empty %s argument", what);
    return true;
}

bool nCmdGetI(nCmd* cmd, int& out, int lo, int hi, const char* what)
{
    out = cmd->In()->GetI();
    if (out < lo || out > hi) return nCmdFail(cmd, "%s %d is outside %d..%d", what, out, lo, hi);
    return true;
}

bool nCmdGetF(nCmd* cmd, float& out, const char* what)
{
    out = cmd->In()->GetF();
    if (!std::isfinite(out)) return nCmdFail(cmd, "%s is not a finite number", what);
    return true;
}

bool nCmdGetF(nCmd* cmd, float& out, float lo, float hi, const char* what)
{
    if (!nCmdGetF(cmd, out, what)) return false;
    if (out < lo || out > hi) return nCmdFail(cmd, "%s %g is outside %g..%g", what, out, lo, hi);
    return true;
}

bool nCmdGetO(nCmd* cmd, nObject*& out, const char* className, const char* what)
{
    out = static_cast<nObject*>(cmd->In()->GetO());
    if (!out) return nCmdFail(cmd, "null %s argument", what);
    if (!out->GetClass()->IsA(className))
    {
        nObject* bad = out;
        out = nullptr;
        return nCmdFail(cmd, "%s is a '%s', not a '%s'", what, bad->GetClass()->GetName(), className);
    }
    return true;
}

bool nCmdGetPath(nCmd* cmd, nRoot*& out, const char* what)
{
    const char* path = nullptr;
    out = nullptr;
    if (!nCmdGetS(cmd, path, what)) return false;
    out = nKernelServer::Instance()->Lookup(path);
    if (!out) return nCmdFail(cmd, "%s '%s' not found", what, path);
    return true;
}
