#ifndef TESTS_SCRIPT_ALLPACKAGES_H
#define TESTS_SCRIPT_ALLPACKAGES_H
//------------------------------------------------------------------------------
//  Every class package built so far, in layer order (the game's last). The
//  script host and the command sweep both make their kernels with this
//  list, so a new package added here is driven from Tcl and swept at once.
//------------------------------------------------------------------------------
#include "kernel/nkernelserver.h"
#include "variable/nvariablepackage.h"
#include "signals/nsignalspackage.h"
#include "file/nfilepackage.h"
#include "locale/nlocalepackage.h"
#include "script/nscriptpackage.h"
#include "misc/nmiscpackage.h"
#include "game/ngamepackage.h"

/// a kernel with every class package
class AllPackagesKernel : public nKernelServer
{
public:
    AllPackagesKernel() :
        nKernelServer({nvariable_package, nsignals_package, nfile_package, nlocale_package, nscript_package,
                       nmisc_package, ngame_package})
    {
    }
};
#endif
