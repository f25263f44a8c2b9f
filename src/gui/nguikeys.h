#ifndef N_GUIKEYS_H
#define N_GUIKEYS_H
//------------------------------------------------------------------------------
/**
    @file nguikeys.h
    @ingroup Gui

    The engine key codes the editing widgets react to.
*/
namespace nGuiKey
{
enum : int
{
    Back = 4,
    Tab = 5,
    Return = 6,
    Ctrl = 8,
    Escape = 12,
    End = 16,
    Home = 17,
    Left = 18,
    Up = 19,
    Right = 20,
    Down = 21,
    Insert = 26,
    Delete = 27,
};
}
#endif
