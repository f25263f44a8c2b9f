#ifndef N_ANIMATIONSERVER_H
#define N_ANIMATIONSERVER_H
//------------------------------------------------------------------------------
/**
    @class nAnimationServer
    @ingroup Anim2

    Makes animation resources through the resource server: shared ones by
    name in memory, and streaming ones, each of its own. The concrete
    animation classes come from packages that register them; without
    them the factories make nothing.
*/
#include "kernel/nroot.h"
#include "kernel/nautoref.h"

class nAnimation;
class nResourceServer;

class nAnimationServer : public nRoot
{
public:
    nAnimationServer();

    /// the shared in-memory animation of the name (one more reference), or null
    virtual nAnimation* NewMemoryAnimation(const char* rsrcName);
    /// a new streaming animation with a unique name, or null
    virtual nAnimation* NewStreamingAnimation();

protected:
    /// unloads every animation resource
    ~nAnimationServer() override;

private:
    /// a resource of the class from the animation pool, or null when the class is missing
    nAnimation* NewAnimation(const char* className, const char* rsrcName);

    nAutoRef<nResourceServer> refResourceServer;
};
#endif
