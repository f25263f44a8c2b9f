#ifndef TESTS_SCRIPT_ALLPACKAGES_H
#define TESTS_SCRIPT_ALLPACKAGES_H
//------------------------------------------------------------------------------
//  Every class package, in the order the program entry adds them. The
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
#include "resource/nresourcepackage.h"
#include "gfx2/ngfx2package.h"
#include "gfx2/nd3d9package.h"
#include "anim2/nanim2package.h"
#include "scene/nscenepackage.h"
#include "input/ninputpackage.h"
#include "input/ndi8package.h"
#include "audio3/naudio3package.h"
#include "nopenal/nopenalpackage.h"
#include "video/nvideopackage.h"
#include "gui/nguipackage.h"
#include "opende/nopendepackage.h"
#include "application/napplicationpackage.h"
#include "game/ngamepackage.h"

/// a kernel with every class package
class AllPackagesKernel : public nKernelServer
{
public:
    AllPackagesKernel() :
        nKernelServer({// engine: kernel and core classes, graphics, scene and resources
                       nvariable_package, nsignals_package, nfile_package, nlocale_package, nscript_package,
                       nmisc_package, nresource_package, ngfx2_package, nanim2_package, nscene_package,
                       ninput_package, naudio3_package,
                       // then in the program entry's order
                       nd3d9_package, nvideo_package, ndshow_package, ngui_package, ndi8_package,
                       nopenal_package, napplication_package, nopende_package, ngame_package})
    {
    }
};
#endif
