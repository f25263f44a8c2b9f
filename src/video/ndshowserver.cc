//------------------------------------------------------------------------------
//  ndshowserver.cc
//------------------------------------------------------------------------------
#include "video/ndshowserver.h"
#include "video/nvideofilesource.h"
#include "gfx2/nd3d9server.h"
#include "input/ninputevent.h"
#include "input/ninputserver.h"
#include "kernel/nenv.h"
#include "kernel/nfile.h"
#include "kernel/nfileserver2.h"
#include "kernel/nkernelserver.h"
#include "kernel/ntimeserver.h"
#include "platform/nplatformwindow.h"

#include <algorithm>
#include <cmath>

namespace
{

/// the engine's key codes that stop a video
constexpr int KeyEscape = 12;
constexpr int KeySpace = 13;

/// the device the graphics server draws with, or null (a server without one, or closed)
nGfxDevice* DeviceOf(nGfxServer2* gfx)
{
    nD3D9Server* d3d = dynamic_cast<nD3D9Server*>(gfx);
    return (d3d && d3d->IsDeviceOpen()) ? d3d->GetDevice() : nullptr;
}

}  // namespace

nDShowServer::nDShowServer() :
    refHwnd("/sys/env/hwnd"),
    refInputServer("/sys/servers/input"),
    upcomingValid(false),
    framePending(false),
    endTime(0.0),
    startTime(0.0),
    firstFrame(false),
    videoX(0),
    videoY(0),
    videoWidth(0),
    videoHeight(0),
    enteredDialogBoxMode(false),
    changedDisplayMode(false),
    savedCursorVisibility(nGfxServer2::System)
{
}

/*
 * ~nDShowServer --
 *     Side effects: closes the server if it is open, and stops a video
 *     that plays on a server that was never opened.
 */
nDShowServer::~nDShowServer()
{
    if (this->IsOpen())
    {
        this->Close();
    }
    if (this->IsPlaying())
    {
        this->Stop();
    }
}

bool nDShowServer::Open()
{
    n_assert(!this->IsOpen());
    n_assert(!this->decoder);
    return nVideoServer::Open();
}

void nDShowServer::Close()
{
    n_assert(this->IsOpen());
    if (this->IsPlaying())
    {
        this->Stop();
    }
    nVideoServer::Close();
}

/*
 * GfxServer --
 *     Results: the graphics server; null, with a message, when there is none.
 */
nGfxServer2* nDShowServer::GfxServer()
{
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx)
    {
        n_message("nDShowServer: no graphics server to play a video on\n");
    }
    return gfx;
}

double nDShowServer::PlayTime() const
{
    return nTimeServer::Instance()->GetTime() - this->startTime;
}

/*
 * PlayFile --
 *     Results: true when the video plays; false, with a message and
 *     nothing else changed but a cleared screen, when the display cannot
 *     draw or the file cannot be opened, holds no picture that can be
 *     decoded or has pictures larger than the device's textures.
 *     Side effects: stops a video that plays; on success the graphics
 *     server is in dialog-box mode with the cursor hidden, the sound
 *     track plays, and the first Trigger shows the first picture.
 */
bool nDShowServer::PlayFile(const char* filename)
{
    n_assert(filename);
    if (this->IsPlaying())
    {
        this->Stop();
    }
    n_assert(!this->decoder);
    nGfxServer2* gfx = GfxServer();
    if (!gfx)
    {
        return false;
    }
    if (!gfx->BeginScene())
    {
        n_message("nDShowServer::PlayFile(): the display cannot draw; '%s' is not played\n", filename);
        return false;
    }
    gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0);
    gfx->EndScene();
    gfx->PresentScene();

    if (!this->OpenVideo(filename) || !this->PrepareDrawing(gfx))
    {
        this->quad.End();
        this->decoder.reset();
        return false;
    }
    this->PlaceVideo(gfx);
    this->TakeOverDisplay(gfx);
    if (this->decoder->HasAudio() && this->sound.Begin(this->decoder->GetAudioRate(), this->decoder->GetAudioChannels()))
    {
        this->FeedSound();
    }
    this->firstFrame = true;
    this->framePending = true;
    this->startTime = nTimeServer::Instance()->GetTime();
    return nVideoServer::PlayFile(filename);
}

/*
 * OpenVideo --
 *     Results: false with a message when the file cannot be opened or
 *     its first two pictures cannot be decoded.
 *     Side effects: the decoder, the current picture and the next one.
 */
bool nDShowServer::OpenVideo(const char* filename)
{
    nFileServer2* fileServer = nKernelServer::Instance()->GetFileServer();
    this->fileName = fileServer->ManglePath(filename);
    nFile* file = fileServer->NewFileObject();
    if (!file->Open(this->fileName.Get(), "r"))
    {
        file->Release();
        n_message("nDShowServer::PlayFile(): could not render file '%s': it cannot be opened\n", this->fileName.Get());
        return false;
    }
    this->decoder = std::make_unique<nPlatformVideo>();
    std::string error;
    if (!this->decoder->Open(std::make_unique<nVideoFileSource>(file), error))
    {
        n_message("nDShowServer::PlayFile(): could not render file '%s': %s\n", this->fileName.Get(), error.c_str());
        return false;
    }
    const nPlatformVideo::Status first = this->decoder->NextFrame(this->current, error);
    if (nPlatformVideo::Status::Frame != first)
    {
        n_message("nDShowServer::PlayFile(): could not render file '%s': %s\n", this->fileName.Get(),
                  first == nPlatformVideo::Status::End ? "it holds no picture" : error.c_str());
        return false;
    }
    this->upcomingValid = true;
    this->upcoming.time = this->current.time;
    return this->DecodeAhead();
}

/*
 * DecodeAhead --
 *     Results: false with a message when the decoder failed.
 *     Side effects: 'upcoming' holds the picture after 'current', or
 *     upcomingValid is cleared and endTime is when 'current' ends.
 */
bool nDShowServer::DecodeAhead()
{
    std::string error;
    switch (this->decoder->NextFrame(this->upcoming, error))
    {
        case nPlatformVideo::Status::Frame: return true;
        case nPlatformVideo::Status::End:
            this->upcomingValid = false;
            this->endTime = this->current.time + this->decoder->GetFrameDuration();
            return true;
        case nPlatformVideo::Status::Error: break;
    }
    this->upcomingValid = false;
    n_message("nDShowServer: playback of '%s' stopped: %s\n", this->fileName.Get(), error.c_str());
    return false;
}

/*
 * PrepareDrawing --
 *     Results: false with a message when the pictures are larger than
 *     the device's textures or the device cannot draw them. A graphics
 *     server without a device (tests) draws nothing and succeeds.
 */
bool nDShowServer::PrepareDrawing(nGfxServer2* gfx)
{
    nGfxDevice* device = DeviceOf(gfx);
    if (!device)
    {
        return true;
    }
    const int w = this->decoder->GetWidth();
    const int h = this->decoder->GetHeight();
    const int limit = device->GetMaxTextureSize();
    if (w > limit || h > limit)
    {
        n_message("nDShowServer::PlayFile(): could not render file '%s': its pictures of %dx%d exceed the largest "
                  "texture (%d)\n",
                  this->fileName.Get(), w, h, limit);
        return false;
    }
    std::string error;
    if (!this->quad.Begin(device, w, h, error))
    {
        n_message("nDShowServer::PlayFile(): could not render file '%s': %s\n", this->fileName.Get(), error.c_str());
        return false;
    }
    return true;
}

/*
 * ClientSize --
 *     Results: the size of the client area of the window "/sys/env/hwnd"
 *     names; the display mode's size when there is no such window.
 */
void nDShowServer::ClientSize(nGfxServer2* gfx, int& w, int& h)
{
    w = 0;
    h = 0;
    if (this->refHwnd.isvalid() && this->refHwnd->IsA("nenv"))
    {
        nEnv* env = static_cast<nEnv*>(this->refHwnd.get());
        if (nArg::Int == env->GetType())
        {
            nPlatformWindow::GetClientSizeOf((unsigned int)env->GetI(), w, h);
        }
    }
    if (w <= 0 || h <= 0)
    {
        w = gfx->GetDisplayMode().GetWidth();
        h = gfx->GetDisplayMode().GetHeight();
    }
}

/*
 * PlaceVideo --
 *     Side effects: with scaling the picture covers the client area;
 *     without it keeps its own size, centred (so it may be cropped or
 *     bordered), by integer division.
 */
void nDShowServer::PlaceVideo(nGfxServer2* gfx)
{
    int cw = 0;
    int ch = 0;
    this->ClientSize(gfx, cw, ch);
    if (this->GetEnableScaling())
    {
        this->videoX = 0;
        this->videoY = 0;
        this->videoWidth = cw;
        this->videoHeight = ch;
    }
    else
    {
        this->videoWidth = this->decoder->GetWidth();
        this->videoHeight = this->decoder->GetHeight();
        this->videoX = (0 + cw - this->videoWidth) / 2;
        this->videoY = (0 + ch - this->videoHeight) / 2;
    }
}

/*
 * TakeOverDisplay --
 *     Side effects: the graphics server enters dialog-box mode (its
 *     display mode gets the flag for the time the video plays, when it
 *     lacked it) and hides the cursor; what was changed is noted for Stop.
 */
void nDShowServer::TakeOverDisplay(nGfxServer2* gfx)
{
    if (!gfx->InDialogBoxMode())
    {
        nDisplayMode2 mode = gfx->GetDisplayMode();
        if (!mode.GetDialogBoxMode())
        {
            mode.SetDialogBoxMode(true);
            gfx->SetDisplayMode(mode);
            this->changedDisplayMode = true;
        }
        gfx->EnterDialogBoxMode();
        this->enteredDialogBoxMode = true;
    }
    this->savedCursorVisibility = gfx->GetCursorVisibility();
    gfx->SetCursorVisibility(nGfxServer2::None);
}

/*
 * Stop --
 *     Side effects: gives back what PlayFile changed on the graphics
 *     server (dialog-box mode, the display mode's flag, the cursor),
 *     releases the picture's device objects, the sound source and the
 *     decoder.
 */
void nDShowServer::Stop()
{
    n_assert(this->IsPlaying());
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (gfx)
    {
        nD3D9Server* d3d = dynamic_cast<nD3D9Server*>(gfx);
        // a closed device keeps the mode: leaving it would need the device
        if (this->enteredDialogBoxMode && gfx->InDialogBoxMode() && (!d3d || d3d->IsDeviceOpen()))
        {
            gfx->LeaveDialogBoxMode();
        }
        if (this->changedDisplayMode)
        {
            nDisplayMode2 mode = gfx->GetDisplayMode();
            mode.SetDialogBoxMode(false);
            gfx->SetDisplayMode(mode);
        }
        gfx->SetCursorVisibility((nGfxServer2::CursorVisibility)this->savedCursorVisibility);
    }
    this->enteredDialogBoxMode = false;
    this->changedDisplayMode = false;
    this->quad.End();
    this->sound.End();
    this->decoder.reset();
    this->upcomingValid = false;
    this->framePending = false;
    nVideoServer::Stop();
}

/*
 * Advance --
 *     Results: false when decoding failed (with a message).
 *     Side effects: every picture due by t becomes the current one in
 *     turn, the last of them waits to be drawn.
 */
bool nDShowServer::Advance(double t)
{
    while (this->upcomingValid && this->upcoming.time <= t)
    {
        std::swap(this->current, this->upcoming);
        this->framePending = true;
        if (!this->DecodeAhead())
        {
            return false;
        }
    }
    return true;
}

void nDShowServer::FeedSound()
{
    if (!this->sound.IsActive())
    {
        return;
    }
    std::vector<int16_t> samples;
    this->decoder->TakeAudio(samples);
    this->sound.Queue(samples);
    this->sound.Update();
}

/*
 * DrawFrame --
 *     Side effects: the back buffer is cleared to black, the current
 *     picture drawn at its place and presented; nothing when the display
 *     cannot draw now.
 */
void nDShowServer::DrawFrame()
{
    this->framePending = false;
    nGfxServer2* gfx = nGfxServer2::InstanceOrNull();
    if (!gfx || !gfx->BeginScene())
    {
        return;
    }
    gfx->Clear(nGfxServer2::AllBuffers, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0);
    int cw = 0;
    int ch = 0;
    this->ClientSize(gfx, cw, ch);
    this->quad.Upload(this->current);
    this->quad.Draw(this->videoX, this->videoY, this->videoWidth, this->videoHeight, cw, ch);
    gfx->EndScene();
    gfx->PresentScene();
}

/*
 * WaitForNextFrame --
 *     Side effects: while the clock runs by itself, sleeps until the
 *     next picture (or the end) is due, at most one picture's duration,
 *     so that the main loop does not spin. A stopped or stepped clock
 *     does not wait.
 */
void nDShowServer::WaitForNextFrame(double t) const
{
    const nTimeServer* timeServer = nTimeServer::Instance();
    if (timeServer->IsStopped() || timeServer->GetLockDeltaT() > 0.0)
    {
        return;
    }
    const double due = this->upcomingValid ? this->upcoming.time : this->endTime;
    const double wait = std::min(due - t, this->decoder->GetFrameDuration());
    if (wait > 0.0)
    {
        // the sleep counts whole milliseconds: round up, or the last one is spun away
        n_sleep((std::ceil(wait * 1000.0) + 0.5) / 1000.0);
    }
}

/*
 * StopKeyPressed --
 *     Results: whether the frame's input events hold a key press of
 *     Escape or Space (releases and characters do not count).
 */
bool nDShowServer::StopKeyPressed()
{
    if (!this->refInputServer.isvalid() || !this->refInputServer->IsA("ninputserver"))
    {
        return false;
    }
    const nInputServer* input = static_cast<nInputServer*>(this->refInputServer.get());
    for (const nInputEvent* e = input->FirstEvent(); e; e = input->NextEvent(e))
    {
        if (N_INPUT_KEY_DOWN == e->GetType() && (KeyEscape == e->GetKey() || KeySpace == e->GetKey()))
        {
            return true;
        }
    }
    return false;
}

/*
 * Trigger --
 *     Side effects: while a video plays: the pictures due by the clock
 *     are decoded, the end of the file or a decoding failure stops the
 *     video, the sound is fed, a new picture is drawn and presented (or
 *     the server waits for the next one), and from the second frame on
 *     a press of Escape or Space stops the video.
 */
void nDShowServer::Trigger()
{
    n_assert(this->IsOpen());
    if (!this->IsPlaying())
    {
        return;
    }
    n_assert(this->decoder);
    const double t = this->PlayTime();
    if (!this->Advance(t) || (!this->upcomingValid && t >= this->endTime))
    {
        this->Stop();
        return;
    }
    this->FeedSound();
    if (this->framePending)
    {
        this->DrawFrame();
    }
    else
    {
        this->WaitForNextFrame(t);
    }
    if (this->firstFrame)
    {
        // keys of the frame in which playing began are not looked at
        this->firstFrame = false;
        return;
    }
    if (this->StopKeyPressed())
    {
        this->Stop();
    }
}
