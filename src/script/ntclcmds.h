#ifndef N_TCLCMDS_H
#define N_TCLCMDS_H
//------------------------------------------------------------------------------
/**
    @file ntclcmds.h
    @ingroup Script

    The engine's commands in a Tcl interpreter: puts, unknown (the
    object.command dispatch), new, delete, sel, psel, get, exit, dir,
    exists, emit and post, plus a source that reads through the file
    server. Each receives the Tcl server as its client data.
*/
struct Tcl_Interp;
class nTclServer;

/// registers the engine's commands, replacing Tcl's own of the same names
void nTclAddCommands(Tcl_Interp* interp, nTclServer* server);
/// removes the engine's commands again
void nTclRemoveCommands(Tcl_Interp* interp);

#endif
