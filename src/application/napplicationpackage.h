#ifndef N_APPLICATIONPACKAGE_H
#define N_APPLICATIONPACKAGE_H
//------------------------------------------------------------------------------
/**
    @file napplicationpackage.h

    The application package: the application and its states.
*/
void napplication_package();
#endif
