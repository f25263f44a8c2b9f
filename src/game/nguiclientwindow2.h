#ifndef N_GUICLIENTWINDOW2_H
#define N_GUICLIENTWINDOW2_H
//------------------------------------------------------------------------------
/**
    @class nGuiClientWindow2
    @ingroup Game

    The game's dialog window: a client window the user can neither move,
    resize nor close, whose title is set in the font "wintitle".
*/
#include "gui/nguiclientwindow.h"

class nGuiClientWindow2 : public nGuiClientWindow
{
public:
    nGuiClientWindow2();
    /// the client window's OnShow, then the title's font
    void OnShow() override;

protected:
    ~nGuiClientWindow2() override = default;
};
#endif
