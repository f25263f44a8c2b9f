#ifndef N_BOXINGKERNEL_H
#define N_BOXINGKERNEL_H
//------------------------------------------------------------------------------
/**
    @file nboxingkernel.h
    @ingroup Launcher

    The kernels of the program: every class package the game needs, in
    the fixed order engine, Direct3D 9, DirectShow, GUI, DirectInput 8,
    OpenAL, application, physics, game. Both the launcher's small kernel
    and the game's kernel are made this way.
*/
#include <memory>
#include <string>
#include <vector>

class nKernelServer;

/// a new kernel with the program's packages; home (a directory ending in "/") replaces the
/// program's own home assign unless it is empty
std::unique_ptr<nKernelServer> nNewBoxingKernel(const std::string& home);

/// the classes the game application creates when it opens that the kernel does not know
std::vector<std::string> nMissingGameClasses(nKernelServer* ks);
#endif
