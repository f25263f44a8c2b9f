#ifndef N_VIDEOSERVER_H
#define N_VIDEOSERVER_H
//------------------------------------------------------------------------------
/**
    @class nVideoServer
    @ingroup Video

    The video server: plays one video file at a time over the render
    window. This class keeps the open, playing and scaling flags and the
    script interface; a subclass does the playing ("ndshowserver"). One
    object exists at a time, at "/sys/servers/video".
*/
#include "kernel/nroot.h"

class nVideoServer : public nRoot
{
public:
    nVideoServer();
    /// the one video server; asserts that it exists
    static nVideoServer* Instance();

    /// open the server; true
    virtual bool Open();
    /// close the server
    virtual void Close();
    /// start playing a file; true when it plays
    virtual bool PlayFile(const char* filename);
    /// stop the video that plays
    virtual void Stop();
    /// the server's work of a frame
    virtual void Trigger();

    bool IsOpen() const { return this->isOpen; }
    bool IsPlaying() const { return this->isPlaying; }
    /// stretch the next video over the window's client area (else centre it at its own size)
    void SetEnableScaling(bool b) { this->enableScaling = b; }
    bool GetEnableScaling() const { return this->enableScaling; }

protected:
    /// stops and closes what is still playing or open (a subclass does so in its own destructor)
    ~nVideoServer() override;

    static nVideoServer* Singleton;

    bool isOpen;
    bool isPlaying;
    bool enableScaling;
};
#endif
