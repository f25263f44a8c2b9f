#ifndef N_VARIABLEPACKAGE_H
#define N_VARIABLEPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file nvariablepackage.h

    The render-variable class package: registers "nvariableserver".
*/
void nvariable_package();
#endif
