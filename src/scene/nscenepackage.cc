//------------------------------------------------------------------------------
//  nscenepackage.cc
//------------------------------------------------------------------------------
#include "scene/nscenepackage.h"
#include "scene/nsceneserver.h"
#include "scene/nmrtsceneserver.h"
#include "scene/nscenenode.h"
#include "scene/ntransformnode.h"
#include "scene/nabstractshadernode.h"
#include "scene/nmaterialnode.h"
#include "scene/nshapenode.h"
#include "scene/nlightnode.h"
#include "scene/nattachmentnode.h"
#include "scene/nanimator.h"
#include "scene/ntransformanimator.h"
#include "scene/nvectoranimator.h"
#include "scene/nfloatanimator.h"
#include "scene/nintanimator.h"
#include "kernel/nmodule.h"

void nsceneserver_initcmds(nClass* cl);
void nscenenode_initcmds(nClass* cl);
void ntransformnode_initcmds(nClass* cl);
void nabstractshadernode_initcmds(nClass* cl);
void nmaterialnode_initcmds(nClass* cl);
void nshapenode_initcmds(nClass* cl);
void nattachmentnode_initcmds(nClass* cl);
void nanimator_initcmds(nClass* cl);
void ntransformanimator_initcmds(nClass* cl);
void nvectoranimator_initcmds(nClass* cl);
void nfloatanimator_initcmds(nClass* cl);
void nintanimator_initcmds(nClass* cl);

N_IMPLEMENT_SINGLETON_MODULE(nsceneserver, nSceneServer, "nroot", nsceneserver_initcmds)
N_IMPLEMENT_MODULE(nmrtsceneserver, nMRTSceneServer, "nsceneserver", nullptr)
N_IMPLEMENT_MODULE(nscenenode, nSceneNode, "nroot", nscenenode_initcmds)
N_IMPLEMENT_MODULE(ntransformnode, nTransformNode, "nscenenode", ntransformnode_initcmds)
N_IMPLEMENT_MODULE(nabstractshadernode, nAbstractShaderNode, "ntransformnode", nabstractshadernode_initcmds)
N_IMPLEMENT_MODULE(nmaterialnode, nMaterialNode, "nabstractshadernode", nmaterialnode_initcmds)
N_IMPLEMENT_MODULE(nshapenode, nShapeNode, "nmaterialnode", nshapenode_initcmds)
N_IMPLEMENT_MODULE(nlightnode, nLightNode, "nabstractshadernode", nullptr)
N_IMPLEMENT_MODULE(nattachmentnode, nAttachmentNode, "ntransformnode", nattachmentnode_initcmds)
N_IMPLEMENT_MODULE(nanimator, nAnimator, "nscenenode", nanimator_initcmds)
N_IMPLEMENT_MODULE(ntransformanimator, nTransformAnimator, "nanimator", ntransformanimator_initcmds)
N_IMPLEMENT_MODULE(nvectoranimator, nVectorAnimator, "nanimator", nvectoranimator_initcmds)
N_IMPLEMENT_MODULE(nfloatanimator, nFloatAnimator, "nanimator", nfloatanimator_initcmds)
N_IMPLEMENT_MODULE(nintanimator, nIntAnimator, "nanimator", nintanimator_initcmds)

/*
 * nscene_package --
 *     Registers the scene classes with the kernel server, superclasses
 *     first; the resource, variable and graphics packages come before it.
 */
void nscene_package()
{
    nKernelServer* ks = nKernelServer::Instance();
    N_ADD_MODULE(ks, nsceneserver);
    N_ADD_MODULE(ks, nmrtsceneserver);
    N_ADD_MODULE(ks, nscenenode);
    N_ADD_MODULE(ks, ntransformnode);
    N_ADD_MODULE(ks, nabstractshadernode);
    N_ADD_MODULE(ks, nmaterialnode);
    N_ADD_MODULE(ks, nshapenode);
    N_ADD_MODULE(ks, nlightnode);
    N_ADD_MODULE(ks, nattachmentnode);
    N_ADD_MODULE(ks, nanimator);
    N_ADD_MODULE(ks, ntransformanimator);
    N_ADD_MODULE(ks, nvectoranimator);
    N_ADD_MODULE(ks, nfloatanimator);
    N_ADD_MODULE(ks, nintanimator);
}
