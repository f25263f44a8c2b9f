//------------------------------------------------------------------------------
//  nd3d9package.cc
//------------------------------------------------------------------------------
#include "gfx2/nd3d9package.h"
#include "gfx2/nd3d9server.h"
#include "gfx2/nd3d9mesh.h"
#include "gfx2/nd3d9texture.h"
#include "gfx2/nd3d9shader.h"
#include "gfx2/nd3d9font.h"
#include "gfx2/nd3d9mesharray.h"
#include "gfx2/nd3d9surface.h"
#include "kernel/nmodule.h"

N_IMPLEMENT_SINGLETON_MODULE(nd3d9server, nD3D9Server, "ngfxserver2", nullptr)
N_IMPLEMENT_MODULE(nd3d9mesh, nD3D9Mesh, "nmesh2", nullptr)
N_IMPLEMENT_MODULE(nd3d9texture, nD3D9Texture, "ntexture2", nullptr)
N_IMPLEMENT_MODULE(nd3d9shader, nD3D9Shader, "nshader2", nullptr)
N_IMPLEMENT_MODULE(nd3d9font, nD3D9Font, "nfont2", nullptr)
N_IMPLEMENT_MODULE(nd3d9mesharray, nD3D9MeshArray, "nmesharray", nullptr)
N_IMPLEMENT_MODULE(nd3d9surface, nD3D9Surface, "nsurface", nullptr)

/*
 * nd3d9_package --
 *     Registers the Direct3D 9 classes with the kernel server. The device's
 *     resource classes join this package as they are built.
 */
void nd3d9_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nd3d9server);
    N_ADD_MODULE(ks, nd3d9mesh);
    N_ADD_MODULE(ks, nd3d9texture);
    N_ADD_MODULE(ks, nd3d9shader);
    N_ADD_MODULE(ks, nd3d9font);
    N_ADD_MODULE(ks, nd3d9mesharray);
    N_ADD_MODULE(ks, nd3d9surface);
}
