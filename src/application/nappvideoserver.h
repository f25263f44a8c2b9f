#ifndef N_APPVIDEOSERVER_H
#define N_APPVIDEOSERVER_H
//------------------------------------------------------------------------------
/**
    @class nAppVideoServer
    @ingroup Application

    What the application calls on the video server: Open, Close and the
    per-frame Trigger. The video server of the video area takes this
    class's place in nApplication when it is built (see ARCHITECTURE.md).
*/
#include "kernel/nroot.h"

class nAppVideoServer : public nRoot
{
public:
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual void Trigger() = 0;

protected:
    ~nAppVideoServer() override = default;
};
#endif
