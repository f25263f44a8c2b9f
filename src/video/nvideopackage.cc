//------------------------------------------------------------------------------
//  nvideopackage.cc
//------------------------------------------------------------------------------
#include "video/nvideopackage.h"
#include "video/ndshowserver.h"
#include "video/nvideoserver.h"
#include "kernel/nmodule.h"

void nvideoserver_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(nvideoserver, nVideoServer, "nroot", nvideoserver_initcmds)
N_IMPLEMENT_SINGLETON_MODULE(ndshowserver, nDShowServer, "nvideoserver", nullptr)

/*
 * nvideo_package --
 *     Side effects: registers the video server interface with the kernel server.
 */
void nvideo_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), nvideoserver);
}

/*
 * ndshow_package --
 *     Side effects: registers the playing video server with the kernel server.
 */
void ndshow_package()
{
    N_ADD_MODULE(nKernelServer::Instance(), ndshowserver);
}
