#ifndef N_WINDOWHANDLER_H
#define N_WINDOWHANDLER_H
//------------------------------------------------------------------------------
/**
    @class nWindowHandler
    @ingroup Gfx2

    What every window handler keeps: the input server it feeds, the
    display mode, whether the window is open and minimised, whether the
    user asked to quit, and whether the message pump is to be skipped.
    No virtual operations.
*/
#include "kernel/nautoref.h"
#include "gfx2/ndisplaymode2.h"

class nInputServer;

class nWindowHandler
{
public:
    nWindowHandler();
    /// the window must be closed by then
    ~nWindowHandler();
    nWindowHandler(const nWindowHandler&) = delete;
    nWindowHandler& operator=(const nWindowHandler&) = delete;

    bool IsWindowOpen() const { return this->windowOpen; }
    bool IsWindowMinimized() const { return this->windowMinimized; }
    bool IsQuitRequested() const { return this->quitRequested; }
    void SetDisplayMode(const nDisplayMode2& mode) { this->displayMode = mode; }
    const nDisplayMode2& GetDisplayMode() const { return this->displayMode; }
    /// while set, the per-frame Trigger leaves the window's events queued
    void SetSkipMsgLoop(bool skip) { this->skipMsgLoop = skip; }
    bool GetSkipMsgLoop() const { return this->skipMsgLoop; }

protected:
    nAutoRef<nInputServer> refInputServer;
    nDisplayMode2 displayMode;
    bool windowOpen;
    bool windowMinimized;
    bool quitRequested;
    bool skipMsgLoop;
};
#endif
