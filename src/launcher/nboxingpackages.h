#ifndef N_BOXINGPACKAGES_H
#define N_BOXINGPACKAGES_H
//------------------------------------------------------------------------------
/**
    @file nboxingpackages.h
    @ingroup Launcher

    Every class package of the program in the order its kernels add them:
    engine, Direct3D 9, DirectShow, GUI, DirectInput 8, OpenAL,
    application, physics, game. The program's kernels and the test host's
    are made from this one list, so that they cannot differ.
*/
#include "anim2/nanim2package.h"
#include "application/napplicationpackage.h"
#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "game/ngamepackage.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/ngfx2package.h"
#include "gui/nguipackage.h"
#include "input/ndi8package.h"
#include "input/ninputpackage.h"
#include "locale/nlocalepackage.h"
#include "misc/nmiscpackage.h"
#include "nopenal/nopenalpackage.h"
#include "opende/nopendepackage.h"
#include "resource/nresourcepackage.h"
#include "scene/nscenepackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "variable/nvariablepackage.h"
#include "video/nvideopackage.h"

/// the packages as the list nKernelServer's constructor takes:
/// nKernelServer({N_BOXING_PACKAGES})
#define N_BOXING_PACKAGES                                                                                         \
    /* engine: kernel and core classes, graphics, scene and resources */                                         \
    nvariable_package, nsignals_package, nfile_package, nlocale_package, nscript_package, nmisc_package,          \
        nresource_package, ngfx2_package, nanim2_package, nscene_package, ninput_package, naudio3_package,       \
        /* Direct3D 9 */ nd3d9_package, /* DirectShow */ nvideo_package, ndshow_package, /* GUI */ ngui_package, \
        /* DirectInput 8 */ ndi8_package, /* OpenAL */ nopenal_package, /* application */ napplication_package,  \
        /* physics */ nopende_package, /* game */ ngame_package
#endif
