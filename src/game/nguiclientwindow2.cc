//------------------------------------------------------------------------------
//  nguiclientwindow2.cc
//------------------------------------------------------------------------------
#include "game/nguiclientwindow2.h"
#include "gui/nguitextbutton.h"

nGuiClientWindow2::nGuiClientWindow2()
{
    this->SetMovable(false);
    this->SetResizable(false);
    this->SetCloseButton(false);
}

/*
 * OnShow --
 *     Side effects: the window is decorated and laid out as a client
 *     window; its title bar, when it has one, uses the font "wintitle".
 */
void nGuiClientWindow2::OnShow()
{
    nGuiClientWindow::OnShow();
    if (nGuiTextButton* title = this->GetTitleBarWidget()) title->SetFont("wintitle");
}
