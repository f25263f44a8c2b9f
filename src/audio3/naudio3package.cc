//------------------------------------------------------------------------------
//  naudio3package.cc
//------------------------------------------------------------------------------
#include "audio3/naudio3package.h"
#include "audio3/naudioserver3.h"
#include "audio3/nsound3.h"
#include "audio3/nsoundresource.h"
#include "kernel/nmodule.h"

void naudioserver3_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(naudioserver3, nAudioServer3, "nroot", naudioserver3_initcmds)
N_IMPLEMENT_MODULE(nsoundresource, nSoundResource, "nresource", nullptr)
N_IMPLEMENT_MODULE(nsound3, nSound3, "nresource", nullptr)

/*
 * naudio3_package --
 *     Side effects: registers the audio classes with the kernel server.
 */
void naudio3_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, naudioserver3);
    N_ADD_MODULE(ks, nsoundresource);
    N_ADD_MODULE(ks, nsound3);
}
