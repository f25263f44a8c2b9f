#ifndef N_CMDGUARD_H
#define N_CMDGUARD_H
//------------------------------------------------------------------------------
/**
    Guards for script-command handlers.

    Every value a command handler receives comes from outside the engine
    (a script, a persistence file, the console, a remote client), so a bad
    one is no programming error: the guard logs it with the command's
    prototype, marks the invocation as failed and the handler returns. The
    dispatcher turns the mark into a script error; with fail-on-error set
    (start-up scripts) that still stops the script, with it cleared
    (console, remote, command entry) the program goes on.

    Each reader returns false after it has reported; the handler's idiom is

        const char* name;
        if (!nCmdGetS(cmd, name, "file name")) return;

    or, for a condition of the handler's own,

        n_cmd_check(cmd, w > 0, "width must be positive, not %d", w);

    Assertions stay for the engine's own invariants.
*/
#include "kernel/ncmd.h"
#include "kernel/ntypes.h"

class nObject;
class nRoot;

/// report a bad argument, mark the command failed; always returns false
bool nCmdFail(nCmd* cmd, const char* fmt, ...) N_PRINTF_FORMAT(2, 3);

/// next input as a string that must not be null
bool nCmdGetS(nCmd* cmd, const char*& out, const char* what);
/// next input as a string that must be neither null nor empty
bool nCmdGetNonEmptyS(nCmd* cmd, const char*& out, const char* what);
/// next input as an integer in [lo, hi]
bool nCmdGetI(nCmd* cmd, int& out, int lo, int hi, const char* what);
/// next input as a finite float
bool nCmdGetF(nCmd* cmd, float& out, const char* what);
/// next input as a finite float in [lo, hi]
bool nCmdGetF(nCmd* cmd, float& out, float lo, float hi, const char* what);
/// next input as an object that is not null and is an instance of the
/// class with the given module name (or one derived from it)
bool nCmdGetO(nCmd* cmd, nObject*& out, const char* className, const char* what);
/// next input as a path of an existing object (any class)
bool nCmdGetPath(nCmd* cmd, nRoot*& out, const char* what);

/// typed convenience over nCmdGetO
template <class T> bool
nCmdGetObject(nCmd* cmd, T*& out, const char* className, const char* what)
{
    nObject* obj = nullptr;
    if (!nCmdGetO(cmd, obj, className, what)) return false;
    out = static_cast<T*>(obj);
    return true;
}

/// end the command as a script error unless cond holds
#define n_cmd_check(cmd, cond, ...) \
    do { if (!(cond)) { nCmdFail((cmd), __VA_ARGS__); return; } } while (0)

#endif
