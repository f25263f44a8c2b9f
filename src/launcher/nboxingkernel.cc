//------------------------------------------------------------------------------
//  nboxingkernel.cc
//------------------------------------------------------------------------------
#include "launcher/nboxingkernel.h"

#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"

#include "anim2/nanim2package.h"
#include "application/napplicationpackage.h"
#include "audio3/naudio3package.h"
#include "file/nfilepackage.h"
#include "game/ngamepackage.h"
#include "gfx2/nd3d9package.h"
#include "gfx2/ngfx2package.h"
#include "gui/nguipackage.h"
#include "video/nvideopackage.h"
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

namespace
{

/*
 * The classes the game application's Open creates by name: its servers
 * (the engine application's and the game's own), the physics objects and
 * the three game states. A kernel without one of them would stop the
 * program in the middle of Open, so the launcher checks first.
 */
const char* const GameClasses[] = {
    "napp", "ntclserver", "nd3d9server", "ndi8server", "nconserver", "nresourceserver", "nmrtsceneserver",
    "nvariableserver", "nanimationserver", "ndshowserver", "nguiserver", "nopenalserver", "nscriptprefserver",
    "nlocaleserver", "nopendeserver", "nopendeworld", "nopendehashspace", "nintro", "nmainmenu", "ngame",
};

}  // namespace

/*
 * nNewBoxingKernel --
 *     Results: a kernel server on the heap (the caller deletes it) with
 *     the packages in the program's order; the npk archive server is its
 *     file server.
 *     Side effects: becomes the one kernel server; its home assign is
 *     home when that is given.
 */
std::unique_ptr<nKernelServer> nNewBoxingKernel(const std::string& home)
{
    std::unique_ptr<nKernelServer> ks(new nKernelServer({
        // engine: kernel and core classes, graphics, scene and resources
        nvariable_package, nsignals_package, nfile_package, nlocale_package, nscript_package, nmisc_package,
        nresource_package, ngfx2_package, nanim2_package, nscene_package, ninput_package, naudio3_package,
        // Direct3D 9
        nd3d9_package,
        // DirectShow
        nvideo_package, ndshow_package,
        // GUI
        ngui_package,
        // DirectInput 8
        ndi8_package,
        // OpenAL
        nopenal_package,
        // application
        napplication_package,
        // physics
        nopende_package,
        // game
        ngame_package,
    }));
    if (!home.empty()) ks->GetFileServer()->SetAssign("home", home.c_str());
    return ks;
}

/*
 * nMissingGameClasses --
 *     Results: the names of the game's classes the kernel has not
 *     registered, in a fixed order; empty when the game can open.
 */
std::vector<std::string> nMissingGameClasses(nKernelServer* ks)
{
    std::vector<std::string> missing;
    for (const char* name : GameClasses)
    {
        if (!ks->FindClass(name)) missing.emplace_back(name);
    }
    return missing;
}
