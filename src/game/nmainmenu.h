#ifndef N_MAINMENU_H
#define N_MAINMENU_H
//------------------------------------------------------------------------------
/**
    @class nMainMenu
    @ingroup Game

    The application state "main_menu": the first state of the game. The
    menus themselves are script content; this state only calls the Tcl
    procedures that show them. Coming back from a match ("game") shows the
    pre-start window, any other way in shows the main menu; leaving closes
    whichever window is open.
*/
#include "application/nappstate.h"

class nMainMenu : public nAppState
{
public:
    nMainMenu();

    /// system GUI, then the pre-start window (after a match) or the main menu
    void OnStateEnter(const nString& prevState) override;
    /// close the menu window
    void OnStateLeave(const nString& nextState) override;

protected:
    ~nMainMenu() override;
};
#endif
