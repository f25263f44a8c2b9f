//------------------------------------------------------------------------------
//  One game run from a fresh kernel to its deletion, where the game cannot
//  open: the player gets a message, nothing stops the program, and no
//  kernel is left behind.
//------------------------------------------------------------------------------
#include <gtest/gtest.h>

#include "launcher/nboxingkernel.h"
#include "launcher/ngamerun.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "file/nfilepackage.h"
#include "misc/nmiscpackage.h"
#include "script/nscriptpackage.h"
#include "signals/nsignalspackage.h"
#include "usertempdir.h"

#include <algorithm>
#include <filesystem>
#include <memory>

namespace
{

/// a kernel without the game's packages
std::unique_ptr<nKernelServer> NewKernelWithoutGame(const std::string& home)
{
    std::unique_ptr<nKernelServer> ks(new nKernelServer({nsignals_package, nfile_package, nscript_package, nmisc_package}));
    ks->GetFileServer()->SetAssign("home", home.c_str());
    return ks;
}

bool Contains(const std::vector<std::string>& names, const char* name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TEST(GameRun, MissingClassesEndTheRunWithAMessageTwice)
{
    const std::string home = MakeTempDir("gamerun") + "/";
    for (int run = 0; run < 2; run++)
    {
        SCOPED_TRACE(run);
        std::string failure;
        EXPECT_FALSE(nRunBoxingGame(home, failure, NewKernelWithoutGame));
        EXPECT_NE(failure.find("'napp'"), std::string::npos) << failure;
        EXPECT_NE(failure.find("'nscriptprefserver'"), std::string::npos) << failure;
        EXPECT_EQ(nKernelServer::Instance(), nullptr);
        // the program's log handler wrote the reason into its file in the game's home
        EXPECT_NE(ReadWholeFile(home + "bin.log").find("'napp', "), std::string::npos);
    }
    std::filesystem::remove_all(home);
}

TEST(GameRun, TheProgramKernelKnowsTheGameAndTheEngine)
{
    const std::string home = MakeTempDir("gamerun") + "/";
    {
        std::unique_ptr<nKernelServer> ks = nNewBoxingKernel(home);
        EXPECT_STREQ(ks->GetFileServer()->GetAssign("home"), home.c_str());
        EXPECT_NE(ks->FindClass("nnpkfileserver"), nullptr);
        const std::vector<std::string> missing = nMissingGameClasses(ks.get());
        for (const char* name : {"napp", "ntclserver", "nd3d9server", "ndi8server", "nopenalserver",
                                 "nscriptprefserver", "nopendeworld", "nmrtsceneserver", "nguiserver"})
        {
            EXPECT_FALSE(Contains(missing, name)) << name;
        }
        // with the intro and menu states the game has every class it needs
        EXPECT_EQ(missing, std::vector<std::string>{});
    }
    std::filesystem::remove_all(home);
}
