//------------------------------------------------------------------------------
//  nboxingkernel.cc
//------------------------------------------------------------------------------
#include "launcher/nboxingkernel.h"

#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"

#include "launcher/nboxingpackages.h"

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
 *     Results: a kernel server on the heap, owned by the caller, with
 *     the packages in the program's order; the npk archive server is its
 *     file server.
 *     Side effects: becomes the one kernel server; its home assign is
 *     home when that is given.
 */
std::unique_ptr<nKernelServer> nNewBoxingKernel(const std::string& home)
{
    std::unique_ptr<nKernelServer> ks(new nKernelServer({N_BOXING_PACKAGES}));
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
