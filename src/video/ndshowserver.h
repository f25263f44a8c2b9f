#ifndef N_DSHOWSERVER_H
#define N_DSHOWSERVER_H
//------------------------------------------------------------------------------
/**
    @class nDShowServer
    @ingroup Video

    The video server that plays: the file is read through the file
    server and decoded picture by picture, each picture drawn through the
    graphics device into the render window (stretched over the client
    area, or centred at its own size) and presented by this server's
    Trigger while the graphics server is in dialog-box mode, so that the
    application draws nothing of its own. The sound track plays through
    a streaming OpenAL source of its own. The playback clock is the time
    server's time since PlayFile. The video stops at the end of the file
    or when Escape or Space is pressed, except in the frame it began.

    Registered as "ndshowserver".
*/
#include "video/nvideoserver.h"
#include "video/nvideoquad.h"
#include "video/nvideosound.h"
#include "platform/nplatformvideo.h"
#include "kernel/nautoref.h"
#include "util/nstring.h"

#include <memory>

class nGfxServer2;

class nDShowServer : public nVideoServer
{
public:
    nDShowServer();

    bool Open() override;
    void Close() override;
    /// false with a message when the file cannot be played; nothing changes then
    bool PlayFile(const char* filename) override;
    void Stop() override;
    void Trigger() override;

    /// where the picture goes, in the window's client area
    int GetVideoX() const { return this->videoX; }
    int GetVideoY() const { return this->videoY; }
    int GetVideoWidth() const { return this->videoWidth; }
    int GetVideoHeight() const { return this->videoHeight; }
    /// the sound track's source
    const nVideoSound& GetSound() const { return this->sound; }

protected:
    ~nDShowServer() override;

private:
    /// the graphics server, or null with a message
    static nGfxServer2* GfxServer();
    /// seconds since PlayFile on the time server's clock
    double PlayTime() const;
    /// open the file and its first picture; false with a message
    bool OpenVideo(const char* filename);
    /// decode the picture after the current one; false with a message
    bool DecodeAhead();
    /// make the picture's device objects; false with a message
    bool PrepareDrawing(nGfxServer2* gfx);
    /// place the picture in the client area
    void PlaceVideo(nGfxServer2* gfx);
    /// the window's client size (the display mode's without a window)
    void ClientSize(nGfxServer2* gfx, int& w, int& h);
    /// dialog-box mode on and the cursor hidden
    void TakeOverDisplay(nGfxServer2* gfx);
    /// the pictures due by time t; false when decoding failed (with a message)
    bool Advance(double t);
    /// draw the current picture and present it
    void DrawFrame();
    /// hand the decoded sound on to OpenAL
    void FeedSound();
    /// sleep until the next picture is due (a running clock only)
    void WaitForNextFrame(double t) const;
    /// whether a key of the frame stops the video
    bool StopKeyPressed();

    nAutoRef<nRoot> refHwnd;
    nAutoRef<nRoot> refInputServer;
    /// stands where the filter graph stood: null when nothing plays
    std::unique_ptr<nPlatformVideo> decoder;
    /// the absolute path of the file that plays, for messages
    nString fileName;
    nVideoQuad quad;
    nVideoSound sound;
    /// the picture shown (or about to be) and the next one, decoded ahead
    nPlatformVideoFrame current;
    nPlatformVideoFrame upcoming;
    bool upcomingValid;
    bool framePending;
    double endTime;
    double startTime;
    bool firstFrame;
    int videoX;
    int videoY;
    int videoWidth;
    int videoHeight;
    /// what this server changed on the graphics server, to give back at Stop
    bool enteredDialogBoxMode;
    bool changedDisplayMode;
    int savedCursorVisibility;
};
#endif
