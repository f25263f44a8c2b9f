#ifndef N_GAMERUN_H
#define N_GAMERUN_H
//------------------------------------------------------------------------------
/**
    @file ngamerun.h
    @ingroup Launcher

    One game, from a fresh kernel to its deletion: the npk archives in the
    home directory mounted, the program's log handler installed, the game
    application "theApp" created with its start-up script, opened, run
    until the player quits and closed, then everything torn down. No
    other kernel may exist meanwhile.
*/
#include <memory>
#include <string>

class nKernelServer;

/// makes the game's kernel for a home directory (see nNewBoxingKernel)
typedef std::unique_ptr<nKernelServer> (*nGameKernelFactory)(const std::string& home);

/// run one game; true when it opened and ran, false with the reason for the player in failure
bool nRunBoxingGame(const std::string& home, std::string& failure, nGameKernelFactory makeKernel = nullptr);
#endif
