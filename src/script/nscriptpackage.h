#ifndef N_SCRIPTPACKAGE_H
#define N_SCRIPTPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nscriptpackage.h
    @ingroup Script

    The class package of the script area: the Tcl server.
*/
void nscript_package();
#endif
