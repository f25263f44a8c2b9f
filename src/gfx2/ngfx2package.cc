//------------------------------------------------------------------------------
//  ngfx2package.cc
//------------------------------------------------------------------------------
#include "gfx2/ngfx2package.h"
#include "gfx2/ngfxserver2.h"
#include "gfx2/ntexture2.h"
#include "gfx2/nmesh2.h"
#include "gfx2/nmesharray.h"
#include "gfx2/nshader2.h"
#include "gfx2/nfont2.h"
#include "gfx2/ninstancestream.h"
#include "gfx2/nsurface.h"
#include "kernel/nmodule.h"

void ngfxserver2_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(ngfxserver2, nGfxServer2, "nroot", ngfxserver2_initcmds)
N_IMPLEMENT_MODULE(ntexture2, nTexture2, "nresource", nullptr)
N_IMPLEMENT_MODULE(nmesh2, nMesh2, "nresource", nullptr)
N_IMPLEMENT_MODULE(nmesharray, nMeshArray, "nresource", nullptr)
N_IMPLEMENT_MODULE(nshader2, nShader2, "nresource", nullptr)
N_IMPLEMENT_MODULE(nfont2, nFont2, "nresource", nullptr)
N_IMPLEMENT_MODULE(ninstancestream, nInstanceStream, "nresource", nullptr)
N_IMPLEMENT_MODULE(nsurface, nSurface, "nroot", nullptr)

/*
 * ngfx2_package --
 *     Registers the graphics classes with the kernel server; the resource
 *     package must be registered first.
 */
void ngfx2_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, ngfxserver2);
    N_ADD_MODULE(ks, ntexture2);
    N_ADD_MODULE(ks, nmesh2);
    N_ADD_MODULE(ks, nmesharray);
    N_ADD_MODULE(ks, nshader2);
    N_ADD_MODULE(ks, nfont2);
    N_ADD_MODULE(ks, ninstancestream);
    N_ADD_MODULE(ks, nsurface);
}
