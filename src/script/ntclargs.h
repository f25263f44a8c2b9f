#ifndef N_TCLARGS_H
#define N_TCLARGS_H
//------------------------------------------------------------------------------
/**
    @file ntclargs.h
    @ingroup Script

    Conversion between Tcl words and the typed arguments of script
    commands. A string ":null:" stands for a null string, the word "null"
    for a null object, and objects are named by their full paths.
*/
#include <tcl.h>

#include "util/nstring.h"

class nCmd;
class nObject;

/// fill the command's inputs from the words; false when they don't fit
bool nTclGetInArgs(Tcl_Interp* interp, nCmd* cmd, int objc, Tcl_Obj* const objv[]);
/// make the command's outputs the interpreter's result
void nTclPutOutArgs(Tcl_Interp* interp, nCmd* cmd);
/// the full path of a tree object, "nObject" for any other object
nString nTclObjectName(nObject* obj);

#endif
