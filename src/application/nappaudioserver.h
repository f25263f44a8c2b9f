#ifndef N_APPAUDIOSERVER_H
#define N_APPAUDIOSERVER_H
//------------------------------------------------------------------------------
/**
    @class nAppAudioServer
    @ingroup Application

    What the application calls on the audio server: Open, Close, and the
    frame's audio scene (BeginScene with the time, the listener, EndScene).
    The audio server of the audio area takes this class's place in
    nApplication when it is built (see ARCHITECTURE.md).
*/
#include "kernel/nroot.h"

class nListener3;

class nAppAudioServer : public nRoot
{
public:
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool BeginScene(double time) = 0;
    virtual void UpdateListener(const nListener3& listener) = 0;
    virtual void EndScene() = 0;

protected:
    ~nAppAudioServer() override = default;
};
#endif
