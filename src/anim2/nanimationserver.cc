//------------------------------------------------------------------------------
//  nanimationserver.cc
//------------------------------------------------------------------------------
#include "anim2/nanimationserver.h"
#include "anim2/nanimation.h"
#include "resource/nresourceserver.h"
#include "kernel/nkernelserver.h"
#include "kernel/nclass.h"

nAnimationServer::nAnimationServer() :
    refResourceServer("/sys/servers/resource", "nresourceserver")
{
}

nAnimationServer::~nAnimationServer()
{
    if (this->refResourceServer.isvalid())
    {
        this->refResourceServer->UnloadResources(nResource::Animation);
    }
}

/*
 * NewAnimation --
 *     Results: the resource from the resource server's animation pool, or
 *     null with a message when the class is no registered animation class
 *     or there is no resource server.
 */
nAnimation* nAnimationServer::NewAnimation(const char* className, const char* rsrcName)
{
    nClass* cl = nKernelServer::Instance()->FindClass(className);
    if (!cl || !cl->IsA("nanimation"))
    {
        n_printf("nAnimationServer: no animation class '%s' is registered\n", className);
        return nullptr;
    }
    if (!this->refResourceServer.isvalid())
    {
        n_printf("nAnimationServer: no resource server\n");
        return nullptr;
    }
    return static_cast<nAnimation*>(this->refResourceServer->NewResource(className, rsrcName, nResource::Animation));
}

nAnimation* nAnimationServer::NewMemoryAnimation(const char* rsrcName)
{
    n_assert(rsrcName);
    return this->NewAnimation("nmemoryanimation", rsrcName);
}

nAnimation* nAnimationServer::NewStreamingAnimation()
{
    return this->NewAnimation("nstreaminganimation", nullptr);
}
