#ifndef N_APPGUISERVER_H
#define N_APPGUISERVER_H
//------------------------------------------------------------------------------
/**
    @class nAppGuiServer
    @ingroup Application

    What the application calls on the GUI server: the set-up of Open (root
    path, display size, the root window), the frame's time and Trigger, and
    Close. Windows are tree objects; the GUI server of the GUI area takes
    this class's place in nApplication when it is built (see
    ARCHITECTURE.md).
*/
#include "kernel/nroot.h"
#include "mathlib/vector2.h"

class nAppGuiServer : public nRoot
{
public:
    virtual void SetRootPath(const char* path) = 0;
    /// the display size in pixels
    virtual void SetDisplaySize(const vector2& size) = 0;
    virtual bool Open() = 0;
    virtual void Close() = 0;
    /// the root window, or none with null
    virtual void SetRootWindowPointer(nRoot* window) = 0;
    /// a new window of the class below the root; null when it cannot be made
    virtual nRoot* NewWindow(const char* className, bool visible) = 0;
    virtual void SetTime(double time) = 0;
    virtual void Trigger() = 0;

protected:
    ~nAppGuiServer() override = default;
};
#endif
