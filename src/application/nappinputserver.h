#ifndef N_APPINPUTSERVER_H
#define N_APPINPUTSERVER_H
//------------------------------------------------------------------------------
/**
    @class nAppInputServer
    @ingroup Application

    What the main loop calls on the input server, and nothing more: one
    Trigger per frame with the frame's time, and the flush of the frame's
    events at its end. The input server of the input area takes this
    class's place in nApplication when it is merged (see ARCHITECTURE.md).
*/
#include "kernel/nroot.h"

class nAppInputServer : public nRoot
{
public:
    /// turn the frame's events into input states and script commands
    virtual void Trigger(double time) = 0;
    /// delete every event of the frame
    virtual void FlushEvents() = 0;

protected:
    ~nAppInputServer() override = default;
};
#endif
