#ifndef N_APPSCENESERVER_H
#define N_APPSCENESERVER_H
//------------------------------------------------------------------------------
/**
    @class nAppSceneServer
    @ingroup Application

    What the application calls on the scene server: open and close (which
    open and close the display through the render path), the frame
    protocol BeginScene / RenderScene / EndScene / PresentScene, and the
    render path. The scene server of the scene area takes this class's
    place in nApplication when it is built (see ARCHITECTURE.md).
*/
#include "kernel/nroot.h"
#include "mathlib/matrix44.h"

class nAppRenderPath;

class nAppSceneServer : public nRoot
{
public:
    /// open the render path and the display; false when it cannot
    virtual bool Open() = 0;
    /// close the render path and the display
    virtual void Close() = 0;
    /// begin a frame seen from the viewer's world matrix; false skips the frame's rendering
    virtual bool BeginScene(const matrix44& viewer) = 0;
    virtual void RenderScene() = 0;
    virtual void EndScene() = 0;
    virtual void PresentScene() = 0;
    /// the render path the scene is drawn through
    virtual nAppRenderPath* GetRenderPath() = 0;

protected:
    ~nAppSceneServer() override = default;
};
#endif
