//------------------------------------------------------------------------------
//  ndisplaymode2.cc
//------------------------------------------------------------------------------
#include "gfx2/ndisplaymode2.h"

#include <cstring>

nDisplayMode2::nDisplayMode2() :
    windowTitle("Quelor2 Viewer"),
    type(Windowed),
    xPos(0),
    yPos(0),
    width(640),
    height(480),
    bpp(1),
    vsync(true),
    dialogBoxMode(false)
{
}

nDisplayMode2::nDisplayMode2(const char* title, Type t, ushort x, ushort y, ushort w, ushort h, bool vs) :
    windowTitle(title),
    type(t),
    xPos(x),
    yPos(y),
    width(w),
    height(h),
    bpp(1),
    vsync(vs),
    dialogBoxMode(false)
{
}

/*
 * StringToType --
 *     Results: Windowed, AlwaysOnTop or ChildWindow for their names,
 *     Fullscreen for any other text. A null name is a programming error.
 */
nDisplayMode2::Type nDisplayMode2::StringToType(const char* str)
{
    n_assert(str);
    if (0 == strcmp(str, "windowed")) return Windowed;
    if (0 == strcmp(str, "alwaysontop")) return AlwaysOnTop;
    if (0 == strcmp(str, "childwindow")) return ChildWindow;
    return Fullscreen;
}

const char* nDisplayMode2::TypeToString(int t)
{
    switch (t)
    {
        case Windowed: return "windowed";
        case AlwaysOnTop: return "alwaysontop";
        case ChildWindow: return "childwindow";
        default: return "fullscreen";
    }
}
