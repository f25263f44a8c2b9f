//------------------------------------------------------------------------------
//  nguibutton.cc
//------------------------------------------------------------------------------
#include "gui/nguibutton.h"
#include "gui/nguiserver.h"

nGuiButton::nGuiButton() : nGuiPressable(true)
{
}

nGuiButton::~nGuiButton()
{
}

/*
 * Render --
 *     Side effects (shown buttons): the disabled brush when disabled, else
 *     the pressed, highlight or default brush.
 */
void nGuiButton::Render()
{
    if (!this->shown) return;
    nGuiServer* gui = nGuiServer::InstanceOrNull();
    if (!gui) return;
    gui->DrawBrush(this->GetScreenSpaceRect(), this->IsEnabled() ? this->PressLook() : this->disabledBrush);
}
