#ifndef N_D3D9WINDOWHANDLER_H
#define N_D3D9WINDOWHANDLER_H
//------------------------------------------------------------------------------
/**
    @class nD3D9WindowHandler
    @ingroup Gfx2

    The render window of the Direct3D 9 server: the hooks show or hide the
    system cursor by the server's cursor visibility, present again on a
    repaint, toggle full screen by closing and reopening the display, and
    answer a close request with quitting.
*/
#include "gfx2/nwin32windowhandler.h"

class nD3D9Server;

class nD3D9WindowHandler : public nWin32WindowHandler
{
public:
    explicit nD3D9WindowHandler(nD3D9Server* server);

protected:
    bool OnSetCursor() override;
    bool OnMouseMoved() override;
    void OnPaint() override;
    void OnToggleFullscreen() override;
    void OnMinimized(bool minimized) override;
    bool OnCloseRequested() override;

private:
    nD3D9Server* d3d9Server;
};
#endif
