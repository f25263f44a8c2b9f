//------------------------------------------------------------------------------
//  ngamerun.cc
//------------------------------------------------------------------------------
#include "launcher/ngamerun.h"
#include "launcher/nboxingkernel.h"

#include "file/nnpkfileserver.h"
#include "game/napp.h"
#include "kernel/nkernelserver.h"
#include "kernel/nwin32loghandler.h"

#include <memory>

namespace
{

const char* const StartupScript = "home:/data/scripts/startup.tcl";

/*
 * MountArchives --
 *     Side effects: every ".dat" file in the home directory is mounted as
 *     an npk archive, when the kernel serves archives.
 */
void MountArchives(nKernelServer* ks)
{
    nNpkFileServer* npk = dynamic_cast<nNpkFileServer*>(ks->GetFileServer());
    if (npk) npk->ParseDirectory(nString("home:/"), nString("dat"));
}

/*
 * MissingClassesText --
 *     Results: the player's message for classes this build lacks, empty
 *     when none is missing.
 */
std::string MissingClassesText(nKernelServer* ks)
{
    const std::vector<std::string> missing = nMissingGameClasses(ks);
    if (missing.empty()) return std::string();
    std::string text = "The game cannot start: this build lacks its classes ";
    for (size_t i = 0; i < missing.size(); i++) text += (i ? ", '" : "'") + missing[i] + "'";
    text += ".";
    n_printf("%s\n", text.c_str());
    return text;
}

/*
 * RunApplication --
 *     Results: true when the application opened (it then ran and closed);
 *     false with the reason in failure.
 *     Side effects: "theApp" is created, run and released.
 */
bool RunApplication(nKernelServer* ks, std::string& failure)
{
    nApp* app = static_cast<nApp*>(ks->New("napp", "theApp"));
    app->SetStartupScript(nString(StartupScript));
    const bool opened = app->Open();
    if (opened)
    {
        app->Run();
        app->Close();
    }
    else
    {
        failure = "The game could not open its display or its sound; \"home:bin.log\" says why.";
    }
    app->Release();
    return opened;
}

}  // namespace

/*
 * nRunBoxingGame --
 *     Results: true when the game opened and ran until the player quit;
 *     false with a message for the player when it could not start.
 *     Side effects: a kernel (with the program's packages unless another
 *     factory is given) exists during the call only; the log file
 *     "home:bin.log" is written.
 */
bool nRunBoxingGame(const std::string& home, std::string& failure, nGameKernelFactory makeKernel)
{
    // declared first, so that it outlives the kernel, which puts the default handler back when it dies
    std::unique_ptr<nWin32LogHandler> logHandler;
    std::unique_ptr<nKernelServer> ks = (makeKernel ? makeKernel : nNewBoxingKernel)(home);
    MountArchives(ks.get());
    logHandler = std::make_unique<nWin32LogHandler>("Boxing", "ZORVEK Games");
    ks->SetLogHandler(logHandler.get());

    failure = MissingClassesText(ks.get());
    return failure.empty() && RunApplication(ks.get(), failure);
}
